#include "viewport/scene_view.h"

#include <algorithm>

namespace tamsel {

SceneView SceneView::Of(const ViewState& view, const SceneInputs& in) {
  SceneView s;
  s.level = view.LevelIndex();
  s.geometry = view.GeometryLevel;
  s.textured = view.DisplayMode == Display::Texture;
  s.hiddenLines = !s.textured && view.HiddenLines;
  s.backFaces = view.BackFacesShown;
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

namespace {

ColorTriple TowardsWhite(const ColorTriple& c) {
  const auto half = [](int v) { return (255 + std::clamp(v, 0, 255) + 1) / 2; };
  return {half(c.R), half(c.G), half(c.B)};
}

}  // namespace

ColorTriple SceneView::Primary(const ColorSettings& c) const {
  return textured ? TowardsWhite(c.PrimarySelectTexColor) : c.PrimarySelectWireColor;
}

ColorTriple SceneView::Secondary(const ColorSettings& c) const {
  return textured ? TowardsWhite(c.SecondarySelectTexColor) : c.SecondarySelectWireColor;
}

}  // namespace tamsel
