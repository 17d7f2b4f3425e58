#include "model/file_transaction.h"

#include <algorithm>
#include <functional>
#include <system_error>

#include "model/file_error.h"
#include "model/name_text.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

void PutBack(const std::vector<std::pair<fs::path, fs::path>>& asides) {
  for (const auto& [file, aside] : asides) {
    std::error_code ignored;
    fs::rename(aside, file, ignored);
  }
}

}  // namespace

void FileEffects::Swap(const Keep& keep) {
  // Everything is read before anything changes, and the writes are committed together.
  std::vector<std::optional<Bytes>> current;
  current.reserve(files_.size());
  for (const File& f : files_) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(f.path, ec)))
      current.emplace_back(ReadFileBytes(f.path));
    else
      current.emplace_back();
  }
  StagedWrites writes;
  for (const File& f : files_)
    if (f.other) writes.Write(f.path, *f.other);
  writes.Commit();
  std::optional<std::vector<fs::path>> kept;
  for (const File& f : files_) {
    if (f.other) continue;
    if (!kept) kept = keep ? keep() : std::vector<fs::path>{};
    if (std::find(kept->begin(), kept->end(), f.path) != kept->end()) continue;
    std::error_code ignored;
    fs::remove(f.path, ignored);
  }
  for (std::size_t i = 0; i < files_.size(); ++i) files_[i].other = std::move(current[i]);
}

void FileEffects::Undo(const Keep& keep) {
  Swap(keep);
}

void FileEffects::Redo() {
  Swap({});
}

std::size_t FileEffects::HeldBytes() const {
  std::size_t n = 0;
  for (const File& f : files_) n += f.other ? f.other->size() : 0;
  return n;
}

FileTransaction::FileTransaction(fs::path folder) : folder_(std::move(folder)) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder_, ec))
    takenLower_.insert(LowerCase(entry.path().filename().string()));
}

void FileTransaction::Reserve(const std::string& name) {
  takenLower_.insert(LowerCase(name));
}

namespace {

bool HoldsBytes(const fs::path& file, const Bytes& bytes) {
  std::error_code ec;
  return fs::is_regular_file(fs::symlink_status(file, ec)) &&
         fs::file_size(file, ec) == bytes.size() && ReadFileBytes(file) == bytes;
}

}  // namespace

std::string FileTransaction::FreeName(const std::string& wanted, const Bytes& bytes,
                                      bool& present) {
  // A free name, unless an earlier import of the same file left it under one already.
  const std::size_t dot = wanted.rfind('.');
  const std::string stem = dot == std::string::npos ? wanted : wanted.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : wanted.substr(dot);
  for (int n = 2;; ++n) {
    const std::string name = stem + "_" + std::to_string(n) + extension;
    if (!takenLower_.count(LowerCase(name))) {
      present = false;
      return name;
    }
    if (HoldsBytes(folder_ / name, bytes)) {
      present = true;
      return name;
    }
  }
}

std::string FileTransaction::Bring(const std::string& wanted, const Bytes& bytes,
                                   bool skipWhenTaken) {
  const fs::path target = folder_ / wanted;
  bool taken = false;
  bool known = false;
  const std::size_t hash = std::hash<std::string_view>{}(
      std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  if (auto earlier = brought_.find(wanted); earlier != brought_.end()) {
    if (earlier->second == hash) return wanted;
    taken = known = true;
  }
  if (!known) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (fs::is_regular_file(status)) {
      if (HoldsBytes(target, bytes)) return wanted;
      taken = true;
    } else if (fs::is_symlink(status)) {
      taken = true;  // never written through, never replaced
    } else if (fs::exists(status)) {
      throw FileError(target.string(), "",
                      "is in the way: a folder or device has the name of a file to be brought "
                      "in; nothing was changed");
    }
  }
  std::string name = wanted;
  if (taken) {
    if (skipWhenTaken) {
      notes_.push_back("skipped " + wanted + ": another file of that name is in " +
                       folder_.string() + " and stays as it is");
      return "";
    }
    bool present = false;
    name = FreeName(wanted, bytes, present);
    if (present) return name;
    notes_.push_back(wanted + ": another file of that name is in " + folder_.string() +
                     " and stays as it is; the imported file is " + name);
  }
  takenLower_.insert(LowerCase(name));
  staged_.Write(folder_ / name, bytes);
  brought_.emplace(name, hash);
  return name;
}

void FileTransaction::Write(const fs::path& target, std::string_view contents) {
  staged_.Write(target, contents);
}

void FileTransaction::WriteStreamed(const fs::path& target,
                                    const std::function<void(const StagedWrites::Sink&)>& produce) {
  staged_.WriteStreamed(target, produce);
}

void FileTransaction::Remove(const fs::path& target) {
  removals_.push_back(target);
}

void FileTransaction::Discard() {
  staged_.Discard();
  removals_.clear();
  brought_.clear();
}

FileEffects FileTransaction::Commit(bool recordForUndo) {
  std::vector<std::pair<fs::path, fs::path>> asides;
  for (const fs::path& file : removals_) {
    const fs::path aside = TemporaryNameBeside(file);
    std::error_code ec;
    fs::rename(file, aside, ec);
    if (ec) {
      FileError error(file.string(), "", "cannot remove the file: " + ec.message());
      PutBack(asides);
      Discard();
      throw error;
    }
    asides.emplace_back(file, aside);
  }
  if (recordForUndo) staged_.KeepPrevious();
  std::vector<CommittedFile> done;
  try {
    done = staged_.Commit();
  } catch (...) {
    PutBack(asides);
    Discard();
    throw;
  }
  removals_.clear();
  brought_.clear();
  FileEffects effects;
  const auto keep = [&](const fs::path& path, const fs::path& previous) {
    FileEffects::File f{path, std::nullopt};
    if (!recordForUndo) {
      std::error_code ignored;
      if (!previous.empty()) fs::remove(previous, ignored);
      return;
    }
    if (!previous.empty()) {
      try {
        f.other = ReadFileBytes(previous);
      } catch (const FileError&) {
        return;  // the previous file stays where it is rather than be lost
      }
      std::error_code ignored;
      fs::remove(previous, ignored);
    }
    effects.files_.push_back(std::move(f));
  };
  for (const CommittedFile& c : done) keep(c.target, c.previous);
  for (const auto& [file, aside] : asides) keep(file, aside);
  return effects;
}

}  // namespace tamsel
