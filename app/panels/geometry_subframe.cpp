#include "app/panels/geometry_subframe.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs.h"
#include "app/panels/panel_input.h"
#include "app/row_list.h"
#include "editing/geometry_edits.h"
#include "editing/mesh_edits.h"
#include "editing/selection.h"
#include "editing/transforms.h"

namespace tamsel {

GeometrySubFrame::GeometrySubFrame(PanelHost& host, QWidget* parent)
    : PropertyFrame(host, "geometrysubframe", "", parent) {
  auto* layout = new QVBoxLayout(this);
  AsSubFrame(this, layout);

  // Positions above normals, three lists a row, so that a row's corner and value can be
  // read; each list has its heading, which shows and hides with it.
  auto* corners = new QGridLayout;
  const auto made = AddHeadedLists(corners, this,
                                   {{"Xvertexlist", "X vertex coords", "X"},
                                    {"Yvertexlist", "Y vertex coords", "Y"},
                                    {"Zvertexlist", "Z vertex coords", "Z"},
                                    {"Ivertnormlist", "I vertex normal coords", "Normal I"},
                                    {"Jvertnormlist", "J vertex normal coords", "Normal J"},
                                    {"Kvertnormlist", "K vertex normal coords", "Normal K"}},
                                   3);
  std::copy(made.begin(), made.end(), cornerLists_.begin());
  layout->addLayout(corners, 1);

  auto* grid = new QGridLayout;
  int row = 0;
  const char* const boxes[6][2] = {
      {"Xvertextext", "vertex X"},          {"Yvertextext", "vertex Y"},
      {"Zvertextext", "vertex Z"},          {"Ivertnormtext", "vertex normal I"},
      {"Jvertnormtext", "vertex normal J"}, {"Kvertnormtext", "vertex normal K"}};
  grid->addWidget(new QLabel("Vertex", this), row, 0);
  grid->addWidget(new QLabel("Vertex normal", this), row + 1, 0);
  for (int i = 0; i < 6; ++i) {
    cornerBoxes_[static_cast<std::size_t>(i)] = TextBox(this, boxes[i][0], boxes[i][1]);
    grid->addWidget(cornerBoxes_[static_cast<std::size_t>(i)], row + i / 3, 1 + i % 3);
  }
  ++row;
  meshMove_ = AddXYZRow(grid, ++row, this, "Mesh translation", "meshtext", "mesh translation @");
  meshTurn_ = AddXYZRow(grid, ++row, this, "Mesh rotation", "meshangletext", "mesh rotation @");
  grid->addWidget(new QLabel("Mesh scale / distance", this), ++row, 0);
  grid->addWidget(meshSize_ = TextBox(this, "meshsizetext", "mesh scale (%)"), row, 1);
  grid->addWidget(meshDistance_ = TextBox(this, "meshloddisttext", "cloaking distance (km)"), row,
                  2);
  faceMove_ = AddXYZRow(grid, ++row, this, "Face translation", "facetext", "face translation @");
  faceTurn_ = AddXYZRow(grid, ++row, this, "Face rotation", "faceangletext", "face rotation @");
  grid->addWidget(new QLabel("Face scale", this), ++row, 0);
  grid->addWidget(faceSize_ = TextBox(this, "facesizetext", "face scale (%)"), row, 1);
  grid->addWidget(new QLabel("Face normal", this), ++row, 0);
  faceNormal_ = {TextBox(this, "Ifacenormtext", "I face normal"),
                 TextBox(this, "Jfacenormtext", "J face normal"),
                 TextBox(this, "Kfacenormtext", "K face normal")};
  for (int a = 0; a < 3; ++a) grid->addWidget(faceNormal_[a], row, a + 1);
  BuddyRows(grid);
  // UPDATE moves and scales meshes and sets normals; these boxes only show the selection.
  std::vector<QLineEdit*> shownOnly = {faceSize_};
  for (int a = 0; a < 3; ++a)
    for (QLineEdit* box : {meshTurn_[a], faceMove_[a], faceTurn_[a]}) shownOnly.push_back(box);
  for (QLineEdit* box : shownOnly) {
    box->setReadOnly(true);
    box->setStyleSheet("QLineEdit { background: palette(window); }");  // looks shown-only
    box->setToolTip(box->toolTip() + " (shown only: UPDATE does not apply it)");
  }
  layout->addLayout(grid);

  // Turn and mirror, at the mesh and face levels: one axis for both.
  auto* transform = new QHBoxLayout;
  transform->addWidget(
      transformAxis_ =
          DropDown(this, "transformaxis", "axis to turn about or mirror across", {"X", "Y", "Z"}));
  transform->addWidget(turnDegrees_ = TextBox(this, "turndegreestext", "degrees to turn"));
  SetCaption(turnDegrees_, "Turn degrees");
  turnDegrees_->setText("90");
  transform->addWidget(turn_ = Button(this, "turnbut", "Turn",
                                      "Turn the selection about the axis through its centre"));
  transform->addWidget(mirror_ = Button(this, "mirrorbut", "Mirror",
                                        "Mirror the selection across the axis through its centre"));
  transform->addStretch(1);
  layout->addLayout(transform);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(delete_ = Button(this, "meshdeletebut", "Delete"));
  buttons->addWidget(assignLod_ = Button(this, "lodassignmentbut", "Assign LOD"));
  buttons->addStretch(1);
  buttons->addWidget(update_ = Button(this, "updategeogeobut", "UPDATE"));
  layout->addLayout(buttons);

  connect(delete_, &QPushButton::clicked, this, [this] { DeleteSelectedMeshes(); });
  connect(assignLod_, &QPushButton::clicked, this, [this] { AssignLodToSelection(); });
  connect(update_, &QPushButton::clicked, this, [this] { ApplyGeometryBoxes(); });
  connect(turn_, &QPushButton::clicked, this, [this] { TurnSelection(); });
  connect(mirror_, &QPushButton::clicked, this, [this] { MirrorSelection(); });
}

void GeometrySubFrame::ShowLevel(Geometry level) {
  const bool mesh = level == Geometry::Mesh, vertex = level == Geometry::Vertex,
             face = level == Geometry::Face;
  for (QWidget* w : std::initializer_list<QWidget*>{delete_, assignLod_, meshSize_, meshDistance_})
    w->setVisible(mesh);
  for (int a = 0; a < 3; ++a) {
    meshMove_[a]->setVisible(mesh);
    meshTurn_[a]->setVisible(mesh);
    faceMove_[a]->setVisible(face);
    faceTurn_[a]->setVisible(face);
    faceNormal_[a]->setVisible(face);
  }
  faceSize_->setVisible(face);
  for (QWidget* w : std::initializer_list<QWidget*>{transformAxis_, turnDegrees_, turn_, mirror_})
    w->setVisible(!vertex);
  for (RowList* list : cornerLists_) list->setVisible(vertex);
  for (QLineEdit* box : cornerBoxes_) box->setVisible(vertex);
}

void GeometrySubFrame::Clear() {
  PropertyFrame::Clear();
  turnDegrees_->setText("90");  // a setting of the tool, not a value of the last craft
  shownMesh_ = shownLevel_ = -1;
  shownFace_.reset();
  shownCorner_.reset();
}

void GeometrySubFrame::Refresh(const ModelChange& change) {
  const Focus& f = focus();
  const bool fresh = change.everything || f.mesh != shownMesh_ || level() != shownLevel_;
  const bool records = !change.recordsUnchanged;
  if (fresh || records) ShowMesh(fresh);
  // What a click would do with the selection as it is now.
  if (view().GeometryLevel == Geometry::Mesh) {
    const QString plan = QString::fromStdString(PlanLowLevel(model(), f.mesh).text);
    assignLod_->setToolTip(plan);
    assignLod_->setStatusTip(plan);  // the status bar says it while the pointer is on it
  }
  if (fresh || records || f.face != shownFace_) ShowFace();
  if (fresh || records || f.corner != shownCorner_) ShowCorner();
  shownMesh_ = f.mesh;
  shownLevel_ = level();
  shownFace_ = f.face;
  shownCorner_ = f.corner;
}

void GeometrySubFrame::ShowMesh(bool fresh) {
  const int M = focus().mesh, L = level();
  // The boxes say whether the focused mesh has the level; with no mesh focused they wait.
  if (M < 0 || M >= model().MeshCount()) return;
  const bool has = model().Meshes[static_cast<std::size_t>(M)].HasLevel(L);
  for (int a = 0; a < 3; ++a) {
    meshMove_[a]->setEnabled(has);
    meshTurn_[a]->setEnabled(has);
  }
  meshSize_->setEnabled(has);
  meshDistance_->setEnabled(has);
  if (!has) return;
  const MeshRec& mesh = model().Meshes[static_cast<std::size_t>(M)];
  if (fresh) {
    for (int a = 0; a < 3; ++a) {
      meshMove_[a]->setText("0");
      meshTurn_[a]->setText("0");
    }
    meshSize_->setText("100");
  }
  meshDistance_->setText(NumberText(mesh.LODs[static_cast<std::size_t>(L)].Distance));
}

void GeometrySubFrame::ShowFace() {
  const FaceRec* face = focus().face ? FaceAt(model(), level(), *focus().face) : nullptr;
  if (!face) return;
  ShowNumbers(faceMove_, face->BoxCenter);
  for (int a = 0; a < 3; ++a) faceTurn_[a]->setText("0");
  faceSize_->setText("100");
  ShowNumbers(faceNormal_, face->Normal);
}

void GeometrySubFrame::ShowCorner() {
  const VertexRec* corner = focus().corner ? CornerAt(model(), level(), *focus().corner) : nullptr;
  if (!corner) return;
  const auto values = CornerValues(*corner);
  for (std::size_t i = 0; i < cornerBoxes_.size(); ++i)
    cornerBoxes_[i]->setText(NumberText(values[i]));
}

void GeometrySubFrame::DeleteSelectedMeshes() {
  const int level = this->level();
  QString label = "Delete mesh";
  int selected = 0;
  for (const MeshRec& mesh : model().Meshes)
    if (mesh.HasLevel(level) && mesh.LODs[static_cast<std::size_t>(level)].Selected) {
      if (++selected == 1) label += " " + QString::fromStdString(mesh.Name);
    }
  if (selected == 0) return;
  if (selected > 1) label = QString("Delete %1 meshes").arg(selected);
  host_.Edit(label, [level](tamsel::Model& m) { tamsel::DeleteSelectedMeshes(m, level); });
}

void GeometrySubFrame::AssignLodToSelection() {
  const int target = focus().mesh;
  const LowLevelPlan plan = PlanLowLevel(model(), target);
  const QString text = QString::fromStdString(plan.text);
  if (plan.source < 0) return host_.Status(text);
  // Folding a mesh that carries features, or over a low level, loses something: ask first.
  if ((plan.losesFeatures || plan.replacesLow) &&
      host_.Ask().OkCancel(text + ".\n\nAssign the low level?", "Assign LOD") !=
          Dialogs::Answer::Ok)
    return host_.Status("Assign LOD: nothing changed");
  int removed = -1;
  if (!host_.Edit("Assign LOD", [&](tamsel::Model& m) { removed = AssignLowLevel(m, target); }) ||
      removed < 0)
    return;
  focus().mesh = target > removed ? target - 1 : target;
  host_.SelectionChanged(true);
  host_.Status(text);
}

void GeometrySubFrame::ApplyGeometryBoxes() {
  const int level = this->level();
  const Geometry geometry = view().GeometryLevel;
  if (geometry == Geometry::Mesh) {
    const auto d = ReadNumber(meshDistance_, host_), s = ReadNumber(meshSize_, host_);
    if (!d || !s) return;
    std::optional<double> at[3];
    for (int a = 0; a < 3; ++a)
      if (!(at[a] = ReadNumber(meshMove_[a], host_))) return;
    if (!host_.Edit("Mesh UPDATE", [&](tamsel::Model& m) {
          UpdateSelectedMeshes(m, level, {*d, *s, *at[0], *at[1], *at[2]});
        }))
      return;
    // The translation and scale are a change, not a place: once applied they read "no
    // change", so that a second UPDATE (of the distance, say) does not move the mesh again.
    for (int a = 0; a < 3; ++a) meshMove_[a]->setText("0");
    meshSize_->setText("100");
  } else if (geometry == Geometry::Face) {
    const auto normal = ReadNumbers(faceNormal_, host_);
    const auto face = focus().face;
    if (!normal || !face || !FaceAt(model(), level, *face)) return;
    host_.Edit("Face UPDATE",
               [&](tamsel::Model& m) { UpdateFocusedFaceNormal(m, level, *face, *normal); });
  } else if (geometry == Geometry::Vertex) {
    const auto at = ReadNumbers({cornerBoxes_[0], cornerBoxes_[1], cornerBoxes_[2]}, host_);
    const auto normal =
        at ? ReadNumbers({cornerBoxes_[3], cornerBoxes_[4], cornerBoxes_[5]}, host_) : std::nullopt;
    if (!normal) return;
    std::optional<CornerRef> focused = focus().corner;
    if (focused && !CornerAt(model(), level, *focused)) focused.reset();
    host_.Edit("Vertex UPDATE",
               [&](tamsel::Model& m) { UpdateSelectedCorners(m, level, *at, focused, *normal); });
  }
}

}  // namespace tamsel

