// Picking without GL: the elements the scene names are tested on the CPU against the same
// pick volume GL's selection mode uses (the camera's projection narrowed to a small square
// around the pointer), with the same rules: points and lines hit when any part lies in the
// volume, faces when their front side does; the depth of a hit is the smallest window depth
// of what lies inside; the nearest named hit wins and ties go to what the scene draws
// first. A two-level box hierarchy (each mesh's level, then runs of faces) skips what
// cannot reach the pointer, so a pick costs what lies near it.
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/camera.h"
#include "viewport/scene.h"

namespace tamsel {

struct PickView {
  Matrix4 modelView{}, projection{};
  int width = 0, height = 0;  // the viewport, device pixels
  double x = 0, y = 0;        // the pointer, device pixels from the top left
  double size = 5;            // the side of the pick square, device pixels
};

struct PickOutcome {
  enum Kind { NoHit, Unnamed, Named };
  Kind kind = NoHit;  // Unnamed: only drawn things that stand for no element were hit
  PickTarget target;
  double depth = 0;  // window depth of the winning hit, 0..1
};

// Boxes of each mesh level's pickable geometry, kept across picks for as long as the mesh
// record and the normal length stay (the record is held, so an edit makes a new one).
class PickBoxes {
 public:
  struct Box {
    float lo[3], hi[3];
  };
  struct Level {
    Box all;
    std::vector<Box> runs;  // faces kRun at a time
  };
  static constexpr int kRun = 64;
  const Level& For(const Model& model, int mesh, int level);

 private:
  struct Entry {
    std::shared_ptr<const MeshRec> mesh;
    int level = -1;
    double normalLength = 0;
    Level boxes;
  };
  std::vector<Entry> entries_;  // by mesh index
};

PickOutcome PickScene(const Model& model, const ViewState& view, const SceneInputs& inputs,
                      const PickView& at, PickBoxes& boxes);

// Whether a face lies in front of the point p, seen through `at`'s camera (its pointer and
// square are not used): true only where some face is nearer than p at the very spot p shows.
// For the rectangle, which takes only what shows where faces are solid.
bool HiddenByFaces(const Model& model, const ViewState& view, const PickView& at, const Single3& p,
                   PickBoxes& boxes);

// What a click chooses: what PickScene chooses, but at the corner level a click on a face
// (of any mesh, selected or not) away from the corners shown chooses the corner of that
// face nearest to the pointer on the screen.
PickOutcome PickClick(const Model& model, const ViewState& view, const SceneInputs& inputs,
                      const PickView& at, PickBoxes& boxes);

}  // namespace tamsel
