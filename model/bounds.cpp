#include "model/bounds.h"

#include <algorithm>

namespace tamsel {
namespace {

// A running box that starts empty; the first value sets both ends.
struct Box {
  bool empty = true;
  Single3 min, max;

  void Add(float& lo, float& hi, float v, bool first) {
    if (first || v < lo) lo = v;
    if (first || v > hi) hi = v;
  }
  void Add(float x, float y, float z) {
    Add(min.x, max.x, x, empty);
    Add(min.y, max.y, y, empty);
    Add(min.z, max.z, z, empty);
    empty = false;
  }
  void Add(const Box& other) {
    if (other.empty) return;
    Add(other.min.x, other.min.y, other.min.z);
    Add(other.max.x, other.max.y, other.max.z);
  }
  Single3 Center() const {
    return {(max.x - min.x) / 2.0f + min.x, (max.y - min.y) / 2.0f + min.y,
            (max.z - min.z) / 2.0f + min.z};
  }
  void StoreInto(Single3& boxMin, Single3& boxMax, Single3& boxCenter) const {
    if (empty) {
      boxMin = boxMax = boxCenter = Single3{};
      return;
    }
    boxMin = min;
    boxMax = max;
    boxCenter = Center();
  }
};

}  // namespace

namespace {

Box FaceBox(const FaceRec& face) {
  Box box;
  const int corners = face.CornerCount();
  for (int k = 0; k < corners; ++k) {
    const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
    box.Add(v.X, v.Y, v.Z);
  }
  return box;
}

// Whether the face's stored box is the one its corners give, bit for bit.
bool BoxIsCurrent(const FaceRec& face) {
  Single3 min, max, centre;
  FaceBox(face).StoreInto(min, max, centre);
  return SameBits(min, face.BoxMin) && SameBits(max, face.BoxMax) &&
         SameBits(centre, face.BoxCenter);
}

}  // namespace

void CalculateLevelBounds(LODRec& level) {
  // The faces are written only when a box is out of date: a level whose corners did not
  // move stays shared with the copies that hold it (the undo history's above all).
  const LODRec& read = level;
  const bool current = std::all_of(read.Faces.begin(), read.Faces.end(), BoxIsCurrent);
  Box levelBox;
  if (current) {
    for (const FaceRec& face : read.Faces) levelBox.Add(FaceBox(face));
  } else {
    for (FaceRec& face : level.Faces) {
      const Box faceBox = FaceBox(face);
      faceBox.StoreInto(face.BoxMin, face.BoxMax, face.BoxCenter);
      levelBox.Add(faceBox);
    }
  }
  levelBox.StoreInto(level.BoxMin, level.BoxMax, level.BoxCenter);
}

void CalculateMeshBounds(MeshRec& mesh) {
  for (LODRec& level : mesh.LODs) CalculateLevelBounds(level);
}

bool CalculateModelBox(Model& model) {
  // From the corners, not the stored boxes: those of meshes no edit touched since their
  // read may be stale, and reading them costs no copy of a mesh the history shares.
  Box modelBox;
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& level : mesh.LODs)
      for (const FaceRec& face : level.Faces) {
        const int corners = face.CornerCount();
        for (int k = 0; k < corners; ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          modelBox.Add(v.X, v.Y, v.Z);
        }
      }
  modelBox.StoreInto(model.ModelMin, model.ModelMax, model.ModelCenter);
  model.ModelSpan = {model.ModelMax.x - model.ModelMin.x, model.ModelMax.y - model.ModelMin.y,
                     model.ModelMax.z - model.ModelMin.z};
  return !modelBox.empty;
}

namespace {

bool UpdateViewExtent(Model& model, bool hasFaces) {
  if (!hasFaces) return false;
  // Ties keep the earlier axis.
  float largest = model.ModelSpan.x;
  if (model.ModelSpan.y > largest) largest = model.ModelSpan.y;
  if (model.ModelSpan.z > largest) largest = model.ModelSpan.z;
  const double extent = largest > 0 ? static_cast<double>(largest) : kPointExtent;
  model.NormalLength = extent / 16.0;
  model.ViewExtent = extent;
  return true;
}

}  // namespace

bool CalculateBounds(Model& model) {
  for (MeshRec& mesh : model.Meshes.EditAll()) CalculateMeshBounds(mesh);
  return UpdateViewExtent(model, CalculateModelBox(model));
}

bool CalculateBounds(Model& model, const std::vector<int>& meshes) {
  for (int m : meshes) CalculateMeshBounds(model.Meshes.Edit(static_cast<std::size_t>(m)));
  return UpdateViewExtent(model, CalculateModelBox(model));
}

bool CalculateBoundsFrom(Model& model, std::size_t first) {
  std::vector<int> meshes;
  for (std::size_t m = first; m < model.Meshes.size(); ++m) meshes.push_back(static_cast<int>(m));
  return CalculateBounds(model, meshes);
}

}  // namespace tamsel
