// What a command does to the files of the project folder: made all at once or not at all,
// never at the cost of a file the user already had, and taken back by undo.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "model/file_io.h"

namespace tamsel {

// The files a committed command changed. Each file's contents on the side of the step that
// is not on disk are held here, so undo and redo move the folder between the two states
// byte for byte: undo removes what the command added and puts back what it replaced or
// removed; redo makes the command's files again.
class FileEffects {
 public:
  // The files undo must not remove although the step added them (those the saved project
  // file names); asked once per undo, and only when there is a file to remove.
  using Keep = std::function<std::vector<std::filesystem::path>()>;
  // Throws FileError naming the file that could not be put back.
  void Undo(const Keep& keep = {});
  void Redo();
  // The bytes held in memory.
  std::size_t HeldBytes() const;

 private:
  friend class FileTransaction;
  struct File {
    std::filesystem::path path;
    // What the side not on disk holds there: nothing (no file), or these bytes.
    std::optional<Bytes> other;
  };
  void Swap(const Keep& keep);
  std::vector<File> files_;
};

// A command's writes into one folder. Files the command brings (bitmaps of an import) keep
// the user's files: a free name is taken where the wanted one holds different bytes.
class FileTransaction {
 public:
  explicit FileTransaction(std::filesystem::path folder);

  // A name that a free name must not take (a texture record whose file is missing).
  void Reserve(const std::string& name);

  // Brings `bytes` into the folder as `wanted`, or the name it has to take instead, which it
  // returns: an empty name is taken; a file holding the same bytes is used as it is; a
  // different file (or a link) keeps its name and the incoming file gets the first free
  // "STEM_2.EXT", "STEM_3.EXT" ... (unique regardless of case), which `Notes` tells, unless
  // one of those holds the same bytes already (an earlier import of the same file). A
  // folder or device of that name blocks the command: FileError naming it. With
  // `skipWhenTaken` a taken name is no reason for a new one: nothing is brought and "" is
  // returned (a file no record names).
  std::string Bring(const std::string& wanted, const Bytes& bytes, bool skipWhenTaken = false);

  // Writes a file the command owns (the project file), replacing what is there; undo puts
  // the previous file back.
  void Write(const std::filesystem::path& target, std::string_view contents);
  void WriteStreamed(const std::filesystem::path& target,
                     const std::function<void(const StagedWrites::Sink&)>& produce);
  // Removes a file when the command commits; undo puts it back.
  void Remove(const std::filesystem::path& target);

  // What the user should hear of: names changed, files skipped.
  const std::vector<std::string>& Notes() const { return notes_; }

  // Makes every change or none (FileError naming the file that stopped it). With
  // `recordForUndo` the replaced and removed files' bytes are kept in the result.
  FileEffects Commit(bool recordForUndo = true);
  // Drops what was staged: the folder stays as it was.
  void Discard();

 private:
  // `present`: the name holds these very bytes already.
  std::string FreeName(const std::string& wanted, const Bytes& bytes, bool& present);

  std::filesystem::path folder_;
  StagedWrites staged_;
  std::vector<std::filesystem::path> removals_;
  std::set<std::string> takenLower_;            // names brought, reserved or taken, lower case
  std::map<std::string, std::size_t> brought_;  // names brought, and hashes of their bytes
  std::vector<std::string> notes_;
};

}  // namespace tamsel
