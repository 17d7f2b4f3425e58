#include "model/file_io.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>

#include "model/file_error.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

// The whole file into a buffer of its size, read once: a text is not read as bytes first.
template <typename Buffer>
Buffer ReadWhole(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::is_directory(status)) throw FileError(path.string(), "", "is a folder, not a file");
  if (fs::exists(status) && !fs::is_regular_file(status))
    throw FileError(path.string(), "", "is not a regular file (a FIFO, socket or device)");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FileError(path.string(), "", "cannot open the file for reading");
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) throw FileError(path.string(), "", "cannot read the file");
  in.seekg(0);
  Buffer buffer;
  buffer.resize(static_cast<std::size_t>(size));
  if (size > 0 && !in.read(reinterpret_cast<char*>(buffer.data()), size))
    throw FileError(path.string(), "", "cannot read the file");
  return buffer;
}

}  // namespace

Bytes ReadFileBytes(const fs::path& path) {
  return ReadWhole<Bytes>(path);
}

std::string ReadFileText(const fs::path& path) {
  return ReadWhole<std::string>(path);
}

MappedText::MappedText(const fs::path& path) {
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (fs::is_directory(status)) throw FileError(path.string(), "", "is a folder, not a file");
  if (fs::exists(status) && !fs::is_regular_file(status))
    throw FileError(path.string(), "", "is not a regular file (a FIFO, socket or device)");
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw FileError(path.string(), "", "cannot open the file for reading");
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    throw FileError(path.string(), "", "cannot read the file");
  }
  size_ = static_cast<std::size_t>(st.st_size);
  if (size_ > 0) {
    void* p = ::mmap(nullptr, size_, PROT_READ, MAP_PRIVATE, fd, 0);
    if (p == MAP_FAILED) {
      ::close(fd);
      throw FileError(path.string(), "", "cannot read the file");
    }
    data_ = static_cast<const char*>(p);
    ::madvise(p, size_, MADV_SEQUENTIAL);
  }
  ::close(fd);
}

MappedText::~MappedText() {
  if (data_) ::munmap(const_cast<char*>(data_), size_);
}

