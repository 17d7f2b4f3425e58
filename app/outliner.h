// The outliner: the craft as a tree (meshes, their levels of detail with face counts, their
// hardpoints and engine glows), filtered by name; a mesh row dragged up or down reorders the
// meshes. Its selection of meshes is the mesh
// list's selection: choosing rows here chooses those meshes, and a selection made anywhere
// else shows here.
#pragma once

#include <QWidget>
#include <vector>

#include "model/model.h"

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace tamsel {

class Outliner : public QWidget {
  Q_OBJECT
 public:
  explicit Outliner(QWidget* parent = nullptr);

  // Rebuilds the tree from the model; `level` is the level whose selection shows.
  void Show(const Model& model, int level);
  // Only the selection, from the meshes' flags at `level` (cheap: no rows rebuilt).
  void ShowSelection(const Model& model, int level);
  QTreeWidget* Tree() const { return tree_; }
  QLineEdit* Filter() const { return filter_; }

 signals:
  // The user chose these meshes (indices into the model), `focus` the one clicked last.
  void MeshesChosen(const std::vector<int>& meshes, int focus);
  // The user dragged mesh `from`'s row to put the mesh at index `to`. The tree does not
  // move the row itself: it shows the model again once the move is made.
  void MeshDragged(int from, int to);

 private:
  void ApplyFilter();
  void OnSelectionChanged();
  static int MeshOf(const QTreeWidgetItem* item);
  class MeshTree;

  QLineEdit* filter_;
  QTreeWidget* tree_;
  bool showing_ = false;  // selection set from the model: not the user's choice
};

// "2 505": thousands set apart by a space, as the status bar and the outliner write counts.
QString GroupedCount(long long n);

}  // namespace tamsel
