// Selection by picking, and the rows of the face, corner, hardpoint and engine-glow lists
// that mirror it. Flags live in the model; the lists are rebuilt from it.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "editing/list_rows.h"
#include "model/model.h"
#include "model/view_state.h"

namespace tamsel {

enum class PickKind { None, Mesh, Face, Corner };

// What a click picks at a geometry level: meshes, faces or corners.
PickKind LevelKind(Geometry level);

// An element of the current level, as a pick name resolves to it.
struct PickTarget {
  PickKind kind = PickKind::None;
  int mesh = -1, face = -1, corner = -1;
  friend bool operator==(const PickTarget&, const PickTarget&) = default;
};

// Applies a pick at the current level to the selection flags: without shift the level's
// selection is replaced, with shift added to. A face picked in a mesh that is not selected
// selects the mesh as well, and a corner its mesh and face; a target that names no element
// still clears the selection without shift. A None target (no hits) clears the level's
// selection whatever shift says. Returns the element that became selected (kind None when
// none did).
PickTarget ApplyPick(Model& model, int level, PickKind levelKind, const PickTarget& picked,
                     bool shift);

// Rows of the face list: one per face of every selected mesh that has the level.
std::vector<FaceRef> FaceRows(const Model& model, int level);
// Rows of the corner lists: one per corner of every selected face of those meshes.
std::vector<CornerRef> CornerRows(const Model& model, int level);
std::vector<ItemRef> HardpointRows(const Model& model, int level);
std::vector<ItemRef> EngineGlowRows(const Model& model, int level);

// The eight corner-list values of a corner: X, Y, Z, I, J, K, U, V.
std::array<float, 8> CornerValues(const VertexRec& v);

// The element a row names, when it exists in the model at this level.
const FaceRec* FaceAt(const Model& model, int level, FaceRef ref);
const VertexRec* CornerAt(const Model& model, int level, CornerRef ref);
// The same for writing: the mesh is made the model's own first (see CowVector::Edit).
FaceRec* EditFaceAt(Model& model, int level, FaceRef ref);
VertexRec* EditCornerAt(Model& model, int level, CornerRef ref);

}  // namespace tamsel
