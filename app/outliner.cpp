#include "app/outliner.h"

#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "editing/selection_summary.h"
#include "editing/type_names.h"

#include <algorithm>

namespace tamsel {

namespace {
constexpr int kMeshRole = Qt::UserRole + 1;
}

// Rows of meshes drag among themselves; a drop says where the mesh goes and changes no row.
// Rows of meshes drag among themselves; a drop says where the mesh goes and changes no row.
class Outliner::MeshTree : public QTreeWidget {
 public:
  explicit MeshTree(Outliner* owner) : QTreeWidget(owner), owner_(owner) {
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::InternalMove);
  }

 protected:
  // Rows of this tree alone: what another program drags in is not a mesh.
  static bool OurRows(const QDropEvent* event) {
    return event->mimeData() &&
           event->mimeData()->hasFormat("application/x-qabstractitemmodeldatalist");
  }
  void dragEnterEvent(QDragEnterEvent* event) override {
    if (OurRows(event)) event->acceptProposedAction();
  }
  void dragMoveEvent(QDragMoveEvent* event) override {
    if (OurRows(event)) event->acceptProposedAction();
  }
  void dropEvent(QDropEvent* event) override {
    const QTreeWidgetItem* dragged = currentItem();
    const QPoint at = event->position().toPoint();
    const QTreeWidgetItem* over = itemAt(at);
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    if (!OurRows(event) || !dragged || dragged->parent()) return;  // levels stay with their mesh
    const int from = MeshOf(dragged);
    int to = over ? MeshOf(over) : topLevelItemCount() - 1;
    // On the upper half of a row the mesh goes before that row's mesh, else after it.
    if (over) {
      const QRect row = visualItemRect(over);
      const bool below = over->parent() || at.y() >= row.center().y();
      if (below && to < from) ++to;
      if (!below && to > from) --to;
    }
    if (from >= 0 && to >= 0 && from != to) emit owner_->MeshDragged(from, to);
  }

 private:
  Outliner* owner_;
};

QString GroupedCount(long long n) {
  return QString::fromStdString(GroupThousands(n));
}

Outliner::Outliner(QWidget* parent) : QWidget(parent) {
  setObjectName("outlinerpanel");
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(4, 4, 4, 4);
  filter_ = new QLineEdit(this);
  filter_->setObjectName("outlinerfilter");
  filter_->setPlaceholderText("Filter by name");
  filter_->setClearButtonEnabled(true);
  filter_->setToolTip(
      "Shows only the meshes, hardpoints and engine glows whose names hold this text");
  tree_ = new MeshTree(this);
  tree_->setObjectName("outliner");
  tree_->setHeaderLabels({"Element", "Faces"});
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  tree_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  tree_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  tree_->setToolTip(
      "Meshes chosen here are the selected meshes (Ctrl and Shift add to the choice); drag a "
      "mesh up or down to reorder the meshes");
  column->addWidget(filter_);
  column->addWidget(tree_, 1);
  connect(filter_, &QLineEdit::textChanged, this, &Outliner::ApplyFilter);
  connect(tree_, &QTreeWidget::itemSelectionChanged, this, &Outliner::OnSelectionChanged);
}

int Outliner::MeshOf(const QTreeWidgetItem* item) {
  while (item && item->parent()) item = item->parent();
  return item ? item->data(0, kMeshRole).toInt() : -1;
}

void Outliner::Show(const Model& model, int level) {
  showing_ = true;
  tree_->clear();
  QList<QTreeWidgetItem*> rows;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    auto* row = new QTreeWidgetItem(
        {QString::fromStdString(mesh.Name),
         mesh.HasLevel(level) ? GroupedCount(mesh.LODs[static_cast<std::size_t>(level)].FaceCount())
                              : QString()});
    row->setData(0, kMeshRole, m);
    for (std::size_t l = 0; l < mesh.LODs.size(); ++l)
      new QTreeWidgetItem(
          row,
          {QString("Level %1 (from %2)").arg(l + 1).arg(static_cast<double>(mesh.LODs[l].Distance)),
           GroupedCount(mesh.LODs[l].FaceCount())});
    for (std::size_t h = 0; h < mesh.Hardpoints.size(); ++h) {
      const int type = mesh.Hardpoints[h].HardpointType;
      const QString name =
          type >= 0 && type < static_cast<int>(kHardpointTypeNames.size())
              ? QString::fromUtf8(
                    kHardpointTypeNames[static_cast<std::size_t>(type)].data(),
                    static_cast<int>(kHardpointTypeNames[static_cast<std::size_t>(type)].size()))
              : QString::number(type);
      new QTreeWidgetItem(row, {QString("Hardpoint %1: %2").arg(h + 1).arg(name)});
    }
    for (std::size_t g = 0; g < mesh.EngineGlows.size(); ++g)
      new QTreeWidgetItem(row, {QString("Engine glow %1").arg(g + 1)});
    rows << row;
  }
  tree_->addTopLevelItems(rows);
  showing_ = false;
  ShowSelection(model, level);
  ApplyFilter();
}

void Outliner::ShowSelection(const Model& model, int level) {
  showing_ = true;
  const int count = std::min(tree_->topLevelItemCount(), model.MeshCount());
  for (int m = 0; m < count; ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    const bool selected =
        mesh.HasLevel(level) && mesh.LODs[static_cast<std::size_t>(level)].Selected;
    QTreeWidgetItem* row = tree_->topLevelItem(m);
    if (row->isSelected() != selected) row->setSelected(selected);
    for (int c = 0; c < row->childCount(); ++c)
      if (row->child(c)->isSelected()) row->child(c)->setSelected(false);
  }
  showing_ = false;
}

void Outliner::ApplyFilter() {
  const QString text = filter_->text().trimmed();
  for (int m = 0; m < tree_->topLevelItemCount(); ++m) {
    QTreeWidgetItem* row = tree_->topLevelItem(m);
    bool childShown = false;
    for (int c = 0; c < row->childCount(); ++c) {
      const bool shown =
          text.isEmpty() || row->child(c)->text(0).contains(text, Qt::CaseInsensitive);
      row->child(c)->setHidden(!shown && !row->text(0).contains(text, Qt::CaseInsensitive));
      childShown |= shown && !text.isEmpty() && !row->child(c)->text(0).startsWith("Level");
    }
    row->setHidden(!text.isEmpty() && !row->text(0).contains(text, Qt::CaseInsensitive) &&
                   !childShown);
    if (childShown) row->setExpanded(true);
  }
}

void Outliner::OnSelectionChanged() {
  if (showing_) return;
  // A child row chooses its mesh.
  std::vector<bool> chosen(static_cast<std::size_t>(tree_->topLevelItemCount()), false);
  for (QTreeWidgetItem* item : tree_->selectedItems()) {
    const int m = MeshOf(item);
    if (m >= 0 && m < static_cast<int>(chosen.size())) chosen[static_cast<std::size_t>(m)] = true;
  }
  std::vector<int> meshes;
  for (std::size_t m = 0; m < chosen.size(); ++m)
    if (chosen[m]) meshes.push_back(static_cast<int>(m));
  emit MeshesChosen(meshes, MeshOf(tree_->currentItem()));
}

}  // namespace tamsel
