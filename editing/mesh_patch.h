// A mesh kept by the undo history as what differs from its neighbour: the mesh of the state
// one step nearer the document's model. An UPDATE moves every corner of a mesh but leaves
// its ids, texture names, flags and most bytes of each number as they were, so the faces'
// bytes XORed with the neighbour's are mostly zeros, and their runs cost almost nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "model/records.h"

namespace tamsel {

struct MeshPatch {
  MeshRec shell;                    // the mesh with its levels' faces left out
  std::vector<std::uint8_t> delta;  // the faces' bytes XOR the neighbour's, zero runs packed
  std::size_t Bytes() const;
};

// The patch that makes `mesh` from `base`; nothing when their levels hold different numbers
// of faces, or when the patch would not be smaller than the mesh.
std::optional<MeshPatch> MakeMeshPatch(const MeshRec& mesh, const MeshRec& base);

// The mesh the patch was made from, bit for bit, given the same `base`.
MeshRec ApplyMeshPatch(const MeshPatch& patch, const MeshRec& base);

}  // namespace tamsel
