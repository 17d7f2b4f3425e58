// Importing the 3D faces of a DXF drawing: one mesh per layer (in order of first
// appearance) with a single high level, one face per 3DFACE entity, textured with the
// project's default texture "default.bmp".
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/model.h"

namespace tamsel {

inline constexpr const char* kDefaultTexture = "default.bmp";

// The meshes of a drawing's 3DFACE entities, whatever the order of their group codes and
// whatever other codes and entities stand among them. Ids come from ids, which only
// advances when the read succeeds. Throws FileError naming the file and the line.
std::vector<MeshRec> ReadDxfFaces(std::string_view text, const std::string& fileName,
                                  IdCounters& ids);

// The "import .DXF" command: reads the drawing, then makes sure the project has its
// default texture (copied from startFolder/default.bmp, or a plain grey bitmap made in the
// project folder when there is none), appends the meshes and recomputes the bounds. On an
// error the model and the folder are unchanged. Returns the index of the first new texture
// record (the texture count when none was added).
std::size_t ImportDxf(Model& model, const std::filesystem::path& dxfFile,
                      FileTransaction* files = nullptr);

}  // namespace tamsel
