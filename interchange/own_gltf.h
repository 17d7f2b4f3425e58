// The glTF files Tamsel writes, and reading them back whole: their extras carry what glTF
// has no place for (quads, levels of detail, flight-group slots, hitzones, rotations,
// hardpoints, engine glows, transparency and illumination), so that a project survives
// the trip. Other glTF files go through the general import.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "interchange/model_export.h"
#include "interchange/model_import.h"
#include "opt/opt_writer.h"

namespace tamsel {

// Writes the model as .gltf (beside it a .bin and the PNG images) or .glb (one file). The
// high levels are scene 0, with the hardpoints and engine glows as empty nodes; the low
// levels are scene 1, "LOD1", one node "NAME LOD1" per mesh. Quads are split into two
// triangles for display; the corner counts in the extras join them again. All files are
// written together or none. Throws FileError (missing bitmaps are named together).
ExportReport WriteGltf(const Model& model, const BitmapLoader& bitmaps,
                       const std::filesystem::path& out, const ReplaceCheck& mayReplace = {});

// Reads a glTF file Tamsel wrote; nothing when the file is some other tool's.
std::optional<ModelImportResult> ReadOwnGltf(const std::filesystem::path& file,
                                             const ModelImportOptions& options, IdCounters& ids,
                                             const std::set<std::string>& takenNames);

// The glTF extensions a file says it uses ("extensionsUsed"), none when it cannot say.
std::vector<std::string> GltfExtensionsUsed(const std::filesystem::path& file);

}  // namespace tamsel
