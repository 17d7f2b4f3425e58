// The properties dock's content: the property tool bar over the six frames, which scroll
// when the dock is smaller than the frame on show. It chooses the frame and sub-frame on
// show, passes the document's notifications to every frame, and clears them all together.
#pragma once

#include <QWidget>
#include <array>

#include "app/panels/panel_host.h"

class QAction;
class QScrollArea;
class QStackedWidget;
class QToolBar;

namespace tamsel {

class EngineGlowFrame;
class GeometryFrame;
class HardpointFrame;
class HitzoneFrame;
class RotationFrame;
class TextureFrame;

// The property tool bar's buttons: the six panels, then the two pairs of sub-frames.
struct PanelBarActions {
  QAction* geometry = nullptr;
  QAction* texture = nullptr;
  QAction* hitzone = nullptr;
  QAction* rotation = nullptr;
  QAction* hardpoint = nullptr;
  QAction* engineGlow = nullptr;
  QAction* subGeometry = nullptr;
  QAction* subTexture = nullptr;
  QAction* subTransparency = nullptr;
  QAction* subIllumination = nullptr;
};

class PropertyPanels : public QWidget {
 public:
  PropertyPanels(PanelHost& host, QWidget* parent = nullptr);

  void Refresh(const ModelChange& change);
  void Clear();
  // Shows one frame (or sub-frame) on top of its siblings.
  void BringToFront(QWidget* frame);
  // Hides or shows the frames together; the front one stays the front one.
  void ShowFrames(bool shown);
  // The property tool bar's buttons as a new geometry level ("mesh", "face", "vertex")
  // allows them: hitzones and rotations belong to meshes, the texture sub-frame to faces
  // and corners.
  void FollowGeometryLevel(tamsel::Geometry level);

  QToolBar& Bar() { return *bar_; }
  const PanelBarActions& BarActions() const { return actions_; }
  GeometryFrame& Geometry() { return *geometry_; }
  TextureFrame& Texture() { return *texture_; }
  HitzoneFrame& Hitzone() { return *hitzone_; }
  RotationFrame& Rotation() { return *rotation_; }
  HardpointFrame& Hardpoint() { return *hardpoint_; }
  EngineGlowFrame& EngineGlow() { return *engineGlow_; }

  // The panel of a button of the first group, the sub-frame of one of the pairs.
  void ShowPanelOf(QAction* chosen);
  void ShowSubFrameOf(QAction* chosen);

 private:
  void BuildBar();
  // The sub-frame buttons that belong to the panel on show.
  void ShowSubButtonsOf(Panel panel);
  std::array<PropertyFrame*, 6> Frames() const;

  PanelHost& host_;
  QToolBar* bar_ = nullptr;
  PanelBarActions actions_;
  QStackedWidget* stack_ = nullptr;
  QScrollArea* scroll_ = nullptr;
  GeometryFrame* geometry_ = nullptr;
  TextureFrame* texture_ = nullptr;
  HitzoneFrame* hitzone_ = nullptr;
  RotationFrame* rotation_ = nullptr;
  HardpointFrame* hardpoint_ = nullptr;
  EngineGlowFrame* engineGlow_ = nullptr;
};

}  // namespace tamsel
