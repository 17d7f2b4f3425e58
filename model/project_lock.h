// One writer per project folder at a time, among processes: the window for as long as it
// has the project open, each command-line command for as long as it writes.
#pragma once

#include <filesystem>
#include <string>

namespace tamsel {

class ProjectLock {
 public:
  // Takes the folder's lock for `holder` (what the user would call the process: "tamsel",
  // "tamsel-cli import-opt"). Throws FileError naming the folder and the process that holds
  // it when another process does. Within one process the lock is shared.
  ProjectLock(const std::filesystem::path& folder, const std::string& holder);
  ~ProjectLock();
  ProjectLock(const ProjectLock&) = delete;
  ProjectLock& operator=(const ProjectLock&) = delete;

  // The note inside the folder that names the holder; it exists while a lock is held (the
  // lock itself is on the folder).
  static constexpr const char* kFileName = ".tamsel-lock";

 private:
  std::string key_;
};

}  // namespace tamsel
