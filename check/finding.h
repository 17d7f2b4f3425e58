// One finding of the craft check: how bad, which element, what and why, and the fix that
// repairs it where one is sound.
#pragma once

#include <string>
#include <vector>

namespace tamsel {

enum class Severity { Error, Warning, Note };

// The element a finding is about. Indices count from 0; -1 where they do not apply.
// `faces` lists the faces of `level` of `mesh` the finding is about, when it is about
// faces (many faces share one finding rather than making one each).
struct Element {
  enum class Kind { Craft, Mesh, Level, Faces, Texture, Hardpoint, EngineGlow };
  Kind kind = Kind::Craft;
  int mesh = -1;
  int level = -1;
  std::vector<int> faces;
  int texture = -1;
  int item = -1;  // the hardpoint or engine glow within its mesh
  friend bool operator==(const Element&, const Element&) = default;
};

enum class FixKind {
  None,
  NormalsAndVectors,     // calculate face normals and software vectors
  VertexNormals,         // calculate vertex normals
  Bounds,                // recompute the face and level boxes
  ResampleTexture,       // to the nearest power of two within the limit
  RemoveUnusedTextures,  // the records no face names; their bitmaps stay in the folder
  SortDistances,         // level distances in rising order
  SplitMesh,             // into meshes under the vertex limit
  HitzoneBox,            // the hitzone box set to the mesh's own box
  GenerateLowLevel,      // a low level made from the high one
  PackTextures,          // textures packed into shared atlases
};

struct Finding {
  Severity severity = Severity::Note;
  std::string code;  // a stable identifier, such as "mesh-vertices"
  Element element;
  std::string text;  // one sentence: what and why
  FixKind fix = FixKind::None;
};

std::string_view SeverityName(Severity severity);  // "error", "warning", "note"
std::string_view FixName(FixKind fix);             // the fix's button text; "" for None

}  // namespace tamsel
