// Exporting the craft to the formats of the general modelling tools: glTF 2.0 (.gltf with
// its .bin and PNG images, or one .glb) and OBJ with its MTL and PNG images (the high
// levels only). Axes and windings as in axes.h.
#pragma once

#include <filesystem>
#include <functional>
#include <vector>

#include "model/file_io.h"
#include "model/model.h"
#include "opt/opt_writer.h"

namespace tamsel {

// What an export wrote: every file, and those of them that replaced a file of that name.
struct ExportReport {
  std::vector<std::filesystem::path> written, replaced;
  bool declined = false;  // the caller would not let files be replaced: nothing was written
};
// Asked, before anything is written, whether these existing files may be replaced.
using ReplaceCheck = std::function<bool(const std::vector<std::filesystem::path>&)>;

// By the extension of `out`: .gltf, .glb or .obj. All files are written together or none.
// Throws FileError.
ExportReport ExportModel(const Model& model, const BitmapLoader& bitmaps,
                         const std::filesystem::path& out, const ReplaceCheck& mayReplace = {});

// OBJ + MTL + PNG images. Object names are one word in OBJ: blanks in mesh names become '_'.
ExportReport WriteObj(const Model& model, const BitmapLoader& bitmaps,
                      const std::filesystem::path& out, const ReplaceCheck& mayReplace = {});

// Commits an export's staged files, asking `mayReplace` first about those that exist.
ExportReport CommitExport(StagedWrites& staged, const ReplaceCheck& mayReplace);

}  // namespace tamsel
