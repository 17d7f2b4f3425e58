#include "cli/isolated.h"

#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

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

pid_t parentOfChild = 0;  // set in the child: the command that forked it

// Resident memory of a process in megabytes, 0 when it cannot be read.
std::int64_t ResidentMegabytes(pid_t pid) {
  std::ifstream statm("/proc/" + std::to_string(pid) + "/statm");
  std::int64_t size = 0, resident = 0;
  if (!(statm >> size >> resident)) return 0;
  return resident * ::sysconf(_SC_PAGESIZE) / (1024 * 1024);
}

std::int64_t HalfTheMachine() {
  const std::int64_t pages = ::sysconf(_SC_PHYS_PAGES), size = ::sysconf(_SC_PAGESIZE);
  return pages > 0 && size > 0 ? pages / 2 * size / (1024 * 1024) : 4096;
}

}  // namespace

bool IsolatedParentGone() {
  return parentOfChild != 0 && ::getppid() != parentOfChild;
}

int RunIsolated(const std::function<int()>& work, const fs::path& file,
                const IsolationLimits& limits) {
  std::cout.flush();
  std::cerr.flush();
  const pid_t parent = ::getpid();
  const pid_t child = ::fork();
  if (child < 0)
    throw std::runtime_error(std::string("cannot start a process: ") + std::strerror(errno));
  if (child == 0) {
    // Killed with the command, whatever ends it; a command gone before this line took
    // effect is seen by the parent's changed id.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    parentOfChild = parent;
    if (IsolatedParentGone()) ::_exit(kToldFailure);
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
  // Waits for the child, ending it at the limits: the library has no limits of its own, and
  // a few bytes of a bad file can make it run or grow for ever.
  const std::int64_t megabytes = limits.megabytes > 0 ? limits.megabytes : HalfTheMachine();
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  std::string ended;
  for (;;) {
    const pid_t done = ::waitpid(child, &status, WNOHANG);
    if (done == child) break;
    if (done < 0 && errno != EINTR) break;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds > limits.seconds) {
      char text[32];
      std::snprintf(text, sizeof text, "%g", limits.seconds);
      ended = "the import library did not finish " + file.string() + " within " + text + " s";
    } else if (ResidentMegabytes(child) > megabytes) {
      ended = file.string() + " needs more than " + std::to_string(megabytes) + " MB";
    }
    if (!ended.empty()) {
      ::kill(child, SIGKILL);
      while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      throw std::runtime_error(ended + "; nothing was imported");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(seconds < 1 ? 5 : 20));
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
