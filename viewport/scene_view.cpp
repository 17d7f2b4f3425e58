#include "viewport/scene_view.h"

namespace tamsel {

SceneView SceneView::Of(const ViewState& view, const SceneInputs& in) {
  SceneView s;
  s.level = view.LevelIndex();
  s.geometry = view.GeometryLevel;
  s.textured = view.DisplayMode == Display::Texture;
  s.flightGroup = view.FlightGroupColor;
  s.meshCentres = s.MeshLevel() && !s.textured;
  s.faceCentres = s.FaceLevel() && !s.textured;
  s.corners = s.VertexLevel();
  s.normals = view.NormalsShown && !s.MeshLevel();
  s.vectors = s.FaceLevel() && view.GeometrySubPanel == GeometrySub::Texture;
  s.panel = view.PropertyPanel;
  if (s.panel == Panel::Rotation && (in.animateAxis || in.animateAim || in.animateDegree))
    s.animatedMesh = in.focusedMesh;
  return s;
}

PickKind SceneView::Picks() const {
  return LevelKind(geometry);
}

const ColorTriple& SceneView::Primary(const ColorSettings& c) const {
  return textured ? c.PrimarySelectTexColor : c.PrimarySelectWireColor;
}

const ColorTriple& SceneView::Secondary(const ColorSettings& c) const {
  return textured ? c.SecondarySelectTexColor : c.SecondarySelectWireColor;
}

}  // namespace tamsel
