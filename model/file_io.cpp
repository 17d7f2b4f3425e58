#include "model/file_io.h"

#include <fcntl.h>
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

namespace {

constexpr std::string_view kStageMark = ".tamsel-";
constexpr std::size_t kStageSuffix = 6;

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
  for (const Staged& s : staged_) {
    std::error_code ignored;
    fs::remove(s.temp, ignored);
  }
}

void StagedWrites::Write(const fs::path& target, std::string_view contents) {
  WriteStreamed(target, [contents](const Sink& sink) { sink(contents); });
}

void StagedWrites::WriteStreamed(const fs::path& target,
                                 const std::function<void(const Sink&)>& produce) {
  static std::mt19937_64 random{std::random_device{}()};
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  fs::path temp;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    std::string name(".");
    name.append(target.filename().string()).append(kStageMark);
    for (std::size_t i = 0; i < kStageSuffix; ++i) name += kLetters[random() % 62];
    temp = target.parent_path() / name;
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

void StagedWrites::Commit() {
  std::vector<fs::path> folders;
  while (!staged_.empty()) {
    const Staged s = staged_.front();
    std::error_code ec;
    fs::rename(s.temp, s.target, ec);
    if (ec) throw FileError(s.target.string(), "", "cannot replace the file: " + ec.message());
    staged_.erase(staged_.begin());
    if (std::find(folders.begin(), folders.end(), s.target.parent_path()) == folders.end())
      folders.push_back(s.target.parent_path());
  }
  for (const fs::path& folder : folders) SyncFolder(folder);
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

bool IsStagedTemporaryName(std::string_view name) {
  const std::size_t mark = name.rfind(kStageMark);
  if (name.size() < 2 || name.front() != '.' || mark == std::string_view::npos ||
      mark + kStageMark.size() + kStageSuffix != name.size())
    return false;
  for (char c : name.substr(mark + kStageMark.size()))
    if (!std::isalnum(static_cast<unsigned char>(c))) return false;
  return true;
}

int RemoveStaleTemporaries(const fs::path& folder) {
  int removed = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    std::error_code e;
    if (entry.is_regular_file(e) && !entry.is_symlink(e) &&
        IsStagedTemporaryName(entry.path().filename().string()) && fs::remove(entry.path(), e))
      ++removed;
  }
  return removed;
}

bool IsSafeFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (unsigned char c : name)
    if (c < 32 || c == 127 || c == '/' || c == '\\') return false;
  return true;
}

std::string SanitizeNamePart(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (unsigned char c : text)
    out += (std::isalnum(c) || c == '-' || c == '_' || c == '.') ? static_cast<char>(c) : '_';
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
