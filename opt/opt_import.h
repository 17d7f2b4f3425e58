// Importing an OPT file: its meshes, levels, faces, normals, descriptors, rotations,
// hardpoints and engine glows join the model; its textures become bitmaps in the project
// folder and texture records.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "model/file_io.h"
#include "model/import_commit.h"
#include "model/model.h"
#include "opt/bitmap.h"

namespace tamsel {

struct OptImportResult {
  std::vector<MeshRec> meshes;
  std::vector<TextureRec> textures;
  // Bitmap file names (in the project folder) and their contents, in the order read.
  std::vector<std::pair<std::string, Bitmap>> bitmaps;
};

// Reads the whole file into new records without touching a model: meshes are named
// "MESH n" numbered after existingMeshes, and take ids from ids, which only advances when
// the read succeeds. Throws FileError naming the file, the byte offset and what was wrong.
// The bytes are taken, not copied, when the caller hands over its own (a file just read).
OptImportResult ReadOptImport(Bytes bytes, const std::string& filePath, IdCounters& ids,
                              int existingMeshes);

// The import command: reads the file, brings its bitmaps into the project folder through
// `files` (see CommitRead), then appends to the model and recomputes the bounds. On a read
// error the model and the folder are unchanged. Without `files` the bitmaps are written at
// once, together. Returns the index of the first new texture record.
std::size_t ImportOpt(Model& model, const std::filesystem::path& optFile,
                      FileTransaction* files = nullptr);

// The bitmaps of an import as files to bring, in their order.
std::vector<IncomingFile> EncodedBitmaps(
    const std::vector<std::pair<std::string, Bitmap>>& bitmaps);

// The file's title as bitmap names use it: its name without the ".opt" extension.
std::string OptTitle(const std::filesystem::path& optFile);

}  // namespace tamsel
