// The geometry panel's lists and UPDATE, mesh renaming and deletion, Assign LOD, the Fix
// menu and the normal and software-vector calculations.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <cmath>
#include <utility>

#include "app/controls.h"
#include "app/event_watcher.h"
#include "app/row_list.h"
#include "app/tamsel_window.h"
#include "editing/geometry_edits.h"
#include "editing/normals.h"
#include "editing/selection.h"
#include "model/bounds.h"
#include "model/number_text.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

const char* const kCornerLists[8] = {"Xvertexlist",   "Yvertexlist",   "Zvertexlist",
                                     "Ivertnormlist", "Jvertnormlist", "Kvertnormlist",
                                     "Ucoordlist",    "Vcoordlist"};
const char* const kCornerBoxes[8] = {"Xvertextext",   "Yvertextext",   "Zvertextext",
                                     "Ivertnormtext", "Jvertnormtext", "Kvertnormtext",
                                     "Ucoordtext",    "Vcoordtext"};

}  // namespace

std::optional<double> TamselWindow::Number(const QString& box) {
  QLineEdit* edit = Box(box);
  auto value = edit ? ParseDouble(edit->text().toStdString()) : std::nullopt;
  // Every number is stored as a Single: one beyond its range would be stored as infinity.
  const bool fits = value && std::isfinite(static_cast<float>(*value));
  if (edit) MarkRefused(edit, !fits);
  const QString name = edit ? Caption(edit) : box;
  if (!value)
    ShowStatus("\"" + (edit ? edit->text() : QString()) + "\" in " + name + " is not a number");
  else if (!fits)
    ShowStatus("\"" + edit->text() + "\" in " + name + " is too large to be stored");
  if (!fits) value.reset();
  return value;
}

void TamselWindow::ConnectGeometryHandlers() {
  connect(List("meshlist"), &RowList::MouseUp, this, &TamselWindow::meshlist_MouseUp);
  connect(List("meshlist"), &RowList::DblClick, this, &TamselWindow::meshlist_DblClick);
  connect(List("facelist"), &RowList::MouseUp, this, &TamselWindow::facelist_MouseUp);
  for (const char* name : kCornerLists)
    connect(List(name), &RowList::MouseUp, this, [this, name] { cornerlist_MouseUp(name); });
  connect(Control<QPushButton>("meshdeletebut"), &QPushButton::clicked, this,
          &TamselWindow::meshdeletebut_Click);
  connect(Control<QPushButton>("updategeogeobut"), &QPushButton::clicked, this,
          &TamselWindow::updategeogeobut_Click);
  connect(Control<QPushButton>("lodassignmentbut"), &QPushButton::clicked, this,
          &TamselWindow::lodassignmentbut_Click);
  for (const char* axis : {"X", "Y", "Z"})
    for (const char* box : {"mintext", "maxtext"})
      connect(Box(QString(axis) + box), &QLineEdit::textEdited, this,
              [this, axis] { extent_KeyUp(axis); });
  const std::pair<const char*, void (TamselWindow::*)()> menus[] = {
      {"quad2trimenu", &TamselWindow::quad2trimenu_Click},
      {"vertexordermenu", &TamselWindow::vertexordermenu_Click},
      {"facenormalmenu", &TamselWindow::facenormalmenu_Click},
      {"vertexnormalmenu", &TamselWindow::vertexnormalmenu_Click},
      {"softwarevectormenu", &TamselWindow::softwarevectormenu_Click}};
  for (const auto& [name, handler] : menus)
    connect(MenuItem(name), &QAction::triggered, this, handler);
}

