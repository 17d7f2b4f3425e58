#include "cli/isolated.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>
#include <stdexcept>

#include "model/file_error.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {
// The child's exit status when it failed and said why.
constexpr int kToldFailure = 3;
}  // namespace

int RunIsolated(const std::function<int()>& work, const fs::path& file) {
  std::cout.flush();
  std::cerr.flush();
  const pid_t child = ::fork();
  if (child < 0)
    throw std::runtime_error(std::string("cannot start a process: ") + std::strerror(errno));
  if (child == 0) {
    int status = kToldFailure;
    try {
      status = work() == 0 ? 0 : kToldFailure;
    } catch (const std::bad_alloc&) {
      std::cerr << "tamsel-cli: " << file.string() << ": the file is too large for memory\n";
    } catch (const std::exception& e) {
      std::cerr << "tamsel-cli: " << e.what() << "\n";
    }
    std::cout.flush();
    std::cerr.flush();
    ::_exit(status);  // the parent owns what the process shares: no exit handlers here
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  // Any end but the two of our own is a failure the child could not tell of itself (a
  // crash, or a sanitizer stopping it).
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return 0;
  if (WIFEXITED(status) && WEXITSTATUS(status) == kToldFailure) return 1;
  const std::string how = WIFSIGNALED(status)
                              ? ::strsignal(WTERMSIG(status))
                              : "exit status " + std::to_string(WEXITSTATUS(status));
  throw std::runtime_error("the import library failed on " + file.string() + " (" + how +
                           "); nothing was imported");
}

}  // namespace tamsel