void MappedText::Release(std::size_t offset) {
  static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  constexpr std::size_t kStep = std::size_t{8} << 20;  // each call is a system call
  const std::size_t end = std::min(offset, size_) / page * page;
  if (end + kStep < released_) released_ = 0;  // a new pass over the text from its start
  if (!data_ || end < released_ + kStep) return;
  ::madvise(const_cast<char*>(data_) + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

namespace {

constexpr std::string_view kStageMark = ".tamsel-";
constexpr std::size_t kStageSuffix = 6;
// A temporary's name carries at most this much of its file's name, so that it stays within
// the 255 bytes a name may have however long the file's own name is.
constexpr std::size_t kStageNamePart = 200;

std::string StagedNamePart(const std::string& fileName) {
  return fileName.substr(0, std::min(fileName.size(), kStageNamePart));
}

bool WriteAll(int fd, std::string_view contents) {
  while (!contents.empty()) {
    const ssize_t n = ::write(fd, contents.data(), contents.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    contents.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

StagedWrites::~StagedWrites() {
  Discard();
}

std::vector<fs::path> StagedWrites::Replacing() const {
  std::vector<fs::path> replacing;
  for (const Staged& s : staged_) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(s.target, ec))) replacing.push_back(s.target);
  }
  return replacing;
}

void StagedWrites::Discard() {
  for (const Staged& s : staged_) {
    std::error_code ignored;
    fs::remove(s.temp, ignored);
  }
  staged_.clear();
}

void StagedWrites::Write(const fs::path& target, std::string_view contents) {
  WriteStreamed(target, [contents](const Sink& sink) { sink(contents); });
}

fs::path TemporaryNameBeside(const fs::path& file) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  // The writer's process id in the name tells a later cleaner whether the writer lives.
  std::string name(".");
  name.append(StagedNamePart(file.filename().string())).append(kStageMark);
  name.append(std::to_string(::getpid())).append("-");
  for (std::size_t i = 0; i < kStageSuffix; ++i) name += kLetters[random() % 62];
  return file.parent_path() / name;
}

void StagedWrites::WriteStreamed(const fs::path& target,
                                 const std::function<void(const Sink&)>& produce) {
  fs::path temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = TemporaryNameBeside(target);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0)
    throw FileError(target.string(), "",
                    std::string("cannot create the file: ") + std::strerror(errno));
  bool written = true;
  int error = 0;
  try {
    produce([&](std::string_view piece) {
      if (written && !WriteAll(fd, piece)) written = false, error = errno;
    });
  } catch (...) {
    ::close(fd);
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw;
  }
  if (written && ::fsync(fd) != 0) written = false, error = errno;
  ::close(fd);
  if (!written) {
    std::error_code ignored;
    fs::remove(temp, ignored);
    throw FileError(target.string(), "",
                    std::string("cannot write the file: ") + std::strerror(error));
  }
  staged_.push_back({temp, target});
}

void StagedWrites::Write(const fs::path& target, const Bytes& contents) {
  Write(target, std::string_view(reinterpret_cast<const char*>(contents.data()), contents.size()));
}

std::vector<CommittedFile> StagedWrites::Commit() {
  // A folder or device at a target would refuse its rename halfway through: refuse the
  // whole commit before anything moves.
  for (const Staged& s : staged_) {
    std::error_code ec;
    const fs::file_status st = fs::symlink_status(s.target, ec);
    if (fs::exists(st) && !fs::is_regular_file(st) && !fs::is_symlink(st)) {
      const std::string target = s.target.string();
      Discard();
      throw FileError(target, "",
                      "is in the way: a folder or device has the name of a file to be written");
    }
    // A file that is replaced keeps its mode, and its group where the writer may set it: a
    // private project stays private. A read-only file is not replaced behind the user's back.
    struct stat old {};
    if (fs::is_regular_file(st) && ::stat(s.target.c_str(), &old) == 0) {
      if ((old.st_mode & 0222) == 0) {
        const std::string target = s.target.string();
        Discard();
        throw FileError(target, "", "is read-only: not replaced (make it writable to replace it)");
      }
      ::chmod(s.temp.c_str(), old.st_mode & 07777);
      if (::chown(s.temp.c_str(), static_cast<uid_t>(-1), old.st_gid) != 0) {
        // Not a group of this user's: the file takes the writer's group.
      }
    }
  }
  // Each file already at a target keeps a second name until every rename succeeded, so
  // that a failure puts every target back as it was.
  std::vector<CommittedFile> done;
  const auto rollBack = [&] {
    Discard();
    for (auto it = done.rbegin(); it != done.rend(); ++it) {
      std::error_code ignored;
      if (it->previous.empty())
        fs::remove(it->target, ignored);
      else
        fs::rename(it->previous, it->target, ignored);
    }
  };
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    const Staged s = staged_[i];  // a roll-back empties the list
    CommittedFile record{s.target, {}};
    std::error_code ec;
    if (fs::exists(fs::symlink_status(s.target, ec))) {
      record.previous = TemporaryNameBeside(s.target);
      if (::link(s.target.c_str(), record.previous.c_str()) != 0) {
        // No hard links here (or a link at the target): move the old file aside instead.
        fs::rename(s.target, record.previous, ec);
        if (ec) {
          rollBack();
          throw FileError(s.target.string(), "", "cannot replace the file: " + ec.message());
        }
      }
    }
    fs::rename(s.temp, s.target, ec);
    if (ec) {
      if (!record.previous.empty()) {
        std::error_code ignored;
        if (!fs::exists(fs::symlink_status(s.target, ignored)))
          fs::rename(record.previous, s.target, ignored);
        else
          fs::remove(record.previous, ignored);
      }
      rollBack();
      throw FileError(s.target.string(), "", "cannot write the file: " + ec.message());
    }
    done.push_back(record);
  }
  staged_.clear();
  std::vector<fs::path> folders;
  for (const CommittedFile& c : done)
    if (std::find(folders.begin(), folders.end(), c.target.parent_path()) == folders.end())
      folders.push_back(c.target.parent_path());
  for (const fs::path& folder : folders) SyncFolder(folder);
  if (!keepPrevious_)
    for (CommittedFile& c : done)
      if (!c.previous.empty()) {
        std::error_code ignored;
        fs::remove(c.previous, ignored);
        c.previous.clear();
      }
  return done;
}

