#include "interchange/model_files.h"

#include <string>
#include <system_error>

#include "model/file_io.h"
#include "model/name_text.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

bool Usable(const fs::path& folder, const fs::path& file) {
  std::error_code ec;
  return fs::is_regular_file(file, ec) && IsInsideFolder(folder, file);
}

// The entry of `dir` whose name equals `name` without regard to case.
std::optional<fs::path> EntryWithoutCase(const fs::path& dir, const std::string& name) {
  const std::string lower = LowerCase(name);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(dir, ec))
    if (LowerCase(entry.path().filename().string()) == lower) return entry.path();
  return std::nullopt;
}

std::optional<fs::path> WalkWithoutCase(const fs::path& folder, const fs::path& relative) {
  fs::path at = folder;
  for (const fs::path& part : relative) {
    const std::string piece = part.string();
    if (piece.empty() || piece == ".") continue;
    if (piece == "..") {
      at = at.parent_path();
      continue;
    }
    const auto next = EntryWithoutCase(at, piece);
    if (!next) return std::nullopt;
    at = *next;
  }
  return at;
}

// A file called `name` (any case) below the folder, level by level, within bounds.
std::optional<fs::path> SearchBelow(const fs::path& folder, const std::string& name) {
  constexpr int kDepth = 6;
  constexpr int kEntries = 20000;
  int seen = 0;
  const std::string lower = LowerCase(name);
  std::vector<fs::path> level{folder};
  for (int depth = 0; depth <= kDepth && !level.empty(); ++depth) {
    std::vector<fs::path> next;
    for (const fs::path& dir : level) {
      std::error_code ec;
      for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (++seen > kEntries) return std::nullopt;
        std::error_code e;
        if (entry.is_symlink(e)) continue;  // links are not followed into other trees
        if (entry.is_directory(e))
          next.push_back(entry.path());
        else if (LowerCase(entry.path().filename().string()) == lower &&
                 Usable(folder, entry.path()))
          return entry.path();
      }
    }
    level = std::move(next);
  }
  return std::nullopt;
}

}  // namespace

std::optional<fs::path> FindModelFile(const fs::path& folder, std::string_view named) {
  std::string text(named);
  for (char& c : text)
    if (c == '\\') c = '/';
  if (text.rfind("file://", 0) == 0) text.erase(0, 7);
  while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
  if (text.empty()) return std::nullopt;
  const fs::path path(text);
  // A path into the folder as written, then without case.
  fs::path relative = path;
  if (path.is_absolute()) {
    std::error_code ec;
    const fs::path base = fs::weakly_canonical(folder, ec);
    const fs::path full = path.lexically_normal();
    relative = full.lexically_relative(base);
    if (relative.empty() || *relative.begin() == "..") relative.clear();
  }
  if (!relative.empty()) {
    const fs::path direct = folder / relative;
    if (Usable(folder, direct)) return direct;
    if (const auto found = WalkWithoutCase(folder, relative); found && Usable(folder, *found))
      return found;
  }
  const std::string name = path.filename().string();
  if (name.empty() || name == "." || name == "..") return std::nullopt;
  return SearchBelow(folder, name);
}

}  // namespace tamsel
