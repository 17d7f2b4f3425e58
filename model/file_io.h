// Whole-file reads and atomic writes, and the rule for names that become file names.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tamsel {

using Bytes = std::vector<std::uint8_t>;

// Throws FileError naming the file when it cannot be read, is a folder, or is no regular
// file (a FIFO would block the read for ever).
Bytes ReadFileBytes(const std::filesystem::path& path);
std::string ReadFileText(const std::filesystem::path& path);

// Files a command writes, staged under temporary names beside their targets and renamed
// into place together by Commit, so that a command that fails before its end leaves the
// folder as it was. A temporary file is named ".NAME.tamsel-XXXXXX", created exclusively
// and synced to disk before its rename; the folder is synced after it, so that a power cut
// leaves either the old file or the new one. What is not committed is removed.
class StagedWrites {
 public:
  StagedWrites() = default;
  StagedWrites(const StagedWrites&) = delete;
  StagedWrites& operator=(const StagedWrites&) = delete;
  ~StagedWrites();

  // Throws FileError naming the target.
  void Write(const std::filesystem::path& target, std::string_view contents);
  void Write(const std::filesystem::path& target, const Bytes& contents);
  // Writes what `produce` hands its sink, piece by piece, so that a large file never
  // lies whole in memory. An exception from produce removes the temporary and passes on.
  using Sink = std::function<void(std::string_view)>;
  void WriteStreamed(const std::filesystem::path& target,
                     const std::function<void(const Sink&)>& produce);
  // Renames every staged file into place (a link at a target is replaced, never written
  // through). Throws FileError.
  void Commit();
  bool empty() const { return staged_.empty(); }

 private:
  struct Staged {
    std::filesystem::path temp, target;
  };
  std::vector<Staged> staged_;
};

// One staged file committed at once: a failed write never destroys the previous file.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view contents);
void WriteFileAtomic(const std::filesystem::path& path, const Bytes& contents);

// Whether a file name has the form of a temporary file of StagedWrites.
bool IsStagedTemporaryName(std::string_view name);
// Removes the temporary files a write killed midway left in a folder; returns how many.
int RemoveStaleTemporaries(const std::filesystem::path& folder);

// True when name is a plain file name that stays inside its folder: not empty, no path
// separator, not "." or "..", no control character.
bool IsSafeFileName(std::string_view name);

// Makes text from a file usable inside a file name: characters other than letters,
// digits, '-', '_' and '.' become '_', and a name made only of dots gets a leading '_'.
// Ordinary names ("TEX00012") come back unchanged.
std::string SanitizeNamePart(std::string_view text);

// Whether `file` (relative to the current folder when relative) lies in `folder` or below
// it once links and ".." are resolved.
bool IsInsideFolder(const std::filesystem::path& folder, const std::filesystem::path& file);

// Case-insensitive match of a file's extension (".bmp" matches ".BMP").
bool HasExtension(const std::filesystem::path& path, std::string_view extension);

}  // namespace tamsel
