#include "model/project.h"

#include <algorithm>
#include <system_error>

#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/opz.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

fs::path Normalized(const fs::path& folder) {
  fs::path p = folder.lexically_normal();
  if (!p.empty() && p.filename().empty()) p = p.parent_path();  // "a/b/" -> "a/b"
  return p;
}

ProjectData ReadProjectFile(const fs::path& opzFile, IdCounters& ids) {
  return ReadOpzText(ReadFileText(opzFile), ids, opzFile.string());
}

}  // namespace

fs::path ProjectFilePath(const fs::path& projectPath) {
  const fs::path folder = Normalized(projectPath);
  return folder / (folder.filename().string() + ".opz");
}

void NewProject(Model& model, const fs::path& folder) {
  model.Clear();
  model.ProjectPath = Normalized(folder).string();
}

void SaveProject(const Model& model) {
  const fs::path file = ProjectFilePath(model.ProjectPath);
  WriteFileAtomic(file, WriteOpzText(model, file.string()));
}

void SettleAfterRead(Model& model, std::size_t firstRead) {
  CalculateBoundsFrom(model, firstRead);
  if (!model.Meshes.empty() && !model.Meshes[0].LODs.empty() && !model.Meshes[0].LODs[0].Selected)
    model.Meshes.Edit(0).LODs[0].Selected = kTrue;
}

void OpenProject(Model& model, const fs::path& opzFile) {
  IdCounters ids = model.Ids;
  ProjectData data = ReadProjectFile(opzFile, ids);
  model.Ids = ids;
  model.Clear();
  model.Meshes = std::move(data.meshes);
  model.Textures = std::move(data.textures);
  model.ProjectPath = Normalized(fs::absolute(opzFile).parent_path()).string();
  SettleAfterRead(model, 0);
}

std::vector<fs::path> BitmapFiles(const fs::path& folder) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.is_regular_file(ec) && HasExtension(entry.path(), ".bmp"))
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::size_t MergeProject(Model& model, const fs::path& opzFile) {
  IdCounters ids = model.Ids;
  ProjectData data = ReadProjectFile(opzFile, ids);

  const fs::path source = fs::absolute(opzFile).parent_path();
  std::error_code ec;
  if (!fs::equivalent(source, model.ProjectPath, ec)) {
    for (const fs::path& bitmap : BitmapFiles(source)) {
      const fs::path target = fs::path(model.ProjectPath) / bitmap.filename();
      fs::copy_file(bitmap, target, fs::copy_options::overwrite_existing, ec);
      if (ec) throw FileError(target.string(), "", "cannot copy the bitmap: " + ec.message());
    }
  }
  const std::size_t firstMesh = model.Meshes.size();
  const std::size_t firstTexture =
      AppendRead(model, std::move(data.meshes), std::move(data.textures), ids);
  SettleAfterRead(model, firstMesh);
  return firstTexture;
}

}  // namespace tamsel
