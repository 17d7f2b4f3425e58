// The texts of the face, hardpoint, engine-glow and corner list rows, and the references
// the window keeps beside the rows (it never reads a reference back from a row's text).
// Numbers in rows are 1-based; references are 0-based indices.
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

}  // namespace tamsel
