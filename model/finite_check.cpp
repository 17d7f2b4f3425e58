#include "model/finite_check.h"

#include <cmath>

namespace tamsel {
namespace {

// Records where the first non-finite field sits; the place is spelt out only then, so a
// scan of a large craft builds no text.
struct Finder {
  std::optional<std::string> found;

  template <typename Where>
  void Check(float v, const char* field, const Where& where) {
    if (!found && !std::isfinite(v)) found = where() + field;
  }
  template <typename Where>
  void Check(const Single3& p, const char* field, const Where& where) {
    if (found || (std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z))) return;
    const char* axis = !std::isfinite(p.x) ? " X" : !std::isfinite(p.y) ? " Y" : " Z";
    found = where() + field + axis;
  }
};

}  // namespace

std::optional<std::string> FindNonFinite(const MeshRec& mesh, int meshIndex) {
  return FindNonFinite(mesh, meshIndex, nullptr);
}

std::optional<std::string> FindNonFinite(const MeshRec& mesh, int meshIndex,
                                         const MeshRec* checked) {
  Finder f;
  const auto meshAt = [&] {
    return "mesh " + std::to_string(meshIndex + 1) + " (" + mesh.Name + "), ";
  };
  for (const auto& [p, name] : {std::pair{&mesh.Span, "hitzone span"},
                                {&mesh.Center, "hitzone centre"},
                                {&mesh.Min, "hitzone minimum"},
                                {&mesh.Max, "hitzone maximum"},
                                {&mesh.Target, "target"},
                                {&mesh.Pivot, "rotation pivot"},
                                {&mesh.Axis, "rotation axis"},
                                {&mesh.Aim, "rotation aim"},
                                {&mesh.Degree, "rotation degree"}})
    f.Check(*p, name, meshAt);
  for (std::size_t h = 0; h < mesh.Hardpoints.size(); ++h)
    f.Check(mesh.Hardpoints[h].Position, "position",
            [&] { return meshAt() + "hardpoint " + std::to_string(h + 1) + " "; });
  for (std::size_t e = 0; e < mesh.EngineGlows.size(); ++e) {
    const EngineGlowRec& g = mesh.EngineGlows[e];
    const auto at = [&] { return meshAt() + "engine glow " + std::to_string(e + 1) + " "; };
    for (const auto& [p, name] : {std::pair{&g.Position, "position"},
                                  {&g.Size, "size"},
                                  {&g.Density1, "density 1"},
                                  {&g.Density2, "density 2"},
                                  {&g.Density3, "density 3"}})
      f.Check(*p, name, at);
  }
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
    const LODRec& lod = mesh.LODs[l];
    const auto levelAt = [&] { return meshAt() + "level " + std::to_string(l + 1); };
    const auto levelField = [&] { return levelAt() + " "; };
    f.Check(lod.Distance, "distance", levelField);
    f.Check(lod.BoxMin, "box minimum", levelField);
    f.Check(lod.BoxMax, "box maximum", levelField);
    f.Check(lod.BoxCenter, "box centre", levelField);
    if (checked && l < checked->LODs.size() && lod.Faces.SharesWith(checked->LODs[l].Faces))
      continue;
    for (std::size_t i = 0; i < lod.Faces.size() && !f.found; ++i) {
      const FaceRec& face = lod.Faces[i];
      const auto faceAt = [&] { return levelAt() + ", face " + std::to_string(i + 1); };
      const auto faceField = [&] { return faceAt() + " "; };
      for (const auto& [p, name] : {std::pair{&face.BoxMin, "box minimum"},
                                    {&face.BoxMax, "box maximum"},
                                    {&face.BoxCenter, "box centre"},
                                    {&face.Normal, "normal"},
                                    {&face.Vector1, "vector 1"},
                                    {&face.Vector2, "vector 2"}})
        f.Check(*p, name, faceField);
      for (std::size_t k = 0; k < 4; ++k) {
        const VertexRec& v = face.Vertices[k];
        const auto cornerAt = [&] { return faceAt() + ", corner " + std::to_string(k + 1) + " "; };
        for (const auto& [value, name] : {std::pair{v.X, "X"},
                                          {v.Y, "Y"},
                                          {v.Z, "Z"},
                                          {v.U, "U"},
                                          {v.V, "V"},
                                          {v.I, "I"},
                                          {v.J, "J"},
                                          {v.K, "K"}})
          f.Check(value, name, cornerAt);
      }
    }
  }
  return f.found;
}

std::optional<std::string> FindNonFinite(const Model& model) {
  for (std::size_t m = 0; m < model.Meshes.size(); ++m)
    if (auto found = FindNonFinite(model.Meshes[m], static_cast<int>(m))) return found;
  return std::nullopt;
}

}  // namespace tamsel
