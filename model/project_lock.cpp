#include "model/project_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <signal.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

#include "model/file_error.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

struct Held {
  int fd = -1;  // the folder's, locked
  int count = 0;
  fs::path file;            // the note naming the holder
  bool wroteNote = false;   // ours to remove when we let go
  pid_t owner = 0;          // a forked child inherits the registry, not the lock
};

std::mutex& Guard() {
  static std::mutex m;
  return m;
}

std::map<std::string, Held>& Registry() {
  static std::map<std::string, Held> held;
  return held;
}

// Who holds the lock, from the note the holder left: "tamsel-cli import-opt (process 1234)".
// A note of a process that has ended, or none, names no one in particular.
std::string HolderNamed(const fs::path& note) {
  char text[256] = {};
  const int fd = ::open(note.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  ssize_t n = 0;
  if (fd >= 0) {
    n = ::pread(fd, text, sizeof text - 1, 0);
    ::close(fd);
  }
  std::string holder = n > 0 ? std::string(text, static_cast<std::size_t>(n)) : "";
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0')) holder.pop_back();
  const std::size_t at = holder.rfind("(process ");
  if (at != std::string::npos) {
    const long pid = std::strtol(holder.c_str() + at + 9, nullptr, 10);
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) holder.clear();
  }
  return holder.empty() ? "another Tamsel process" : holder;
}

// Locks the folder itself: any user who may read the folder takes the same lock, whoever
// owns any file in it, so two writers are never both let in. The note beside it only names
// the holder for a refused writer's message; a note that cannot be written (another user's,
// left behind) takes nothing away from the lock.
int LockFolder(const fs::path& folder, const fs::path& note, const std::string& holder,
               bool& wroteNote) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    throw FileError(folder.string(), "",
                    std::string("cannot lock the project folder: ") + std::strerror(errno));
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK)
      throw FileError(folder.string(), "",
                      "the project is being changed by " + HolderNamed(note) +
                          "; try again when it has finished");
    throw FileError(folder.string(), "",
                    std::string("cannot lock the project folder: ") + std::strerror(error));
  }
  wroteNote = false;
  const int out = ::open(note.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (out >= 0) {
    const std::string text = holder + " (process " + std::to_string(::getpid()) + ")\n";
    wroteNote = ::write(out, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    ::close(out);
  }
  return fd;
}

}  // namespace

ProjectLock::ProjectLock(const fs::path& folder, const std::string& holder) {
  std::error_code ec;
  const fs::path canonical = fs::weakly_canonical(fs::absolute(folder), ec);
  key_ = (ec ? folder : canonical).string();
  std::lock_guard<std::mutex> lock(Guard());
  Held& held = Registry()[key_];
  if (held.owner != ::getpid()) held = Held{};
  if (held.count == 0) {
    held.owner = ::getpid();
    held.file = fs::path(key_) / kFileName;
    try {
      held.fd = LockFolder(key_, held.file, holder, held.wroteNote);
    } catch (...) {
      Registry().erase(key_);
      throw;
    }
  }
  ++held.count;
}

ProjectLock::~ProjectLock() {
  std::lock_guard<std::mutex> lock(Guard());
  auto it = Registry().find(key_);
  if (it == Registry().end() || --it->second.count > 0) return;
  // The note goes while the lock is still held, so that it never names a writer that is
  // gone to the next one.
  if (it->second.wroteNote) ::unlink(it->second.file.c_str());
  if (it->second.fd >= 0) ::close(it->second.fd);
  Registry().erase(it);
}

}  // namespace tamsel
