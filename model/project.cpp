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

void WriteProjectFile(StagedWrites& staged, const Model& model) {
  const fs::path file = ProjectFilePath(model.ProjectPath);
  staged.WriteStreamed(
      file, [&](const StagedWrites::Sink& sink) { WriteOpz(model, file.string(), sink); });
}

void SaveProject(const Model& model) {
  const fs::path file = ProjectFilePath(model.ProjectPath);
  StagedWrites staged;
  WriteProjectFile(staged, model);
  staged.Commit();
  RemoveStaleTemporaries(model.ProjectPath);
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
  RemoveStaleTemporaries(model.ProjectPath);
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

std::size_t MergeProject(Model& model, const fs::path& opzFile, StagedWrites* staging,
                         std::vector<std::string>* notes) {
  IdCounters ids = model.Ids;
  ProjectData data = ReadProjectFile(opzFile, ids);

  const fs::path source = fs::absolute(opzFile).parent_path();
  std::error_code ec;
  StagedWrites local;
  StagedWrites& out = staging ? *staging : local;
  const auto skip = [&](const fs::path& path, const char* why) {
    if (notes) notes->push_back("skipped " + path.string() + ": " + why);
  };
  if (!fs::equivalent(source, model.ProjectPath, ec)) {
    for (const auto& entry : fs::directory_iterator(source, ec)) {
      const fs::path bitmap = entry.path();
      if (!HasExtension(bitmap, ".bmp")) continue;
      const fs::path target = fs::path(model.ProjectPath) / bitmap.filename();
      // A link would pull a file from elsewhere into the project, or put a bitmap there.
      if (!fs::is_regular_file(fs::symlink_status(bitmap, ec))) {
        skip(bitmap, "not a regular file (a link, folder or device)");
      } else if (const auto status = fs::symlink_status(target, ec);
                 fs::exists(status) && !fs::is_regular_file(status)) {
        skip(target, "not a regular file (a link or folder); not replaced");
      } else {
        out.Write(target, ReadFileBytes(bitmap));
      }
    }
  }
  if (!staging) local.Commit();
  const std::size_t firstMesh = model.Meshes.size();
  const std::size_t firstTexture =
      AppendRead(model, std::move(data.meshes), std::move(data.textures), ids);
  SettleAfterRead(model, firstMesh);
  return firstTexture;
}

}  // namespace tamsel
