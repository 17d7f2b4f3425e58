// The window's side of picking: applying a pick to the selection and keeping the mesh,
// face, corner, hardpoint and engine-glow lists in step with the model's flags.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/row_list.h"
#include "app/tamsel_window.h"
#include "editing/selection.h"
#include "model/number_text.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

const char* const kCornerLists[8] = {"Xvertexlist",   "Yvertexlist",   "Zvertexlist",
                                     "Ivertnormlist", "Jvertnormlist", "Kvertnormlist",
                                     "Ucoordlist",    "Vcoordlist"};

PickKind LevelKind(const std::string& level) {
  return level == "face" ? PickKind::Face : level == "vertex" ? PickKind::Corner : PickKind::Mesh;
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

SceneInputs TamselWindow::CurrentSceneInputs() {
  SceneInputs in;
  const int level = view_.LevelIndex();
  const int mesh = List("meshlist")->ListIndex();
  if (mesh >= 0 && mesh < model_.MeshCount()) in.focusedMesh = mesh;
  if (const auto ref = FocusedFaceRow(); ref && FaceAt(model_, level, *ref)) in.focusedFace = ref;
  if (const auto ref = FocusedCornerRow(); ref && CornerAt(model_, level, *ref))
    in.focusedCorner = ref;
  in.animateAxis = Control<QCheckBox>("rotanimaxis")->isChecked();
  in.animateAim = Control<QCheckBox>("rotanimaim")->isChecked();
  in.animateDegree = Control<QCheckBox>("rotanimdegree")->isChecked();
  return in;
}

bool TamselWindow::RotateChosen() {
  return Control<QRadioButton>("rotateop")->isChecked();
}

void TamselWindow::FocusTaker() {
  Box("focustaker")->setFocus();
}

void TamselWindow::SyncMeshRows(int level) {
  RowList* meshes = List("meshlist");
  std::vector<bool> rows = meshes->SelectedRows();
  for (std::size_t m = 0; m < model_.Meshes.size() && m < rows.size(); ++m) {
    const MeshRec& mesh = model_.Meshes[m];
    if (mesh.HasLevel(level)) rows[m] = mesh.LODs[static_cast<std::size_t>(level)].Selected != 0;
  }
  meshes->SetSelectedRows(rows);
}

void TamselWindow::RebuildFaceRows(int level) {
  std::vector<FaceRef> refs = FaceRows(model_, level);
  RowList* list = List("facelist");
  if (!faceRowsCurrent_ || refs != faceRows_ ||
      list->ListCount() != static_cast<int>(refs.size())) {
    faceRows_ = std::move(refs);
    std::vector<QString> rows;
    rows.reserve(faceRows_.size());
    for (const FaceRef& r : faceRows_) rows.push_back(Q(FaceRow(r.mesh, r.face)));
    list->SetRows(std::move(rows));
    faceRowsCurrent_ = true;
  }
  std::vector<bool> selected(faceRows_.size());
  for (std::size_t i = 0; i < faceRows_.size(); ++i)
    selected[i] = FaceAt(model_, level, faceRows_[i])->Selected != 0;
  list->SetSelectedRows(selected);
}

void TamselWindow::RebuildCornerRows(int level) {
  std::vector<CornerRef> refs = CornerRows(model_, level);
  const bool same = cornerRowsCurrent_ && cornerRowsLevel_ == level && refs == cornerRows_ &&
                    List(kCornerLists[0])->ListCount() == static_cast<int>(refs.size());
  cornerRows_ = std::move(refs);
  std::vector<bool> selected(cornerRows_.size());
  for (std::size_t i = 0; i < cornerRows_.size(); ++i)
    selected[i] = CornerAt(model_, level, cornerRows_[i])->Selected != 0;
  if (same) {
    for (const char* name : kCornerLists) List(name)->SetSelectedRows(selected);
    return;
  }
  cornerRowsCurrent_ = true;
  cornerRowsLevel_ = level;
  for (int l = 0; l < 8; ++l) {
    std::vector<QString> rows;
    rows.reserve(cornerRows_.size());
    for (const CornerRef& r : cornerRows_)
      rows.push_back(
          Q(CornerRow(r.mesh, r.face, r.corner,
                      CornerValues(*CornerAt(model_, level, r))[static_cast<std::size_t>(l)])));
    RowList* list = List(kCornerLists[l]);
    list->SetRows(std::move(rows));
    list->SetSelectedRows(selected);
  }
}

void TamselWindow::RebuildFeatureRows(int level) {
  std::vector<QString> hps, egs;
  hardpointRows_ = HardpointRows(model_, level);
  engineGlowRows_ = EngineGlowRows(model_, level);
  for (const ItemRef& r : hardpointRows_) hps.push_back(Q(HardpointRow(r.mesh, r.item)));
  for (const ItemRef& r : engineGlowRows_) egs.push_back(Q(EngineGlowRow(r.mesh, r.item)));
  List("hardpointlist")->SetRows(std::move(hps));
  List("engineglowlist")->SetRows(std::move(egs));
}

void TamselWindow::RebuildSelectionLists(int level) {
  SyncMeshRows(level);
  RebuildFaceRows(level);
  RebuildCornerRows(level);
  RebuildFeatureRows(level);
}

void TamselWindow::ApplyPickResult(const PickTarget& picked, bool shift) {
  const int level = view_.LevelIndex();
  const PickTarget chosen = ApplyPick(model_, level, LevelKind(view_.GeometryLevel), picked, shift);
  // Rows follow the flags at once. The display routines rebuild some of them themselves
  // (MeshScreens the face and feature rows, FaceScreens the corner rows); those are not
  // built twice, which on a large craft is most of a pick's time.
  SyncMeshRows(level);
  if (chosen.kind != PickKind::Mesh) {
    RebuildFaceRows(level);
    RebuildFeatureRows(level);
  }
  if (chosen.kind != PickKind::Face) RebuildCornerRows(level);
  switch (chosen.kind) {
    case PickKind::Mesh:
      MeshScreens(chosen.mesh, level);
      break;
    case PickKind::Face: {
      List("meshlist")->SetListIndex(chosen.mesh);
      const auto row =
          std::find(faceRows_.begin(), faceRows_.end(), FaceRef{chosen.mesh, chosen.face});
      if (row != faceRows_.end())
        List("facelist")->SetListIndex(static_cast<int>(row - faceRows_.begin()));
      FaceScreens(chosen.mesh, level, chosen.face, 0);
      break;
    }
    case PickKind::Corner: {
      List("meshlist")->SetListIndex(chosen.mesh);
      const auto face =
          std::find(faceRows_.begin(), faceRows_.end(), FaceRef{chosen.mesh, chosen.face});
      if (face != faceRows_.end())
        List("facelist")->SetListIndex(static_cast<int>(face - faceRows_.begin()));
      const auto row = std::find(cornerRows_.begin(), cornerRows_.end(),
                                 CornerRef{chosen.mesh, chosen.face, chosen.corner});
      if (row != cornerRows_.end())
        for (const char* name : kCornerLists)
          List(name)->SetListIndex(static_cast<int>(row - cornerRows_.begin()));
      VertexScreens(chosen.mesh, level, chosen.face, chosen.corner);
      break;
    }
    case PickKind::None:
      break;
  }
  // A pick is a change of selection like any other: the document tells every view.
  Redisplay();
}

}  // namespace tamsel
