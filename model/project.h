// The project folder: the project file is named after the folder, the texture bitmaps
// stand beside it. Opening and merging read the whole file before anything changes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "model/file_io.h"
#include "model/model.h"

namespace tamsel {

// ProjectPath + "/" + last component + ".opz".
std::filesystem::path ProjectFilePath(const std::filesystem::path& projectPath);

// Empties the model and makes folder the project (the folder must exist).
void NewProject(Model& model, const std::filesystem::path& folder);

// Writes the project file atomically. Throws FileError.
void SaveProject(const Model& model);
// Stages the project file, written piece by piece, for the caller to commit with the
// other files of its command. Throws FileError.
void WriteProjectFile(StagedWrites& staged, const Model& model);

// Replaces the model with the project file's, makes its folder the project, recomputes
// the bounds and selects the first level of mesh 0. On error (FileError) the model is
// unchanged.
void OpenProject(Model& model, const std::filesystem::path& opzFile);

// Appends the project file's meshes and textures, after copying the bitmaps of its folder
// into the project folder (skipped when both folders are the same). The file is read
// completely before anything is copied or changed. Only regular files are copied, and
// none onto a link: what is skipped is said in `notes`. The copies are staged into
// `staging` when one is given, else written at once, together. Returns the number of
// textures the model held before, where the merged ones start.
std::size_t MergeProject(Model& model, const std::filesystem::path& opzFile,
                         StagedWrites* staging = nullptr,
                         std::vector<std::string>* notes = nullptr);

// The *.bmp files of a folder (any case of the extension), sorted by name.
std::vector<std::filesystem::path> BitmapFiles(const std::filesystem::path& folder);

// After a read: bounds (of the meshes from firstRead on, and the model), and the first level of
// mesh 0 selected (when there is a mesh).
void SettleAfterRead(Model& model, std::size_t firstRead = 0);

}  // namespace tamsel
