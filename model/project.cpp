#include "model/project.h"

#include <algorithm>
#include <set>
#include <system_error>

#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/import_commit.h"
#include "model/opz.h"
#include "model/read_ahead.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

fs::path Normalized(const fs::path& folder) {
  fs::path p = folder.lexically_normal();
  if (!p.empty() && p.filename().empty()) p = p.parent_path();  // "a/b/" -> "a/b"
  return p;
}

}  // namespace

// Mapped and let go behind the reader: a project file is never resident whole beside the
// records read from it.
ProjectData ReadProjectFileNow(const fs::path& opzFile, IdCounters& ids) {
  MappedText file(opzFile);
  return ReadOpzText(file.text(), ids, opzFile.string(),
                     [&file](std::size_t offset) { file.Release(offset); });
}

ProjectData ReadProjectFile(const fs::path& opzFile, IdCounters& ids) {
  if (std::optional<ProjectData> read = TakeReadAhead(opzFile, ids)) return std::move(*read);
  return ReadProjectFileNow(opzFile, ids);
}

std::vector<TextureRec> ScanProjectFile(const fs::path& opzFile,
                                        const std::function<void(MeshRec&&)>& mesh) {
  MappedText file(opzFile);
  return ReadOpzMeshes(file.text(), opzFile.string(), mesh,
                       [&file](std::size_t offset) { file.Release(offset); });
}

fs::path ProjectFilePath(const fs::path& projectPath) {
  const fs::path folder = Normalized(projectPath);
  // A project reached through a link under another name is still the folder's own: its file
  // is named after the folder's real name, never a second one after the link's.
  std::error_code ec;
  fs::path name = folder.filename();
  if (fs::is_symlink(folder, ec) || (!folder.empty() && fs::exists(folder, ec))) {
    const fs::path real = fs::canonical(fs::absolute(folder, ec), ec);
    if (!ec && !real.filename().empty()) name = real.filename();
  }
  return folder / (name.string() + ".opz");
}

void NewProject(Model& model, const fs::path& folder) {
  model.Clear();
  model.ProjectPath = Normalized(folder).string();
}

void WriteProjectFile(FileTransaction& staged, const Model& model) {
  const fs::path file = ProjectFilePath(model.ProjectPath);
  staged.WriteStreamed(
      file, [&](const StagedWrites::Sink& sink) { WriteOpz(model, file.string(), sink); });
}

void SaveProject(const Model& model) {
  FileTransaction staged(model.ProjectPath);
  WriteProjectFile(staged, model);
  staged.Commit(false);
  RemoveStaleTemporaries(model.ProjectPath);
}

void SettleAfterRead(Model& model, std::size_t firstRead) {
  CalculateBoundsFrom(model, firstRead);
  if (!model.Meshes.empty() && !model.Meshes[0].LODs.empty() && !model.Meshes[0].LODs[0].Selected)
    model.Meshes.Edit(0).LODs[0].Selected = kTrue;
}

void OpenProject(Model& model, const fs::path& opzFile) {
  LookAtProject(model, opzFile);
  RemoveStaleTemporaries(model.ProjectPath);
}

void LookAtProject(Model& model, const fs::path& opzFile) {
  IdCounters ids = model.Ids;
  ProjectData data = ReadProjectFile(opzFile, ids);
  model.Ids = ids;
  model.Clear();
  model.Meshes = std::move(data.meshes);
  model.Textures = std::move(data.textures);
  model.ProjectPath = Normalized(fs::absolute(opzFile).parent_path()).string();
  SettleAfterRead(model, 0);
}

std::vector<fs::path> BitmapFiles(const fs::path& folder, bool withLinks) {
  std::vector<fs::path> files;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    // withLinks: links and anything else that is not a folder (a FIFO, a device) as well, so
    // that a caller can tell of each one it leaves out.
    if ((entry.is_regular_file(ec) || (withLinks && !entry.is_directory(ec))) &&
        HasExtension(entry.path(), ".bmp"))
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

std::size_t MergeProject(Model& model, const fs::path& opzFile, FileTransaction* files,
                         std::vector<std::string>* notes) {
  IdCounters ids = model.Ids;
  ProjectData data = ReadProjectFile(opzFile, ids);

  const fs::path source = fs::absolute(opzFile).parent_path();
  std::error_code ec;
  std::vector<IncomingFile> incoming;
  const auto skip = [&](const fs::path& path, const char* why) {
    if (notes) notes->push_back("skipped " + path.string() + ": " + why);
  };
  if (!fs::equivalent(source, model.ProjectPath, ec)) {
    const std::set<std::string> named = NamedBitmaps(data.meshes, data.textures);
    for (const fs::path& bitmap : BitmapFiles(source, true)) {
      // A link would pull a file from elsewhere into the project.
      if (!fs::is_regular_file(fs::symlink_status(bitmap, ec))) {
        skip(bitmap, "not a regular file (a link, folder or device)");
        continue;
      }
      const std::string name = bitmap.filename().string();
      incoming.push_back({name, ReadFileBytes(bitmap), named.count(name) == 0});
    }
  }
  return WithFiles(model.ProjectPath, files, [&](FileTransaction& tx) {
    const std::size_t first = CommitRead(model, tx, std::move(incoming), std::move(data.meshes),
                                         std::move(data.textures), ids);
    // A caller's transaction tells its own notes.
    if (notes && !files) notes->insert(notes->end(), tx.Notes().begin(), tx.Notes().end());
    SettleAfterRead(model, model.Meshes.size());  // the new meshes' bounds are made
    return first;
  });
}

std::vector<fs::path> ProjectOwnFiles(const fs::path& folder) {
  const fs::path opz = ProjectFilePath(folder);
  std::error_code ec;
  if (!fs::is_regular_file(fs::symlink_status(opz, ec))) return {};
  std::vector<fs::path> own{opz};
  std::set<std::string> names;
  try {
    IdCounters ids;
    const ProjectData data = ReadProjectFile(opz, ids);
    names = NamedBitmaps(data.meshes, data.textures);
  } catch (const FileError&) {
    return own;
  }
  for (const std::string& name : names)
    if (IsSafeFileName(name) && fs::is_regular_file(fs::symlink_status(folder / name, ec)))
      own.push_back(folder / name);
  return own;
}

}  // namespace tamsel
