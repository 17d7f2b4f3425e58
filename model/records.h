// The model's records. Field names and order follow the project file and the OPT format;
// a vector's size is the record count.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "model/shared_vector.h"
#include "model/texture_name.h"

namespace tamsel {

// Flags are 16-bit values: 0 false, -1 true.
using Boolean = std::int16_t;
inline constexpr Boolean kTrue = -1;
inline constexpr Boolean kFalse = 0;

struct Single3 {
  float x = 0, y = 0, z = 0;
  friend bool operator==(const Single3&, const Single3&) = default;
  // Equal bit for bit: -0 is not 0, and a NaN is the same as itself.
  friend bool SameBits(const Single3& a, const Single3& b) {
    return std::bit_cast<std::uint32_t>(a.x) == std::bit_cast<std::uint32_t>(b.x) &&
           std::bit_cast<std::uint32_t>(a.y) == std::bit_cast<std::uint32_t>(b.y) &&
           std::bit_cast<std::uint32_t>(a.z) == std::bit_cast<std::uint32_t>(b.z);
  }
};

struct RGBA {
  std::uint8_t R = 0, G = 0, B = 0, A = 0;
  friend bool operator==(const RGBA&, const RGBA&) = default;
};

using RGB = std::array<std::uint8_t, 3>;

struct VertexRec {
  std::int32_t Id = 0;
  Boolean Selected = kFalse;
  float X = 0, Y = 0, Z = 0;
  float U = 0, V = 0;
  float I = 0, J = 0, K = 0;
  friend bool operator==(const VertexRec&, const VertexRec&) = default;
};

inline constexpr int kTextureSlots = 5;  // slots 0..3 are the flight-group colours; 4 is unused
inline constexpr const char* kBlank = "BLANK";

struct FaceRec {
  std::int32_t Id = 0;
  Boolean Selected = kFalse;
  Single3 BoxMin, BoxMax, BoxCenter;
  Single3 Normal;
  Single3 Vector1, Vector2;
  std::array<VertexRec, 4> Vertices{};  // corners 0..3
  std::array<TextureName, kTextureSlots> TextureNames;

  // A triangle is stored with corner 3 at exactly corner 0's position.
  bool IsTriangle() const {
    return Vertices[3].X == Vertices[0].X && Vertices[3].Y == Vertices[0].Y &&
           Vertices[3].Z == Vertices[0].Z;
  }
  int CornerCount() const { return IsTriangle() ? 3 : 4; }
  friend bool operator==(const FaceRec&, const FaceRec&) = default;
};

struct LODRec {
  std::int32_t Id = 0;
  Boolean Selected = kFalse;
  Single3 BoxMin, BoxMax, BoxCenter;
  float Distance = 0;
  SharedVector<FaceRec> Faces;  // shared with copies of the level until written
  std::int32_t FaceCount() const { return static_cast<std::int32_t>(Faces.size()); }
  friend bool operator==(const LODRec&, const LODRec&) = default;
};

struct HardpointRec {
  std::int32_t HardpointType = 0;
  Single3 Position;
  friend bool operator==(const HardpointRec&, const HardpointRec&) = default;
};

struct EngineGlowRec {
  RGBA InnerColor, OuterColor;
  Single3 Position;
  Single3 Size;                          // width, height, length
  Single3 Density1, Density2, Density3;  // A, B, C each
  friend bool operator==(const EngineGlowRec&, const EngineGlowRec&) = default;
};

struct MeshRec {
  // The display name shown in the mesh list and stored in the project file.
  std::string Name;
  std::int32_t MeshType = 0;
  std::int32_t ExplosionType = 0;
  Single3 Span, Center, Min, Max;
  std::int32_t TargetId = 0;
  Single3 Target;
  Single3 Pivot, Axis, Aim, Degree;
  std::vector<HardpointRec> Hardpoints;
  std::vector<EngineGlowRec> EngineGlows;
  std::vector<LODRec> LODs;  // 0 high, 1 low; one or two levels

  std::int32_t HardpointCount() const { return static_cast<std::int32_t>(Hardpoints.size()); }
  std::int32_t EngineGlowCount() const { return static_cast<std::int32_t>(EngineGlows.size()); }
  std::int32_t LODCount() const { return static_cast<std::int32_t>(LODs.size()); }
  bool HasLevel(int level) const { return level >= 0 && level < LODCount(); }
  friend bool operator==(const MeshRec&, const MeshRec&) = default;
};

struct TextureRec {
  std::string Name;  // bitmap file name in the project folder, extension included
  std::uint8_t TransOpacity = 255;
  std::uint8_t TransTolerance = 0;
  std::vector<RGB> TransColors;
  std::uint8_t IllumBrightness = 8;
  std::uint8_t IllumTolerance = 0;
  std::vector<RGB> IllumColors;

  std::int32_t TransColorCount() const { return static_cast<std::int32_t>(TransColors.size()); }
  std::int32_t IllumColorCount() const { return static_cast<std::int32_t>(IllumColors.size()); }
  friend bool operator==(const TextureRec&, const TextureRec&) = default;
};

}  // namespace tamsel
