#include "app/craft_commands.h"

#include <QAction>
#include <QColor>
#include <utility>

#include "app/dialogs.h"
#include "app/panels/panel_host.h"
#include "app/panels/panel_input.h"
#include "editing/edit_target.h"
#include "editing/generate_lod.h"
#include "editing/geometry_edits.h"
#include "editing/normals.h"
#include "editing/select_many.h"
#include "editing/ship_features.h"
#include "editing/smooth_normals.h"
#include "editing/texture_tools.h"
#include "model/color_settings.h"

namespace tamsel {
CraftCommands::CraftCommands(PanelHost& host, ColorSettings& colors, QObject* parent)
    : QObject(parent), host_(host), colors_(colors), model_(host.Doc().model()) {}

void CraftCommands::ChooseSettingColor(ColorTriple ColorSettings::*member) {
  ColorTriple* setting = &(colors_.*member);
  // The dialog starts from the current colour; Cancel keeps it.
  const auto chosen = host_.Ask().ChooseColor(QColor(setting->R, setting->G, setting->B));
  if (!chosen) return;
  *setting = {chosen->red(), chosen->green(), chosen->blue()};
  host_.ViewChanged();
}

void CraftCommands::ShowFaceCount() {
  host_.Ask().Inform(QString::number(TotalFaceCount(model_)) + " Faces", "Face Count");
}

// The model-wide commands: each one step, its count in the status bar.
void CraftCommands::SplitQuadsIntoTriangles() {
  int split = 0;
  if (!host_.Edit("Quad2Tri", [&](tamsel::Model& m) { split = Quad2Tri(m); })) return;
  host_.Status(QString("Quad2Tri split %1 faces").arg(split));
}

void CraftCommands::ReverseCornerOrder() {
  if (host_.Edit("Vertex Order", [](tamsel::Model& m) { ReverseVertexOrder(m); }))
    host_.Status(QString("Vertex Order reversed %1 faces").arg(TotalFaceCount(model_)));
}

void CraftCommands::RecalculateFaceNormals() {
  if (host_.Edit("Face Normals", [](tamsel::Model& m) { CalculateFaceNormals(m); }))
    host_.Status(QString("Face Normals calculated for %1 faces").arg(TotalFaceCount(model_)));
}

void CraftCommands::RecalculateVertexNormals() {
  if (host_.Edit("Vertex Normals", [](tamsel::Model& m) { CalculateVertexNormals(m); }))
    host_.Status(QString("Vertex Normals calculated for %1 corners").arg(TotalCornerCount(model_)));
}

void CraftCommands::SmoothVertexNormalsByAngle() {
  const auto degrees = AskNumber(
      host_.Ask(),
      "Smooth where faces meet at this angle or less (degrees):", "Vertex Normals by Angle",
      lastAngle_, [](double d) { return d >= 0 && d <= 180; }, "an angle from 0 to 180");
  if (!degrees) return;
  lastAngle_ = *degrees;
  const std::vector<int> meshes = SelectedOrAll();
  std::int64_t corners = 0;
  if (!host_.Edit("Vertex Normals by Angle",
                  [&](tamsel::Model& m) { corners = SmoothNormalsByAngle(m, *degrees, meshes); }))
    return;
  host_.Status(QString("Vertex Normals by Angle (%1\u00b0) for %2 corners of %3")
                   .arg(*degrees)
                   .arg(corners)
                   .arg(meshes.empty() ? QString("every mesh")
                                       : QString("%1 selected meshes").arg(meshes.size())));
}

std::vector<int> CraftCommands::SelectedOrAll() const {
  return SelectedMeshes(model_, host_.View().LevelIndex());  // empty: every mesh
}

void CraftCommands::GenerateLowDetail() {
  const auto ratio = AskNumber(
      host_.Ask(), "Share of the high level's faces to keep (0 to 1):", "Generate Low Detail",
      lastRatio_, [](double r) { return r > 0 && r <= 1; }, "a share above 0 and up to 1");
  if (!ratio) return;
  lastRatio_ = *ratio;
  const std::vector<int> meshes = SelectedOrAll();
  LodOptions options;
  options.ratio = *ratio;
  std::vector<LodReport> reports;
  if (!host_.Edit("Generate Low Detail",
                  [&](tamsel::Model& m) { reports = GenerateLowLevels(m, meshes, options); }))
    return;
  long long before = 0, after = 0;
  double worst = 0;
  for (const LodReport& r : reports) {
    before += r.facesBefore;
    after += r.facesAfter;
    worst = std::max(worst, r.deviation);
  }
  host_.Status(QString("Generate Low Detail: %1 meshes, %2 faces at the high level, %3 at the "
                       "low; largest deviation %4 % of a mesh's size")
                   .arg(reports.size())
                   .arg(before)
                   .arg(after)
                   .arg(worst * 100, 0, 'g', 2));
}

void CraftCommands::RecalculateSoftwareVectors() {
  if (host_.Edit("Software Vectors", [](tamsel::Model& m) { CalculateSoftwareVectors(m); }))
    host_.Status(QString("Software Vectors calculated for %1 faces").arg(TotalFaceCount(model_)));
}

void CraftCommands::RecalculateTextureCoordinates() {
  if (host_.Edit("Texture Coordinates", [](tamsel::Model& m) { ResetTextureCoordinates(m); }))
    host_.Status(QString("Texture Coordinates reset on %1 faces").arg(TotalFaceCount(model_)));
}

void CraftCommands::RecalculateHitzones() {
  if (host_.Edit("Hitzones", [](tamsel::Model& m) { CalculateHitzones(m); }))
    host_.Status(QString("Hitzones calculated for %1 meshes").arg(model_.MeshCount()));
}

void CraftCommands::RecalculateRotations() {
  if (host_.Edit("Rotations", [](tamsel::Model& m) { CalculateRotations(m); }))
    host_.Status(QString("Rotations calculated for %1 meshes").arg(model_.MeshCount()));
}

void CraftCommands::SelectEverything() {
  host_.Doc().Changed(
      SelectAll(model_, host_.View().LevelIndex(), LevelKind(host_.View().GeometryLevel)));
}

void CraftCommands::SelectNothing() {
  host_.Doc().Changed(
      SelectNone(model_, host_.View().LevelIndex(), LevelKind(host_.View().GeometryLevel)));
}

void CraftCommands::InvertTheSelection() {
  host_.Doc().Changed(
      InvertSelection(model_, host_.View().LevelIndex(), LevelKind(host_.View().GeometryLevel)));
}

}  // namespace tamsel
