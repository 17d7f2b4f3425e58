// The project folder: the project file is named after the folder, the texture bitmaps
// stand beside it. Opening and merging read the whole file before anything changes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/model.h"
#include "model/opz.h"

namespace tamsel {

// ProjectPath + "/" + last component + ".opz".
std::filesystem::path ProjectFilePath(const std::filesystem::path& projectPath);

// Empties the model and makes folder the project (the folder must exist).
void NewProject(Model& model, const std::filesystem::path& folder);

// Writes the project file atomically. Throws FileError.
void SaveProject(const Model& model);
// Stages the project file, written piece by piece, for the caller to commit with the
// other files of its command. Throws FileError.
void WriteProjectFile(FileTransaction& staged, const Model& model);

// Replaces the model with the project file's, makes its folder the project, recomputes
// the bounds and selects the first level of mesh 0. On error (FileError) the model is
// unchanged.
void OpenProject(Model& model, const std::filesystem::path& opzFile);
// The same for a command that only reads (a render, a thumbnail, a check, an export): the
// folder is left exactly as it is, dead writers' temporaries included.
void LookAtProject(Model& model, const std::filesystem::path& opzFile);

// The records of a project file, read from the file mapped and let go behind the reader
// (or taken from a read ahead of it, see read_ahead.h).
ProjectData ReadProjectFile(const std::filesystem::path& opzFile, IdCounters& ids);
// The same, always from the file: what a read ahead itself does.
ProjectData ReadProjectFileNow(const std::filesystem::path& opzFile, IdCounters& ids);
// The same, mesh by mesh, keeping none (see ReadOpzMeshes); returns the texture records.
std::vector<TextureRec> ScanProjectFile(const std::filesystem::path& opzFile,
                                        const std::function<void(MeshRec&&)>& mesh);

// Appends the project file's meshes and textures, bringing the bitmaps of its folder into
// the project folder (skipped when both folders are the same) through `files` (see
// CommitRead): a bitmap whose name holds a different file comes in under a free name, and
// one that no record names is then skipped. The file is read completely before anything is
// copied or changed. Links are not copied. What was skipped or renamed is said in `notes`.
// Without `files` the bitmaps are written at once, together. Returns the number of
// textures the model held before, where the merged ones start.
std::size_t MergeProject(Model& model, const std::filesystem::path& opzFile,
                         FileTransaction* files = nullptr,
                         std::vector<std::string>* notes = nullptr);

// The *.bmp files of a folder (any case of the extension), sorted by name; when asked, also
// links and whatever else is not a folder (FIFOs, devices), for a caller that tells of each
// one it leaves out.
std::vector<std::filesystem::path> BitmapFiles(const std::filesystem::path& folder,
                                               bool withLinks = false);

// The files that belong to the project in `folder`: its project file and the bitmaps it
// names that stand in the folder as regular files. A project file that cannot be read
// owns only itself. Empty when there is no project file.
std::vector<std::filesystem::path> ProjectOwnFiles(const std::filesystem::path& folder);

// After a read: bounds (of the meshes from firstRead on, and the model), and the first level of
// mesh 0 selected (when there is a mesh).
void SettleAfterRead(Model& model, std::size_t firstRead = 0);

}  // namespace tamsel
