#include "model/project_save_as.h"

#include <set>
#include <system_error>

#include "model/file_error.h"
#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/project.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

// Each bitmap once, by the name the records give it.
std::vector<std::string> BitmapNames(const Model& model) {
  std::set<std::string> seen;
  std::vector<std::string> names;
  for (const TextureRec& t : model.Textures)
    if (seen.insert(t.Name).second) names.push_back(t.Name);
  return names;
}

}  // namespace

fs::path SaveAsFolder(const fs::path& chosen) {
  fs::path path = fs::absolute(chosen).lexically_normal();
  if (!path.has_filename()) path = path.parent_path();
  const bool isProjectFile = HasExtension(path, ".opz");
  const std::string stem = (isProjectFile ? path.stem() : path.filename()).string();
  const fs::path parent = path.parent_path();
  if (isProjectFile && parent.filename() == stem) return parent;
  return parent / stem;
}

SaveAsPlan PlanSaveAs(const Model& model, const fs::path& folder) {
  SaveAsPlan plan;
  plan.folder = fs::absolute(folder).lexically_normal();
  const fs::path from = model.ProjectPath;
  std::error_code ec;
  const auto check = [&](const fs::path& target, const Bytes* bytes) {
    const fs::file_status status = fs::symlink_status(target, ec);
    if (!fs::exists(status)) return;
    if (!fs::is_regular_file(status))
      throw FileError(target.string(), "",
                      "is in the way: a folder, link or device has the name of a file to be "
                      "saved; nothing was written");
    if (!bytes || ReadFileBytes(target) != *bytes) plan.replaced.push_back(target);
  };
  check(ProjectFilePath(plan.folder), nullptr);
  for (const std::string& name : BitmapNames(model)) {
    const fs::path source = from / name;
    if (!fs::is_regular_file(source, ec)) {
      plan.missing.push_back(name);
      continue;
    }
    const Bytes bytes = ReadFileBytes(source);
    check(plan.folder / name, &bytes);
  }
  return plan;
}

void SaveProjectAs(Model& model, const fs::path& folder) {
  const fs::path target = fs::absolute(folder).lexically_normal();
  std::error_code ec;
  const bool made = !fs::exists(target, ec);
  if (made && !fs::create_directories(target, ec))
    throw FileError(target.string(), "", "cannot make the folder: " + ec.message());
  const std::string before = model.ProjectPath;
  try {
    FileTransaction files(target);
    for (const std::string& name : BitmapNames(model)) {
      const fs::path source = fs::path(before) / name;
      if (fs::is_regular_file(source, ec)) {
        const Bytes bytes = ReadFileBytes(source);
        files.Write(target / name,
                    std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
      }
    }
    model.ProjectPath = target.string();
    WriteProjectFile(files, model);
    files.Commit(false);
  } catch (...) {
    model.ProjectPath = before;
    if (made) fs::remove(target, ec);  // only when empty: nothing of the user's goes
    throw;
  }
}

}  // namespace tamsel
