// The geometry frame: the mesh and face lists over the geometry and texture sub-frames.
// It keeps the references behind the face and corner rows (a row's text is never read
// back) and turns clicks in its lists into the model's flags and the document's focus.
#pragma once

#include <array>
#include <vector>

#include "app/panels/panel_host.h"
#include "editing/list_rows.h"

class QLineEdit;
class QStackedWidget;

namespace tamsel {

class GeometrySubFrame;
class RowList;
class TextureSubFrame;

class GeometryFrame : public PropertyFrame {
 public:
  GeometryFrame(PanelHost& host, QWidget* parent);
  void Refresh(const ModelChange& change) override;
  void Clear() override;

  GeometrySubFrame& GeometrySub() { return *geometry_; }
  TextureSubFrame& TextureSub() { return *texture_; }
  QStackedWidget& SubStack() { return *stack_; }

  // Meshes chosen elsewhere (the outliner): as a click in the mesh list.
  void ChooseMeshes(const std::vector<int>& meshes, int focused);

  void ChooseListedMeshes();
  void RenameFocusedMesh();
  void ChooseListedFaces();
  void ChooseListedCorners(int list);
  // "Find Face": the face named "M:3 F:12" (or "3:12", or "12" in the focused mesh), by the
  // numbers its row shows, is selected alone and focused at the face level. False when
  // there is no such face.
  bool FindFace(const QString& name);

 private:
  void ShowLevel(Geometry level);
  void ShowMeshNames(const ModelChange& change);
  // Rows from the flags. Face and corner rows are rebuilt only when their elements or
  // texts changed, and otherwise only their selection is set: a pick changes flags.
  void SyncMeshRows(int level);
  void RebuildFaceRows(int level);
  void RebuildCornerRows(int level);
  void TakeKeyboard();

  RowList* meshList_ = nullptr;
  RowList* faceList_ = nullptr;
  QLineEdit* meshFilter_ = nullptr;
  QLineEdit* faceFilter_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  GeometrySubFrame* geometry_ = nullptr;
  TextureSubFrame* texture_ = nullptr;
  std::array<RowList*, 8> corners_{};  // X, Y, Z, I, J, K, U, V
  std::vector<FaceRef> faceRows_;
  std::vector<CornerRef> cornerRows_;
  bool faceRowsCurrent_ = false, cornerRowsCurrent_ = false;  // texts as the model's
  int cornerRowsLevel_ = -1;
};

}  // namespace tamsel
