// Selecting many elements at once: all, none, the inverse, those a test picks out (the
// viewport's rectangle), or the rows chosen in a list. The elements are those a click could
// pick at the level: meshes that have it, faces of selected meshes, corners of selected
// faces. Flags only, each written only where it changes, so that a mesh whose flags stay
// is not copied: nothing here is an undo step. Each returns the change for the caller to
// announce (Document::Changed).
#pragma once

#include <functional>
#include <vector>

#include "editing/model_change.h"
#include "editing/selection.h"

namespace tamsel {

enum class SelectOp { Replace, Add, Remove };

// An element and the point that stands for it: a mesh's level centre, a face's centre, a
// corner's position.
struct Candidate {
  PickTarget target;
  Single3 at;
};
std::vector<Candidate> Candidates(const Model& model, int level, PickKind kind);

// Replace: the elements `inside` holds for become selected and the others not; Add: they
// become selected; Remove: they become unselected. Returns how many `inside` held for.
int SelectWhere(Model& model, int level, PickKind kind, SelectOp op,
                const std::function<bool(const Single3&)>& inside);

ModelChange SelectAll(Model& model, int level, PickKind kind);
ModelChange SelectNone(Model& model, int level, PickKind kind);
ModelChange InvertSelection(Model& model, int level, PickKind kind);

// Only mesh `mesh` selected at the level, and of its faces only `faces` (indices at the
// level); every other mesh and face unselected. Indices that do not exist are skipped.
ModelChange SelectOnly(Model& model, int level, int mesh, const std::vector<int>& faces);

// The rows of a list as chosen: mesh m selected at the level as `selected[m]` says; the
// faces or corners of `rows` as `selected` says, row by row. Rows past either list's end,
// and meshes without the level, are left as they are.
ModelChange SelectMeshRows(Model& model, int level, const std::vector<bool>& selected);
ModelChange SelectFaceRows(Model& model, int level, const std::vector<FaceRef>& rows,
                           const std::vector<bool>& selected);
ModelChange SelectCornerRows(Model& model, int level, const std::vector<CornerRef>& rows,
                             const std::vector<bool>& selected);
// The face's mesh selected at the level, and of the faces the face list shows (those of the
// selected meshes) only `face`; other meshes keep their flags.
ModelChange SelectFaceAlone(Model& model, int level, FaceRef face);

}  // namespace tamsel