void TamselWindow::meshlist_MouseUp() {
  const int level = view_.LevelIndex();
  RowList* list = List("meshlist");
  for (int m = 0; m < model_.MeshCount(); ++m) {
    const auto index = static_cast<std::size_t>(m);
    const Boolean flag = list->Selected(m) ? kTrue : kFalse;
    if (model_.Meshes[index].HasLevel(level) &&
        model_.Meshes[index].LODs[static_cast<std::size_t>(level)].Selected != flag)
      model_.Meshes.Edit(index).LODs[static_cast<std::size_t>(level)].Selected = flag;
  }
  // MeshScreens rebuilds the face and feature rows, but only for a mesh that has the level.
  const int focus = list->ListIndex();
  if (focus >= 0) MeshScreens(focus, level);
  if (focus < 0 || focus >= model_.MeshCount() ||
      !model_.Meshes[static_cast<std::size_t>(focus)].HasLevel(level)) {
    RebuildFaceRows(level);
    RebuildFeatureRows(level);
  }
  RebuildCornerRows(level);
  Redisplay();
}

void TamselWindow::meshlist_DblClick() {
  RowList* list = List("meshlist");
  const int focus = list->ListIndex();
  if (focus < 0 || focus >= model_.MeshCount()) return;
  const auto name = dialogs_.InputBox("Rename mesh to:", "Rename mesh", list->List(focus));
  if (!name || name->toStdString() == model_.Meshes[static_cast<std::size_t>(focus)].Name)
    return;  // Cancel keeps the name
  Edit("Rename mesh", [&](tamsel::Model& m) { RenameMesh(m, focus, name->toStdString()); });
}

void TamselWindow::meshdeletebut_Click() {
  const int level = view_.LevelIndex();
  QString label = "Delete mesh";
  int selected = 0;
  for (const MeshRec& mesh : model_.Meshes)
    if (mesh.HasLevel(level) && mesh.LODs[static_cast<std::size_t>(level)].Selected) {
      if (++selected == 1) label += " " + QString::fromStdString(mesh.Name);
    }
  if (selected == 0) return;
  if (selected > 1) label = QString("Delete %1 meshes").arg(selected);
  Edit(label, [level](tamsel::Model& m) { DeleteSelectedMeshes(m, level); });
}

void TamselWindow::facelist_MouseUp() {
  const int level = view_.LevelIndex();
  if (const auto focused = ReadFaceListSelection())
    FaceScreens(focused->mesh, level, focused->face, 0);
  else
    RebuildCornerRows(level);
  Redisplay();
}

void TamselWindow::cornerlist_MouseUp(const QString& name) {
  const int level = view_.LevelIndex();
  RowList* source = List(name);
  const int focus = source->ListIndex();
  const std::vector<bool> selected = source->SelectedRows();
  for (const char* other : kCornerLists) {
    if (name == other) continue;
    RowList* list = List(other);
    list->SetListIndex(focus);
    list->SetSelectedRows(selected);
  }
  for (std::size_t i = 0; i < cornerRows_.size(); ++i) {
    const Boolean flag = selected[i] ? kTrue : kFalse;
    const VertexRec* seen = CornerAt(std::as_const(model_), level, cornerRows_[i]);
    if (seen && seen->Selected != flag)
      EditCornerAt(model_, level, cornerRows_[i])->Selected = flag;
  }
  if (focus >= 0 && static_cast<std::size_t>(focus) < cornerRows_.size()) {
    const CornerRef c = cornerRows_[static_cast<std::size_t>(focus)];
    VertexScreens(c.mesh, level, c.face, c.corner);
  }
  Redisplay();
}

