#include <charconv>

#include "model/file_error.h"
#include "model/finite_check.h"
#include "model/number_text.h"
#include "model/opz.h"
#include "model/progress.h"

namespace tamsel {
namespace {

class OpzOut {
 public:
  explicit OpzOut(const std::string& fileName) : fileName_(fileName) {}

  void Line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }
  // Counts, codes, bytes and single numbers: a blank before a non-negative number, one after.
  void Number(std::string_view digits) {
    if (digits.empty() || digits.front() != '-') out_ += ' ';
    out_ += digits;
    out_ += " \r\n";
  }
  void Count(std::int64_t n) { Number(std::to_string(n)); }
  void Single(float v) { Number(FormatSingle(v)); }
  void Triple(const Single3& v) {
    Line(FormatSingle(v.x) + ", " + FormatSingle(v.y) + ", " + FormatSingle(v.z));
  }
  void Triple(float x, float y, float z) { Triple(Single3{x, y, z}); }
  void Pair(float u, float v) { Line(FormatSingle(u) + ", " + FormatSingle(v)); }
  void Colour(const RGBA& c) {
    Line(std::to_string(c.R) + ", " + std::to_string(c.G) + ", " + std::to_string(c.B) + ", " +
         std::to_string(c.A));
  }
  void Colour(const RGB& c) {
    Line(std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]));
  }
  void Text(const std::string& text, const char* what) {
    if (text.find_first_of("\r\n") != std::string::npos)
      throw FileError(
          fileName_, "",
          std::string(what) + " \"" + text + "\" contains a line break and cannot be saved");
    Line(text);
  }
  std::string Take() { return std::move(out_); }

 private:
  const std::string& fileName_;
  std::string out_;
};

void WriteMesh(OpzOut& o, const MeshRec& mesh) {
  o.Text(mesh.Name, "The mesh name");
  o.Count(mesh.LODCount());
  o.Count(mesh.HardpointCount());
  o.Count(mesh.EngineGlowCount());
  o.Count(mesh.MeshType);
  o.Count(mesh.ExplosionType);
  o.Triple(mesh.Span);
  o.Triple(mesh.Center);
  o.Triple(mesh.Min);
  o.Triple(mesh.Max);
  o.Count(mesh.TargetId);
  for (const Single3* v : {&mesh.Target, &mesh.Pivot, &mesh.Axis, &mesh.Aim, &mesh.Degree})
    o.Triple(*v);
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
    const LODRec& level = mesh.LODs[l];
    o.Line("LOD " + std::to_string(l + 1));
    o.Count(level.FaceCount());
    o.Single(level.Distance);
    for (std::size_t f = 0; f < level.Faces.size(); ++f) {
      const FaceRec& face = level.Faces[f];
      o.Line("FACE " + std::to_string(f + 1));
      for (int k = 0; k < 4; ++k)
        o.Triple(face.Vertices[k].X, face.Vertices[k].Y, face.Vertices[k].Z);
      for (int k = 0; k < 4; ++k) o.Pair(face.Vertices[k].U, face.Vertices[k].V);
      for (int k = 0; k < 4; ++k)
        o.Triple(face.Vertices[k].I, face.Vertices[k].J, face.Vertices[k].K);
      o.Triple(face.Normal);
      o.Triple(face.Vector1);
      o.Triple(face.Vector2);
      for (int s = 0; s < 4; ++s) o.Text(face.TextureNames[s], "The texture name");
    }
  }
  for (std::size_t h = 0; h < mesh.Hardpoints.size(); ++h) {
    o.Line("HP " + std::to_string(h + 1));
    o.Count(mesh.Hardpoints[h].HardpointType);
    o.Triple(mesh.Hardpoints[h].Position);
  }
  for (std::size_t e = 0; e < mesh.EngineGlows.size(); ++e) {
    const EngineGlowRec& g = mesh.EngineGlows[e];
    o.Line("EG " + std::to_string(e + 1));
    o.Colour(g.InnerColor);
    o.Colour(g.OuterColor);
    for (const Single3* v : {&g.Position, &g.Size, &g.Density1, &g.Density2, &g.Density3})
      o.Triple(*v);
  }
}

}  // namespace

std::string WriteOpzText(const Model& model, const std::string& fileName) {
  // "inf" or "nan" in the file would make the project one that never opens again.
  if (auto where = FindNonFinite(model))
    throw FileError(fileName, "",
                    "the project was not written: " + *where + " is not a finite number");
  OpzOut o(fileName);
  o.Count(model.MeshCount());
  o.Count(model.TextureCount());
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    ReportProgress(static_cast<std::int64_t>(m), static_cast<std::int64_t>(model.Meshes.size()));
    WriteMesh(o, model.Meshes[m]);
  }
  for (const TextureRec& t : model.Textures) {
    o.Text(t.Name, "The texture name");
    o.Count(t.TransOpacity);
    o.Count(t.TransTolerance);
    o.Count(t.TransColorCount());
    for (const RGB& c : t.TransColors) o.Colour(c);
    o.Count(t.IllumBrightness);
    o.Count(t.IllumTolerance);
    o.Count(t.IllumColorCount());
    for (const RGB& c : t.IllumColors) o.Colour(c);
  }
  return o.Take();
}

}  // namespace tamsel
