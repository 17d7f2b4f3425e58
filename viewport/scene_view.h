// What the scene shows, decided once from the view state and the panels' inputs. The
// reference drawing, the layered scene and picking take their rules from here, so that
// what is drawn and what a click can reach never disagree.
#pragma once

#include <optional>

#include "editing/list_rows.h"
#include "editing/selection.h"
#include "model/color_settings.h"
#include "model/view_state.h"

namespace tamsel {

// The focused rows of the lists and the rotation frame's ticked animations.
struct SceneInputs {
  int focusedMesh = -1;
  std::optional<FaceRef> focusedFace;
  std::optional<CornerRef> focusedCorner;
  bool animateAxis = false, animateAim = false, animateDegree = false;
};

struct SceneView {
  int level = 0;                       // the level of detail shown
  Geometry geometry = Geometry::Mesh;  // what a click picks: meshes, faces or corners
  bool textured = false;               // faces filled with their textures, else their edges
  bool hiddenLines = false;            // a wireframe whose faces hide the edges behind them
  bool backFaces = false;              // faces seen from behind shown (and hiding) too
  int flightGroup = 0;                 // the flight-group slot whose textures show
  bool meshCentres = false;            // each mesh's centre point (mesh level, wireframe)
  bool faceCentres = false;            // the selected meshes' face centres (face level, wireframe)
  bool corners = false;                // the selected faces' corners (vertex level)
  bool normals = false;                // normals of the selected faces (face) or corners (vertex)
  bool vectors = false;                // software vectors of the selected faces
  Panel panel = Panel::Geometry;       // whose drawing lies over the craft
  int animatedMesh = -1;               // the mesh the rotation frame moves, -1 none

  static SceneView Of(const ViewState& view, const SceneInputs& inputs);

  bool MeshLevel() const { return geometry == Geometry::Mesh; }
  bool FaceLevel() const { return geometry == Geometry::Face; }
  bool VertexLevel() const { return geometry == Geometry::Vertex; }
  PickKind Picks() const;
  bool Animated(int mesh) const { return mesh >= 0 && mesh == animatedMesh; }
  // Whether faces are solid: drawn filled, or hiding the wireframe behind them.
  bool SolidFaces() const { return textured || hiddenLines; }
  // The selection colours of the mode drawn: the focused element's, then the others'. A
  // textured face is drawn in its texture times this colour, so the textured colours are
  // taken halfway towards white: the texture keeps at least half its contrast, and a
  // selected yellow face under a blue selection colour does not turn black.
  ColorTriple Primary(const ColorSettings& colors) const;
  ColorTriple Secondary(const ColorSettings& colors) const;
};

}  // namespace tamsel