void TamselWindow::updategeogeobut_Click() {
  const int level = view_.LevelIndex();
  if (view_.GeometryLevel == "mesh") {
    const auto d = Number("meshloddisttext"), s = Number("meshsizetext");
    const auto x = Number("Xmeshtext"), y = Number("Ymeshtext"), z = Number("Zmeshtext");
    if (!d || !s || !x || !y || !z) return;
    if (Edit("Mesh UPDATE", [&](tamsel::Model& m) {
          UpdateSelectedMeshes(m, level, {*d, *s, *x, *y, *z});
        }))
      cxxx_->ApplyViewExtent();
  } else if (view_.GeometryLevel == "face") {
    const auto i = Number("Ifacenormtext"), j = Number("Jfacenormtext"),
               k = Number("Kfacenormtext");
    if (!i || !j || !k) return;
    RowList* list = List("facelist");
    const int focus = list->ListIndex();
    if (focus < 0 || static_cast<std::size_t>(focus) >= faceRows_.size()) return;
    const FaceRef face = faceRows_[static_cast<std::size_t>(focus)];
    Edit("Face UPDATE", [&](tamsel::Model& m) {
      UpdateFocusedFaceNormal(
          m, level, face, {static_cast<float>(*i), static_cast<float>(*j), static_cast<float>(*k)});
    });
  } else if (view_.GeometryLevel == "vertex") {
    std::optional<double> v[6];
    for (int b = 0; b < 6; ++b)
      if (!(v[b] = Number(kCornerBoxes[b]))) return;
    const int focus = List("Xvertexlist")->ListIndex();
    std::optional<CornerRef> focused;
    if (focus >= 0 && static_cast<std::size_t>(focus) < cornerRows_.size())
      focused = cornerRows_[static_cast<std::size_t>(focus)];
    const auto f = [](const std::optional<double>& d) { return static_cast<float>(*d); };
    Edit("Vertex UPDATE", [&](tamsel::Model& m) {
      UpdateSelectedCorners(m, level, {f(v[0]), f(v[1]), f(v[2])}, focused,
                            {f(v[3]), f(v[4]), f(v[5])});
    });
  }
}

void TamselWindow::extent_KeyUp(const QString& axis) {
  const auto lo = ParseDouble(Box(axis + "mintext")->text().toStdString());
  const auto hi = ParseDouble(Box(axis + "maxtext")->text().toStdString());
  if (!lo || !hi) return;
  Box(axis + "spantext")
      ->setText(QString::fromStdString(FormatSingle(static_cast<float>(*hi - *lo))));
  Box(axis + "centertext")
      ->setText(QString::fromStdString(FormatSingle(static_cast<float>(*lo + (*hi - *lo) / 2))));
}

void TamselWindow::lodassignmentbut_Click() {
  const int target = List("meshlist")->ListIndex();
  int removed = -1;
  if (!Edit("Assign LOD", [&](tamsel::Model& m) { removed = AssignLowLevel(m, target); }) ||
      removed < 0)
    return;
  List("meshlist")->SetListIndex(target > removed ? target - 1 : target);
  Redisplay();
}

void TamselWindow::quad2trimenu_Click() {
  int split = 0;
  if (!Edit("Quad2Tri", [&](tamsel::Model& m) { split = Quad2Tri(m); })) return;
  cxxx_->ApplyViewExtent();
  ShowStatus(QString("Quad2Tri split %1 faces").arg(split));
}

void TamselWindow::vertexordermenu_Click() {
  if (Edit("Vertex Order", [](tamsel::Model& m) { ReverseVertexOrder(m); }))
    ShowStatus(QString("Vertex Order reversed %1 faces").arg(TotalFaceCount(model_)));
}

void TamselWindow::facenormalmenu_Click() {
  if (Edit("Face Normals", [](tamsel::Model& m) { CalculateFaceNormals(m); }))
    ShowStatus(QString("Face Normals calculated for %1 faces").arg(TotalFaceCount(model_)));
}

void TamselWindow::vertexnormalmenu_Click() {
  if (Edit("Vertex Normals", [](tamsel::Model& m) { CalculateVertexNormals(m); }))
    ShowStatus(QString("Vertex Normals calculated for %1 corners").arg(TotalCornerCount(model_)));
}

void TamselWindow::softwarevectormenu_Click() {
  if (Edit("Software Vectors", [](tamsel::Model& m) { CalculateSoftwareVectors(m); }))
    ShowStatus(QString("Software Vectors calculated for %1 faces").arg(TotalFaceCount(model_)));
}

}  // namespace tamsel
