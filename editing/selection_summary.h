// What the status bar says is selected: "2 meshes, 36 faces selected of 2 505".
#pragma once

#include <string>

#include "model/model.h"
#include "model/view_state.h"

namespace tamsel {

struct SelectionCounts {
  long long meshes = 0;      // meshes selected at the level
  long long faces = 0;       // at the mesh level, the faces of those meshes; else faces selected
  long long corners = 0;     // corners selected (the vertex level only)
  long long totalFaces = 0;  // every face at the level
};

SelectionCounts CountSelection(const Model& model, const ViewState& view);

// Counts grouped by thousands with a space ("2 505").
std::string GroupThousands(long long n);

// "Nothing selected of 2 505 faces", "1 mesh, 120 faces selected of 2 505",
// "2 meshes, 3 faces, 5 corners selected of 2 505".
std::string SelectionText(const SelectionCounts& counts, const ViewState& view);

// "High level · Mesh · Wireframe"
std::string ModeText(const ViewState& view);

}  // namespace tamsel
