// The texts of the face, hardpoint, engine-glow and corner list rows, and their parsing.
// Numbers in rows are 1-based; parsed results are 0-based indices. A row that does not
// parse yields nothing, so no handler ever indexes the model with a malformed row.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tamsel {

struct FaceRef {
  int mesh = 0, face = 0;
  friend bool operator==(const FaceRef&, const FaceRef&) = default;
};
struct CornerRef {
  int mesh = 0, face = 0, corner = 0;
  friend bool operator==(const CornerRef&, const CornerRef&) = default;
};
struct ItemRef {  // a hardpoint or an engine glow of a mesh
  int mesh = 0, item = 0;
  friend bool operator==(const ItemRef&, const ItemRef&) = default;
};

std::string FaceRow(int mesh, int face);                             // "M:3 F:12"
std::string HardpointRow(int mesh, int hardpoint);                   // "M:3 HP:1"
std::string EngineGlowRow(int mesh, int glow);                       // "M:3 EG:1"
std::string CornerRow(int mesh, int face, int corner, float value);  // "(M:3 F:12 V:1)  0.5"

std::optional<FaceRef> ParseFaceRow(std::string_view row);
std::optional<ItemRef> ParseHardpointRow(std::string_view row);
std::optional<ItemRef> ParseEngineGlowRow(std::string_view row);
std::optional<CornerRef> ParseCornerRow(std::string_view row);

// "TEX00000": the row of texture record t in the transparency and illumination lists.
std::string TextureRow(int t);

}  // namespace tamsel
