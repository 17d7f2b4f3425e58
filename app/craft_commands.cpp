#include "app/craft_commands.h"

#include <QAction>
#include <QColor>
#include <utility>

#include "app/dialogs.h"
#include "app/panels/panel_host.h"
#include "editing/geometry_edits.h"
#include "editing/normals.h"
#include "editing/select_many.h"
#include "editing/ship_features.h"
#include "editing/texture_tools.h"
#include "model/color_settings.h"

namespace tamsel {
namespace {

ColorTriple* SettingOf(ColorSettings& c, const QString& item) {
  static const std::pair<const char*, ColorTriple ColorSettings::*> items[] = {
      {"primaryselecttexmenu", &ColorSettings::PrimarySelectTexColor},
      {"primaryselectwiremenu", &ColorSettings::PrimarySelectWireColor},
      {"secondaryselecttexmenu", &ColorSettings::SecondarySelectTexColor},
      {"secondaryselectwiremenu", &ColorSettings::SecondarySelectWireColor},
      {"normalcolormenu", &ColorSettings::NormalColor},
      {"softvector1colormenu", &ColorSettings::SoftVector1Color},
      {"softvector2colormenu", &ColorSettings::SoftVector2Color},
      {"hitzonemeshcolormenu", &ColorSettings::HitzoneMeshColor},
      {"hitzonetargetcolormenu", &ColorSettings::HitzoneTargetColor},
      {"rotationaxiscolormenu", &ColorSettings::RotationAxisColor},
      {"rotationaimcolormenu", &ColorSettings::RotationAimColor},
      {"rotationdegreecolormenu", &ColorSettings::RotationDegreeColor}};
  for (const auto& [name, member] : items)
    if (item == name) return &(c.*member);
  return nullptr;
}

}  // namespace

CraftCommands::CraftCommands(PanelHost& host, ColorSettings& colors, const MenuItems& menus,
                             QObject* parent)
    : QObject(parent), host_(host), colors_(colors), model_(host.Doc().model()) {
  const std::pair<const char*, void (CraftCommands::*)()> items[] = {
      {"facecountmenu", &CraftCommands::ShowFaceCount},
      {"quad2trimenu", &CraftCommands::SplitQuadsIntoTriangles},
      {"vertexordermenu", &CraftCommands::ReverseCornerOrder},
      {"facenormalmenu", &CraftCommands::RecalculateFaceNormals},
      {"vertexnormalmenu", &CraftCommands::RecalculateVertexNormals},
      {"softwarevectormenu", &CraftCommands::RecalculateSoftwareVectors},
      {"texturecoordinatemenu", &CraftCommands::RecalculateTextureCoordinates},
      {"hitzonemenu", &CraftCommands::RecalculateHitzones},
      {"rotationmenu", &CraftCommands::RecalculateRotations},
      {"selectallmenu", &CraftCommands::SelectEverything},
      {"selectnonemenu", &CraftCommands::SelectNothing},
      {"invertselectionmenu", &CraftCommands::InvertTheSelection}};
  for (const auto& [name, handler] : items)
    connect(menus.value(name), &QAction::triggered, this, handler);
  for (const ColorMenuItem& item : kColorMenuItems)
    connect(menus.value(item.name), &QAction::triggered, this,
            [this, name = QString(item.name)] { ChooseSettingColor(name); });
}

void CraftCommands::ChooseSettingColor(const QString& item) {
  ColorTriple* setting = SettingOf(colors_, item);
  if (!setting) return;
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
  SelectAll(model_, host_.View().LevelIndex(), LevelKind(host_.View().GeometryLevel));
  host_.SelectionChanged(false);
}

void CraftCommands::SelectNothing() {
  SelectNone(model_, host_.View().LevelIndex(), LevelKind(host_.View().GeometryLevel));
  host_.SelectionChanged(false);
}

void CraftCommands::InvertTheSelection() {
  InvertSelection(model_, host_.View().LevelIndex(), LevelKind(host_.View().GeometryLevel));
  host_.SelectionChanged(false);
}

}  // namespace tamsel
