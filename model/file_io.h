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

// A file a commit put in place: `previous` names where the file that stood there is
// kept (with KeepPrevious), empty when nothing stood there or it was not kept.
struct CommittedFile {
  std::filesystem::path target, previous;
};

// A file's text mapped read-only, for readers of large files: pages a reader has passed
// can be let go (`Release`), so that the file is never resident whole. Throws FileError as
// ReadFileText does.
class MappedText {
 public:
  explicit MappedText(const std::filesystem::path& path);
  ~MappedText();
  MappedText(const MappedText&) = delete;
  MappedText& operator=(const MappedText&) = delete;
  std::string_view text() const { return {data_, size_}; }
  // The text before `offset` is not needed again: its whole pages leave memory (they are
  // read from the file again should they be touched). A reader may pass over the text
  // again from its start, releasing behind it anew.
  void Release(std::size_t offset);

 private:
  const char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t released_ = 0;
};

// Files a command writes, staged under temporary names beside their targets and renamed
// into place together by Commit, so that a command that fails before its end leaves the
// folder as it was. A temporary file is named as TemporaryNameBeside says, created exclusively
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
  // through), all or none: a failure puts back every target it had replaced or removes
  // what it had added, and throws FileError naming the file. A folder or device at a
  // target refuses the commit before anything moves. Returns what each target held.
  std::vector<CommittedFile> Commit();
  bool empty() const { return staged_.empty(); }
  // The staged targets that something already has the name of: what Commit would replace.
  std::vector<std::filesystem::path> Replacing() const;
  // Removes every staged temporary: nothing of them is committed.
  void Discard();
  // Commit leaves the previous file of each replaced target under a hidden name (in
  // CommittedFile::previous) for the caller to keep or remove.
  void KeepPrevious() { keepPrevious_ = true; }

 private:
  struct Staged {
    std::filesystem::path temp, target;
  };
  std::vector<Staged> staged_;
  bool keepPrevious_ = false;
};

// One staged file committed at once: a failed write never destroys the previous file.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view contents);
void WriteFileAtomic(const std::filesystem::path& path, const Bytes& contents);

// A hidden name beside `file` for a temporary file or a set-aside copy of a command,
// ".NAME.tamsel-PID-XXXXXX": RemoveStaleTemporaries removes it once its process is gone.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& file);

// Whether a file name has the form of a temporary file of StagedWrites
// (".NAME.tamsel-PID-XXXXXX").
bool IsStagedTemporaryName(std::string_view name);
// Removes the temporary files that writes killed midway left in a folder (those of
// `ofFile` alone when given); a temporary whose writing process still runs is left to it.
// Returns how many were removed.
int RemoveStaleTemporaries(const std::filesystem::path& folder, std::string_view ofFile = {});

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
