#include "check/craft_check.h"

#include <algorithm>

#include "check/check_parts.h"
#include "editing/selection_summary.h"

namespace tamsel {

std::string Counted(std::size_t n, const char* one, const char* many) {
  return GroupThousands(static_cast<long long>(n)) + " " + (n == 1 ? one : many);
}

std::string Capital(std::string text) {
  if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
  return text;
}

bool IsRotatingType(std::int32_t meshType) {
  return meshType >= 20 && meshType <= 25;
}

std::string MeshWords(const Model& model, int mesh) {
  std::string words = "mesh " + std::to_string(mesh + 1);
  if (mesh >= 0 && mesh < model.MeshCount() &&
      !model.Meshes[static_cast<std::size_t>(mesh)].Name.empty())
    words += " \"" + model.Meshes[static_cast<std::size_t>(mesh)].Name + "\"";
  return words;
}

std::string LevelWords(const Model& model, int mesh, int level) {
  return std::string("the ") + (level == 0 ? "high" : "low") + " level of " +
         MeshWords(model, mesh);
}

std::vector<Finding> CheckCraft(const Model& model, Profile profile,
                                const BitmapFactsSource& bitmaps) {
  std::vector<Finding> findings;
  const CheckContext c{model, LimitsOf(profile), profile, findings};
  CheckFeatures(c);
  CheckGeometry(c);
  CheckTextures(c, bitmaps);
  // Severity first; each part adds in the craft's order, and meshes come before textures.
  const auto rank = [](const Finding& f) {
    const Element& e = f.element;
    const bool texture = e.kind == Element::Kind::Texture;
    return std::tuple(static_cast<int>(f.severity), texture ? 1 : 0, texture ? e.texture : e.mesh,
                      e.level);
  };
  std::stable_sort(findings.begin(), findings.end(),
                   [&](const Finding& a, const Finding& b) { return rank(a) < rank(b); });
  return findings;
}

FindingCounts CountFindings(const std::vector<Finding>& findings) {
  FindingCounts counts;
  for (const Finding& f : findings) {
    if (f.severity == Severity::Error) ++counts.errors;
    if (f.severity == Severity::Warning) ++counts.warnings;
    if (f.severity == Severity::Note) ++counts.notes;
  }
  return counts;
}

std::string_view SeverityName(Severity severity) {
  switch (severity) {
    case Severity::Error:
      return "error";
    case Severity::Warning:
      return "warning";
    case Severity::Note:
      break;
  }
  return "note";
}

std::string_view FixName(FixKind fix) {
  switch (fix) {
    case FixKind::None:
      return "";
    case FixKind::NormalsAndVectors:
      return "Calculate face normals and software vectors";
    case FixKind::VertexNormals:
      return "Calculate vertex normals";
    case FixKind::Bounds:
      return "Recompute the boxes";
    case FixKind::ResampleTexture:
      return "Resample to a power of two";
    case FixKind::RemoveUnusedTextures:
      return "Remove the unused textures";
    case FixKind::SortDistances:
      return "Sort the level distances";
    case FixKind::SplitMesh:
      return "Split the mesh";
    case FixKind::HitzoneBox:
      return "Fit the hitzone box to the mesh";
    case FixKind::GenerateLowLevel:
      return "Generate the low level";
    case FixKind::PackTextures:
      return "Pack the textures into atlases";
  }
  return "";
}

}  // namespace tamsel
