#include "app/panels/mesh_frames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <climits>

#include "app/panels/panel_input.h"
#include "editing/ship_features.h"
#include "editing/type_names.h"
#include "model/number_text.h"

namespace tamsel {
namespace {

template <std::size_t N>
QStringList Names(const std::array<std::string_view, N>& names) {
  QStringList list;
  for (std::string_view name : names)
    list << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  return list;
}

}  // namespace

void MeshValuesFrame::Refresh(const ModelChange& change) {
  if (baseTitle_.isEmpty()) baseTitle_ = title();
  const bool fresh = change.everything || focus().mesh != shownMesh_ || level() != shownLevel_;
  shownMesh_ = focus().mesh;
  shownLevel_ = level();
  if (model().MeshCount() == 0) {  // no values of an earlier craft stay on show
    Clear();
    return;
  }
  if (!fresh && change.recordsUnchanged) return;
  if (const MeshRec* mesh = Mesh()) {
    setTitle(baseTitle_ + ": " + QString::fromStdString(mesh->Name));
    Show(*mesh);
  }
}

void MeshValuesFrame::Clear() {
  PropertyFrame::Clear();
  if (!baseTitle_.isEmpty()) setTitle(baseTitle_);
  shownMesh_ = shownLevel_ = -1;
}

const MeshRec* MeshValuesFrame::Mesh() {
  const int m = focus().mesh;
  if (m < 0 || m >= model().MeshCount()) return nullptr;
  const MeshRec& mesh = model().Meshes[static_cast<std::size_t>(m)];
  return mesh.HasLevel(level()) ? &mesh : nullptr;
}

HitzoneFrame::HitzoneFrame(PanelHost& host, QWidget* parent)
    : MeshValuesFrame(host, "hitzoneframe", "Hitzone", parent) {
  auto* grid = new QGridLayout(this);
  grid->addWidget(new QLabel("Mesh type", this), 0, 0);
  meshType_ = DropDown(this, "meshtypetext", "mesh type", Names(kMeshTypeNames));
  grid->addWidget(meshType_, 0, 1, 1, 3);
  grid->addWidget(new QLabel("Explosion type", this), 1, 0);
  explosionType_ = DropDown(this, "exptypetext", "explosion type", Names(kExplosionTypeNames));
  grid->addWidget(explosionType_, 1, 1, 1, 3);
  span_ = AddXYZRow(grid, 2, this, "Span", "spantext", "@ span");
  center_ = AddXYZRow(grid, 3, this, "Center", "centertext", "@ center");
  min_ = AddXYZRow(grid, 4, this, "Minimum", "mintext", "@ minimum");
  max_ = AddXYZRow(grid, 5, this, "Maximum", "maxtext", "@ maximum");
  grid->addWidget(new QLabel("Target ID", this), 6, 0);
  grid->addWidget(targetId_ = TextBox(this, "targetidtext", "target ID"), 6, 1);
  target_ = AddXYZRow(grid, 7, this, "Target", "targettext", "@ target");
  auto* update = Button(this, "updatehitbut", "UPDATE");
  grid->addWidget(update, 8, 3);
  grid->setRowStretch(9, 1);
  PrefixCaptions(this, "Hitzone");
  connect(update, &QPushButton::clicked, this, [this] { ApplyHitzoneBoxes(); });
  for (int a = 0; a < 3; ++a)
    for (QLineEdit* box : {min_[a], max_[a]})
      connect(box, &QLineEdit::textEdited, this, [this, a] { FollowExtentBoxes(a); });
}

void HitzoneFrame::Show(const MeshRec& mesh) {
  ShowCode(meshType_, mesh.MeshType, 32);
  ShowCode(explosionType_, mesh.ExplosionType, 11);
  ShowNumbers(span_, mesh.Span);
  ShowNumbers(center_, mesh.Center);
  ShowNumbers(min_, mesh.Min);
  ShowNumbers(max_, mesh.Max);
  ShowNumbers(target_, mesh.Target);
  targetId_->setText(QString::number(mesh.TargetId));
}

void HitzoneFrame::FollowExtentBoxes(int axis) {
  const auto lo = ParseDouble(min_[axis]->text().toStdString());
  const auto hi = ParseDouble(max_[axis]->text().toStdString());
  if (!lo || !hi) return;
  span_[axis]->setText(NumberText(static_cast<float>(*hi - *lo)));
  center_[axis]->setText(NumberText(static_cast<float>(*lo + (*hi - *lo) / 2)));
}

void HitzoneFrame::ApplyHitzoneBoxes() {
  const int m = focus().mesh;
  if (m < 0 || m >= model().MeshCount()) return;
  Hitzone h;
  for (auto [boxes, value] :
       {std::pair{&span_, &h.span}, std::pair{&center_, &h.center}, std::pair{&min_, &h.min},
        std::pair{&max_, &h.max}, std::pair{&target_, &h.target}}) {
    const auto read = ReadNumbers(*boxes, host_);
    if (!read) return;
    *value = *read;
  }
  const auto id = ReadWhole(targetId_, INT32_MIN, INT32_MAX, host_, "a whole number");
  if (!id) return;
  const int type = meshType_->currentIndex();
  const int explosion = explosionType_->currentIndex();
  if (type >= 0 && type < 32) h.meshType = type;  // an extra entry keeps the stored code
  if (explosion >= 0 && explosion < 11) h.explosionType = explosion;
  h.targetId = static_cast<std::int32_t>(*id);
  host_.Edit("Hitzone UPDATE", [&](tamsel::Model& model) { UpdateHitzone(model, m, h); });
}

RotationFrame::RotationFrame(PanelHost& host, QWidget* parent)
    : MeshValuesFrame(host, "rotationframe", "Rotation", parent) {
  auto* grid = new QGridLayout(this);
  pivot_ = AddXYZRow(grid, 0, this, "Pivot", "pivottext", "@ pivot");
  axis_ = AddXYZRow(grid, 1, this, "Rotation axis", "axistext", "@ rotation");
  aim_ = AddXYZRow(grid, 2, this, "Translation", "aimtext", "@ translation");
  degree_ = AddXYZRow(grid, 3, this, "Scale", "degreetext", "@ scale");
  auto* update = Button(this, "updaterotbut", "UPDATE");
  grid->addWidget(update, 4, 3);
  auto* animate = Frame(this, "rotationanimframe", "Animate");
  auto* row = new QHBoxLayout(animate);
  row->addWidget(animateAxis_ = CheckBox(animate, "rotanimaxis", "Rotation"));
  row->addWidget(animateAim_ = CheckBox(animate, "rotanimaim", "Translation"));
  row->addWidget(animateDegree_ = CheckBox(animate, "rotanimdegree", "Scale"));
  row->addStretch(1);  // a box takes clicks on its own text only: keep it no wider
  grid->addWidget(animate, 5, 0, 1, 4);
  grid->setRowStretch(6, 1);
  PrefixCaptions(this, "Rotation");
  connect(update, &QPushButton::clicked, this, [this] { ApplyRotationBoxes(); });
  // Ticking starts an animation from its rest; unticking shows the part at rest again.
  connect(animateAxis_, &QCheckBox::clicked, this, [this] {
    view().AxisAnimAngle = 0;
    host_.ViewChanged();
  });
  connect(animateAim_, &QCheckBox::clicked, this, [this] {
    view().AimAnimStep = 0;
    host_.ViewChanged();
  });
  connect(animateDegree_, &QCheckBox::clicked, this, [this] {
    view().DegreeAnimStep = 0;
    host_.ViewChanged();
  });
}

RotationFrame::Animations RotationFrame::Animated() const {
  return {animateAxis_->isChecked(), animateAim_->isChecked(), animateDegree_->isChecked()};
}

void RotationFrame::Show(const MeshRec& mesh) {
  ShowNumbers(pivot_, mesh.Pivot);
  ShowNumbers(axis_, mesh.Axis);
  ShowNumbers(aim_, mesh.Aim);
  ShowNumbers(degree_, mesh.Degree);
}

void RotationFrame::ApplyRotationBoxes() {
  const int m = focus().mesh;
  if (m < 0 || m >= model().MeshCount()) return;
  Rotation r;
  for (auto [boxes, value] : {std::pair{&pivot_, &r.pivot}, std::pair{&axis_, &r.axis},
                              std::pair{&aim_, &r.aim}, std::pair{&degree_, &r.degree}}) {
    const auto read = ReadNumbers(*boxes, host_);
    if (!read) return;
    *value = *read;
  }
  host_.Edit("Rotation UPDATE", [&](tamsel::Model& model) { UpdateRotation(model, m, r); });
}

}  // namespace tamsel