void WriteFileAtomic(const fs::path& path, std::string_view contents) {
  StagedWrites staged;
  staged.Write(path, contents);
  staged.Commit();
}

void WriteFileAtomic(const fs::path& path, const Bytes& contents) {
  WriteFileAtomic(
      path, std::string_view(reinterpret_cast<const char*>(contents.data()), contents.size()));
}

namespace {

// The writer named in a temporary's name: 0 for names of the form without one.
pid_t WriterOf(std::string_view name) {
  const std::size_t mark = name.rfind(kStageMark);
  std::string_view rest = name.substr(mark + kStageMark.size());
  const std::size_t dash = rest.find('-');
  if (dash == std::string_view::npos) return 0;
  pid_t pid = 0;
  for (char c : rest.substr(0, dash)) pid = pid * 10 + (c - '0');
  return pid;
}

bool WriterIsAlive(pid_t pid) {
  return pid > 0 && (pid == ::getpid() || ::kill(pid, 0) == 0 || errno == EPERM);
}

}  // namespace

bool IsStagedTemporaryName(std::string_view name) {
  const std::size_t mark = name.rfind(kStageMark);
  if (name.size() < 2 || name.front() != '.' || mark == std::string_view::npos) return false;
  std::string_view rest = name.substr(mark + kStageMark.size());
  // ".NAME.tamsel-PID-XXXXXX", or ".NAME.tamsel-XXXXXX" as older writers named them.
  if (const std::size_t dash = rest.find('-'); dash != std::string_view::npos) {
    if (dash == 0 || dash > 10) return false;
    for (char c : rest.substr(0, dash))
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    rest.remove_prefix(dash + 1);
  }
  if (rest.size() != kStageSuffix) return false;
  for (char c : rest)
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

int RemoveStaleTemporaries(const fs::path& folder, std::string_view ofFile) {
  int removed = 0;
  std::error_code ec;
  std::string prefix;
  if (!ofFile.empty())
    prefix.append(".").append(StagedNamePart(std::string(ofFile))).append(kStageMark);
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::error_code e;
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file(e) && !entry.is_symlink(e) && IsStagedTemporaryName(name) &&
        name.rfind(prefix, 0) == 0 && !WriterIsAlive(WriterOf(name)) && fs::remove(entry.path(), e))
      ++removed;
  }
  return removed;
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 32 || c == 127 || c == '/' || c == '\\') return false;
  }
  return true;
}

std::string SanitizeNamePart(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    out += (std::isalnum(c) || c == '-' || c == '_' || c == '.') ? ch : '_';
  }
  if (out.find_first_not_of('.') == std::string::npos) out.insert(out.begin(), '_');
  return out;
}

bool IsInsideFolder(const fs::path& folder, const fs::path& file) {
  std::error_code ec;
  const fs::path base = fs::weakly_canonical(fs::absolute(folder, ec), ec);
  if (ec) return false;
  const fs::path full = fs::weakly_canonical(fs::absolute(file, ec), ec);
  if (ec) return false;
  const auto [end, _] = std::mismatch(base.begin(), base.end(), full.begin(), full.end());
  return end == base.end();
}

bool HasExtension(const fs::path& path, std::string_view extension) {
  const std::string ext = path.extension().string();
  if (ext.size() != extension.size()) return false;
  for (std::size_t i = 0; i < ext.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(ext[i])) !=
        std::tolower(static_cast<unsigned char>(extension[i])))
      return false;
  return true;
}

}  // namespace tamsel
