#include "app/panels/geometry_frame.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "app/controls.h"
#include "app/dialogs.h"
#include "app/panels/geometry_subframe.h"
#include "app/panels/texture_subframe.h"
#include "app/row_list.h"
#include "editing/geometry_edits.h"
#include "editing/select_many.h"
#include "editing/selection.h"

namespace tamsel {
namespace {

template <typename Ref>
int RowOf(const std::vector<Ref>& rows, const std::optional<Ref>& ref) {
  if (!ref) return -1;
  const auto at = std::find(rows.begin(), rows.end(), *ref);
  return at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

GeometryFrame::GeometryFrame(PanelHost& host, QWidget* parent)
    : PropertyFrame(host, "geometryframe", "Geometry", parent) {
  auto* layout = new QVBoxLayout(this);
  // Each list under a filter box: rows whose text holds what is typed, any case.
  auto* lists = new QGridLayout;
  meshFilter_ = TextBox(this, "meshfilter", "show the meshes whose names hold this");
  faceFilter_ =
      TextBox(this, "facefilter", "show the faces whose rows hold this (\"M:3\", \"F:12\")");
  for (QLineEdit* filter : {meshFilter_, faceFilter_}) {
    filter->setPlaceholderText("Filter");
    filter->setClearButtonEnabled(true);
  }
  lists->addWidget(meshFilter_, 0, 0);
  lists->addWidget(faceFilter_, 0, 1);
  lists->addWidget(meshList_ = ListBox(this, "meshlist", "Mesh List"), 1, 0);
  lists->addWidget(faceList_ = ListBox(this, "facelist", "Face List"), 1, 1);
  layout->addLayout(lists, 1);
  connect(meshFilter_, &QLineEdit::textChanged, meshList_, &RowList::SetFilter);
  connect(faceFilter_, &QLineEdit::textChanged, faceList_, &RowList::SetFilter);
  stack_ = new QStackedWidget(this);
  stack_->setObjectName("geometrysubstack");
  stack_->addWidget(geometry_ = new GeometrySubFrame(host, stack_));
  stack_->addWidget(texture_ = new TextureSubFrame(host, stack_));
  layout->addWidget(stack_, 3);
  for (std::size_t i = 0; i < 6; ++i) corners_[i] = geometry_->CornerLists()[i];
  corners_[6] = texture_->CornerLists()[0];
  corners_[7] = texture_->CornerLists()[1];

  connect(meshList_, &RowList::MouseUp, this, [this] { ChooseListedMeshes(); });
  connect(meshList_, &RowList::DblClick, this, [this] { RenameFocusedMesh(); });
  connect(faceList_, &RowList::MouseUp, this, [this] { ChooseListedFaces(); });
  for (int i = 0; i < 8; ++i)
    connect(corners_[static_cast<std::size_t>(i)], &RowList::MouseUp, this,
            [this, i] { ChooseListedCorners(i); });
}

void GeometryFrame::Clear() {
  PropertyFrame::Clear();
  geometry_->Clear();
  texture_->Clear();
  faceRows_.clear();
  cornerRows_.clear();
  faceRowsCurrent_ = cornerRowsCurrent_ = false;
  cornerRowsLevel_ = -1;
}

void GeometryFrame::Refresh(const ModelChange& change) {
  const int level = this->level();
  if (!change.recordsUnchanged) faceRowsCurrent_ = cornerRowsCurrent_ = false;  // texts may differ
  ShowMeshNames(change);
  SyncMeshRows(level);
  RebuildFaceRows(level);
  RebuildCornerRows(level);
  const Focus& f = focus();
  meshList_->SetListIndex(f.mesh >= 0 && f.mesh < meshList_->ListCount() ? f.mesh : -1);
  faceList_->SetListIndex(RowOf(faceRows_, f.face));
  for (RowList* list : corners_) list->SetListIndex(RowOf(cornerRows_, f.corner));
  if (change.everything || change.view) ShowLevel(view().GeometryLevel);
  geometry_->Refresh(change);
  texture_->Refresh(change);
  if (change.focus) TakeKeyboard();
}

void GeometryFrame::ShowMeshNames(const ModelChange& change) {
  if (change.everything || change.meshList) {
    std::vector<QString> names;
    for (const MeshRec& mesh : model().Meshes) names.push_back(Q(mesh.Name));
    meshList_->SetRows(std::move(names));
    return;
  }
  for (int m : change.meshes)
    if (m >= 0 && m < meshList_->ListCount())
      meshList_->SetList(m, Q(model().Meshes[static_cast<std::size_t>(m)].Name));
}

void GeometryFrame::ShowLevel(Geometry level) {
  meshList_->setVisible(level == Geometry::Mesh);
  meshFilter_->setVisible(level == Geometry::Mesh);
  faceList_->setVisible(level == Geometry::Face);
  faceFilter_->setVisible(level == Geometry::Face);
  geometry_->ShowLevel(level);
  texture_->ShowLevel(level);
  FollowBuddies(this);
  // With the mesh and face lists hidden, their row gives its height to the corner lists.
  // Only the vertex level's corner lists need the panel's height; otherwise the mesh and
  // face lists take it, and no grey space is left between.
  if (auto* column = qobject_cast<QBoxLayout*>(layout())) {
    column->setStretch(0, level == Geometry::Vertex ? 0 : 1);
    column->setStretch(1, level == Geometry::Vertex ? 1 : 0);
  }
  // The sub-frames' sizes changed with what they show, perhaps while hidden: the stack
  // measures them anew.
  for (QWidget* sub : {static_cast<QWidget*>(geometry_), static_cast<QWidget*>(texture_)}) {
    sub->layout()->invalidate();
    sub->updateGeometry();
  }
  stack_->updateGeometry();
}

// The list of the level being edited takes the keyboard, so that its rows can be walked.
void GeometryFrame::TakeKeyboard() {
  const Geometry g = view().GeometryLevel;
  if (g == Geometry::Mesh) meshList_->setFocus();
  if (g == Geometry::Face) faceList_->setFocus();
  if (g == Geometry::Vertex) corners_[0]->setFocus();
}

void GeometryFrame::SyncMeshRows(int level) {
  std::vector<bool> rows = meshList_->SelectedRows();
  rows.resize(static_cast<std::size_t>(meshList_->ListCount()), false);
  for (std::size_t m = 0; m < model().Meshes.size() && m < rows.size(); ++m) {
    const MeshRec& mesh = model().Meshes[m];
    if (mesh.HasLevel(level)) rows[m] = mesh.LODs[static_cast<std::size_t>(level)].Selected != 0;
  }
  meshList_->SetSelectedRows(rows);
}

void GeometryFrame::RebuildFaceRows(int level) {
  std::vector<FaceRef> refs = FaceRows(model(), level);
  if (!faceRowsCurrent_ || refs != faceRows_ ||
      faceList_->ListCount() != static_cast<int>(refs.size())) {
    faceRows_ = std::move(refs);
    std::vector<QString> rows;
    rows.reserve(faceRows_.size());
    for (const FaceRef& r : faceRows_) rows.push_back(Q(FaceRow(r.mesh, r.face)));
    faceList_->SetRows(std::move(rows));
    faceRowsCurrent_ = true;
  }
  std::vector<bool> selected(faceRows_.size());
  for (std::size_t i = 0; i < faceRows_.size(); ++i)
    selected[i] = FaceAt(model(), level, faceRows_[i])->Selected != 0;
  faceList_->SetSelectedRows(selected);
}

void GeometryFrame::RebuildCornerRows(int level) {
  std::vector<CornerRef> refs = CornerRows(model(), level);
  const bool same = cornerRowsCurrent_ && cornerRowsLevel_ == level && refs == cornerRows_ &&
                    corners_[0]->ListCount() == static_cast<int>(refs.size());
  cornerRows_ = std::move(refs);
  std::vector<bool> selected(cornerRows_.size());
  for (std::size_t i = 0; i < cornerRows_.size(); ++i)
    selected[i] = CornerAt(model(), level, cornerRows_[i])->Selected != 0;
  if (same) {
    for (RowList* list : corners_) list->SetSelectedRows(selected);
    return;
  }
  cornerRowsCurrent_ = true;
  cornerRowsLevel_ = level;
  for (std::size_t l = 0; l < corners_.size(); ++l) {
    std::vector<QString> rows;
    rows.reserve(cornerRows_.size());
    for (const CornerRef& r : cornerRows_)
      rows.push_back(
          Q(CornerRow(r.mesh, r.face, r.corner, CornerValues(*CornerAt(model(), level, r))[l])));
    corners_[l]->SetRows(std::move(rows));
    corners_[l]->SetSelectedRows(selected);
  }
}

void GeometryFrame::ChooseListedMeshes() {
  const ModelChange change = SelectMeshRows(model(), level(), meshList_->SelectedRows());
  focus().mesh = meshList_->ListIndex();
  host_.Doc().Changed(change);
}

void GeometryFrame::ChooseMeshes(const std::vector<int>& meshes, int focused) {
  std::vector<bool> rows(static_cast<std::size_t>(meshList_->ListCount()), false);
  for (int m : meshes)
    if (m >= 0 && m < meshList_->ListCount()) rows[static_cast<std::size_t>(m)] = true;
  meshList_->SetSelectedRows(rows);
  if (focused >= 0 && focused < meshList_->ListCount()) meshList_->SetListIndex(focused);
  ChooseListedMeshes();
}

void GeometryFrame::RenameFocusedMesh() {
  const int row = meshList_->ListIndex();
  if (row < 0 || row >= model().MeshCount()) return;
  const auto name = host_.Ask().InputBox("Rename mesh to:", "Rename mesh", meshList_->List(row));
  if (!name || name->toStdString() == model().Meshes[static_cast<std::size_t>(row)].Name)
    return;  // Cancel keeps the name
  host_.Edit("Rename mesh", [&](tamsel::Model& m) { RenameMesh(m, row, name->toStdString()); });
}

void GeometryFrame::ChooseListedFaces() {
  const int level = this->level();
  const ModelChange change = SelectFaceRows(model(), level, faceRows_, faceList_->SelectedRows());
  const int row = faceList_->ListIndex();
  if (row >= 0 && static_cast<std::size_t>(row) < faceRows_.size())
    FocusFace(focus(), model(), level, faceRows_[static_cast<std::size_t>(row)],
              view().FlightGroupColor);
  host_.Doc().Changed(change);
}

void GeometryFrame::ChooseListedCorners(int list) {
  const int level = this->level();
  RowList* source = corners_[static_cast<std::size_t>(list)];
  const int row = source->ListIndex();
  const std::vector<bool> selected = source->SelectedRows();
  for (RowList* other : corners_) {
    if (other == source) continue;
    other->SetListIndex(row);
    other->SetSelectedRows(selected);
  }
  const ModelChange change = SelectCornerRows(model(), level, cornerRows_, selected);
  if (row >= 0 && static_cast<std::size_t>(row) < cornerRows_.size()) {
    focus().corner = cornerRows_[static_cast<std::size_t>(row)];
  }
  host_.Doc().Changed(change);
}

bool GeometryFrame::FindFace(const QString& name) {
  // The row's own numbers are 1-based: "M:3 F:12", "3:12" or "12".
  static const QRegularExpression full(R"(^\s*(?:M:)?\s*(\d+)\s*(?:[: ]\s*F:|:|\s)\s*(\d+)\s*$)",
                                       QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression faceOnly(R"(^\s*(?:F:)?\s*(\d+)\s*$)",
                                           QRegularExpression::CaseInsensitiveOption);
  int mesh = focus().mesh, face = -1;
  if (const auto m = full.match(name); m.hasMatch()) {
    mesh = m.captured(1).toInt() - 1;
    face = m.captured(2).toInt() - 1;
  } else if (const auto f = faceOnly.match(name); f.hasMatch()) {
    face = f.captured(1).toInt() - 1;
  }
  const int level = this->level();
  if (!FaceAt(model(), level, {mesh, face})) return false;
  const ModelChange change = SelectFaceAlone(model(), level, {mesh, face});
  FocusFace(focus(), model(), level, {mesh, face}, view().FlightGroupColor);
  faceFilter_->clear();  // the face found is on show
  host_.Doc().Changed(change);
  if (const int row = faceList_->ListIndex(); row >= 0)
    faceList_->scrollTo(faceList_->model()->index(row, 0));
  return true;
}

}  // namespace tamsel
