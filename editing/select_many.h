// Selecting many elements at once: all, none, the inverse, or those a test picks out (the
// viewport's rectangle). The elements are those a click could pick at the level: meshes
// that have it, faces of selected meshes, corners of selected faces. Flags only: the
// caller announces the change; nothing here is an undo step.
#pragma once

#include <functional>
#include <vector>

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

void SelectAll(Model& model, int level, PickKind kind);
void SelectNone(Model& model, int level, PickKind kind);
void InvertSelection(Model& model, int level, PickKind kind);

// Only mesh `mesh` selected at the level, and of its faces only `faces` (indices at the
// level); every other mesh and face unselected. Indices that do not exist are skipped.
void SelectOnly(Model& model, int level, int mesh, const std::vector<int>& faces);

}  // namespace tamsel
