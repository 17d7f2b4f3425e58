// Importing 3D models of other formats (glTF 2.0, OBJ, 3DS, FBX, Collada, PLY, STL and the
// others the Open Asset Import Library reads): each mesh of the file becomes a mesh at the
// high level, with its texture coordinates, normals and its material's image as a bitmap.
// The reader builds everything aside, like the OPT and DXF readers: a file that cannot be
// read changes nothing.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "interchange/axes.h"
#include "interchange/texture_image.h"
#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/model.h"

namespace tamsel {

struct ModelImportOptions {
  // The file's up axis; none: as the file declares it (FBX), Y where it declares nothing.
  std::optional<UpAxis> up;
  double scale = 1;  // after the file's own unit (FBX centimetres, Collada's unit element)
  TextureOptions texture;
  // A folder whose file names bitmaps must not take either (the project a separate import
  // process will be merged into).
  std::filesystem::path avoidNamesIn;
  // Meshes the file gives no normals get vertex normals smoothed by this angle (degrees),
  // so that their hard edges stay hard; none: the plain mean of the faces at a position.
  std::optional<double> smoothAngle;
};

struct ModelImportResult {
  std::vector<MeshRec> meshes;
  std::vector<TextureRec> textures;
  std::vector<std::pair<std::string, Bitmap>> bitmaps;  // file names in the project folder
  std::vector<std::string> warnings;                    // every lossy step, for the user
};

// Reads a model file. Files it names (MTL, images) are read only from the file's own folder
// and below. Bitmap names are made unique against `takenNames` (compared without case).
// Throws FileError naming the file and what was wrong.
ModelImportResult ReadModelFile(const std::filesystem::path& file,
                                const ModelImportOptions& options, IdCounters& ids,
                                const std::set<std::string>& takenNames);

// The same over bytes in memory (`extension` tells the format, e.g. "obj"); files the model
// names are not read. For the fuzz target.
ModelImportResult ReadModelBytes(const Bytes& bytes, const std::string& extension,
                                 const ModelImportOptions& options, IdCounters& ids);

// The import command: reads the file, brings its bitmaps into the project folder (through
// `files` when given, else at once; see CommitRead), appends meshes and textures and recomputes the
// bounds. Returns the index of the first new texture; warnings are added to `warnings`.
std::size_t ImportModel(Model& model, const std::filesystem::path& file,
                        const ModelImportOptions& options, FileTransaction* files = nullptr,
                        std::vector<std::string>* warnings = nullptr);

}  // namespace tamsel
