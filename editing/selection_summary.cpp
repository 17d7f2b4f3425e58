#include "editing/selection_summary.h"

namespace tamsel {

SelectionCounts CountSelection(const Model& model, const ViewState& view) {
  SelectionCounts c;
  const int level = view.LevelIndex();
  const bool meshLevel = view.GeometryLevel == Geometry::Mesh;
  const bool vertexLevel = view.GeometryLevel == Geometry::Vertex;
  for (const MeshRec& mesh : model.Meshes) {
    if (!mesh.HasLevel(level)) continue;
    const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
    c.totalFaces += lod.FaceCount();
    if (!lod.Selected) continue;
    ++c.meshes;
    if (meshLevel) {
      c.faces += lod.FaceCount();
      continue;
    }
    for (const FaceRec& face : lod.Faces) {
      if (!face.Selected) continue;
      ++c.faces;
      if (!vertexLevel) continue;
      for (int k = 0; k < face.CornerCount(); ++k)
        c.corners += face.Vertices[static_cast<std::size_t>(k)].Selected ? 1 : 0;
    }
  }
  return c;
}

std::string GroupThousands(long long n) {
  // Built forwards rather than by inserting: GCC 12 warns falsely about insert's copy.
  const std::string digits = std::to_string(n < 0 ? -n : n);
  std::string grouped = n < 0 ? "-" : "";
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ' ';
    grouped += digits[i];
  }
  return grouped;
}

namespace {

std::string Count(long long n, const char* one, const char* many) {
  return GroupThousands(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string SelectionText(const SelectionCounts& c, const ViewState& view) {
  if (c.meshes == 0) return "Nothing selected of " + Count(c.totalFaces, "face", "faces");
  std::string text = Count(c.meshes, "mesh", "meshes") + ", " + Count(c.faces, "face", "faces");
  if (view.GeometryLevel == Geometry::Vertex) text += ", " + Count(c.corners, "corner", "corners");
  return text + " selected of " + GroupThousands(c.totalFaces);
}

std::string ModeText(const ViewState& view) {
  const std::string level = view.LevelIndex() == 0 ? "High level" : "Low level";
  const Geometry g = view.GeometryLevel;
  const std::string geometry = g == Geometry::Face     ? "Face"
                               : g == Geometry::Vertex ? "Vertex"
                                                       : "Mesh";
  const std::string mode = view.DisplayMode == Display::Texture ? "Textured" : "Wireframe";
  return level + " · " + geometry + " · " + mode;
}

}  // namespace tamsel