namespace tamsel {
namespace {

TransformScope ScopeOf(Geometry level) {
  return level == Geometry::Face ? TransformScope::Faces : TransformScope::Meshes;
}

}  // namespace

void GeometrySubFrame::TurnSelection() {
  const auto degrees = ReadNumber(turnDegrees_, host_);
  if (!degrees || view().GeometryLevel == Geometry::Vertex) return;
  const int level = this->level();
  const auto axis = static_cast<Axis>(transformAxis_->currentIndex());
  const TransformScope scope = ScopeOf(view().GeometryLevel);
  host_.Edit(
      QString("Turn %1\u00b0 about %2").arg(*degrees).arg("XYZ"[transformAxis_->currentIndex()]),
      [&](tamsel::Model& m) { RotateSelection(m, level, scope, axis, *degrees); });
}

void GeometrySubFrame::MirrorSelection() {
  if (view().GeometryLevel == Geometry::Vertex) return;
  const int level = this->level();
  const auto axis = static_cast<Axis>(transformAxis_->currentIndex());
  const TransformScope scope = ScopeOf(view().GeometryLevel);
  host_.Edit(QString("Mirror across %1").arg("XYZ"[transformAxis_->currentIndex()]),
             [&](tamsel::Model& m) { tamsel::MirrorSelection(m, level, scope, axis); });
}

}  // namespace tamsel
