#include "model/project_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

#include "model/file_error.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

struct Held {
  int fd = -1;
  int count = 0;
  fs::path file;
  pid_t owner = 0;  // a forked child inherits the registry, not the lock
};

std::mutex& Guard() {
  static std::mutex m;
  return m;
}

std::map<std::string, Held>& Registry() {
  static std::map<std::string, Held> held;
  return held;
}

std::string HolderOf(int fd) {
  char text[256] = {};
  const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
  std::string holder = n > 0 ? std::string(text, static_cast<std::size_t>(n)) : "";
  while (!holder.empty() && (holder.back() == '\n' || holder.back() == '\0')) holder.pop_back();
  return holder.empty() ? "another Tamsel process" : holder;
}

// Locks the file at `file`, and makes sure the lock is on the file that the name still
// names: a holder removes the file when it lets go, and a lock on the removed one is none.
int LockFile(const fs::path& file, const fs::path& folder, const std::string& holder) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    // A folder this process may not write into cannot be written by it either: a project
    // there opens to be looked at, and a write to it fails with its own message.
    if (fd < 0 && (errno == EACCES || errno == EROFS)) return -1;
    if (fd < 0)
      throw FileError(folder.string(), "",
                      std::string("cannot lock the project folder: ") + std::strerror(errno));
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const std::string other = HolderOf(fd);
      ::close(fd);
      throw FileError(
          folder.string(), "",
          "the project is being changed by " + other + "; try again when it has finished");
    }
    struct stat opened {
    }, named{};
    if (::fstat(fd, &opened) == 0 && ::stat(file.c_str(), &named) == 0 &&
        opened.st_ino == named.st_ino && opened.st_dev == named.st_dev) {
      const std::string text = holder + " (process " + std::to_string(::getpid()) + ")\n";
      if (::ftruncate(fd, 0) == 0 && ::pwrite(fd, text.data(), text.size(), 0) < 0) {
        // The holder's name is a courtesy for the message of a refused writer.
      }
      return fd;
    }
    ::close(fd);
  }
  throw FileError(folder.string(), "", "cannot lock the project folder");
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
      held.fd = LockFile(held.file, key_, holder);
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
  // Removed while still held, so that no one locks the old file after we let go.
  if (it->second.fd >= 0) {
    ::unlink(it->second.file.c_str());
    ::close(it->second.fd);
  }
  Registry().erase(it);
}

}  // namespace tamsel
