// The Edit and Mesh menus' shaping commands: delete, duplicate, cut, copy and paste through
// the system clipboard, new meshes, merge, separate, reorder, Tri2Quad, the whole craft
// centred or scaled, features placed on the surface and mirrored. Each is one undo step
// whose result the status bar tells.
#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

#include "editing/mesh_edits.h"

namespace tamsel {

class TamselWindow;

class ShapingCommands : public QObject {
 public:
  explicit ShapingCommands(TamselWindow& window);

  void Delete();
  bool Duplicate();  // true when something was copied
  void Cut();
  void Copy();
  void Paste();
  void NewMeshOf(NewShape shape);
  void MergeSelectedMeshes();
  void SeparateSelectedFaces();
  void MoveFocusedMesh(int by);  // -1 up, +1 down
  void MoveMeshTo(int from, int to);
  void MergeTriangles();
  void CentreTheCraft();
  void ScaleTheCraft();
  // The mode in which a left click on the model places a hardpoint or an engine glow.
  void SetPlaceOnSurface(bool on);
  bool PlaceOnSurface() const { return placing_; }
  // A click at `at` in the mode: the feature at the point of the face under the pointer.
  bool PlaceAt(QPoint at);
  void MirrorToOtherSide();

 private:
  // Copies the target to the clipboard; the count copied (0: nothing, said why).
  int CopyTarget(const QString& verb);  // "copy" or "cut"
  // The model point under the pointer in the plane through the craft's centre that faces the
  // viewer, on the grid.
  Single3 PointerOnGrid();

  TamselWindow& window_;
  bool placing_ = false;
};

}  // namespace tamsel
