#include "model/read_ahead.h"

#include <sys/stat.h>

#include <future>
#include <mutex>

#include "model/file_error.h"
#include "model/project.h"

namespace tamsel {
namespace fs = std::filesystem;
namespace {

// What tells one state of a file from another: a new file (a save renames one into place),
// a write or a touch each change it.
struct FileState {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  timespec modified{}, changed{};
  bool operator==(const FileState& o) const {
    return device == o.device && inode == o.inode && size == o.size &&
           modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
           changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
  }
};

std::optional<FileState> StateOf(const fs::path& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) return std::nullopt;
  return FileState{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

bool SameCounters(const IdCounters& a, const IdCounters& b) {
  return a.NextMeshId == b.NextMeshId && a.NextFaceId == b.NextFaceId &&
         a.NextVertexId == b.NextVertexId;
}

struct Read {
  ProjectData data;
  IdCounters after;
  bool unchanged = false;  // the file stood as it began throughout the read
};

struct Ahead {
  FileState began;
  IdCounters before;
  std::future<Read> result;
};

std::mutex mutex;
std::optional<Ahead> ahead;

}  // namespace

void ReadProjectAhead(const fs::path& opzFile, const IdCounters& ids) {
  const std::optional<FileState> began = StateOf(opzFile);
  std::lock_guard lock(mutex);
  ahead.reset();
  if (!began) return;
  ahead = Ahead{*began, ids, std::async(std::launch::async, [opzFile, ids, began = *began] {
                  Read read;
                  read.after = ids;
                  try {
                    read.data = ReadProjectFileNow(opzFile, read.after);
                  } catch (const FileError&) {
                    return Read{};  // the read in its place says what is wrong
                  }
                  read.unchanged = StateOf(opzFile) == began;
                  return read;
                })};
}

std::optional<ProjectData> TakeReadAhead(const fs::path& opzFile, IdCounters& ids) {
  std::optional<Ahead> taken;
  {
    // A read of another file leaves it for the read it was made for, and does not wait.
    std::lock_guard lock(mutex);
    if (!ahead || StateOf(opzFile) != ahead->began || !SameCounters(ahead->before, ids))
      return std::nullopt;
    taken = std::move(ahead);
    ahead.reset();
  }
  Read read = taken->result.get();
  if (!read.unchanged || StateOf(opzFile) != taken->began) return std::nullopt;
  ids = read.after;
  return std::move(read.data);
}

void DropReadAhead() {
  std::optional<Ahead> dropped;
  std::lock_guard lock(mutex);
  dropped = std::move(ahead);
  ahead.reset();
}

}  // namespace tamsel
