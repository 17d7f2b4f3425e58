// Where the camera looks from and how much it shows: the view tool bar's orientations and
// the framing of the selection or the whole craft, shared by the viewport and the headless
// render so that both show a craft alike.
#pragma once

#include <optional>
#include <string>

#include "model/model.h"
#include "model/view_state.h"
#include "viewport/camera.h"

namespace tamsel {

enum class ViewAngle { Perspective, Top, Front, Right, Bottom, Back, Left };

// The name of the preset whose direction the camera looks in ("3D", "Top", "Front",
// "Right", "Bottom", "Back", "Left"), or "User" for any other direction.
std::string ViewName(const Camera& camera);

// "perspective", "top", "front", "right" (the tool bar's keys), "bottom", "back", "left" and
// "3d"; nothing otherwise.
std::optional<ViewAngle> ViewAngleNamed(const std::string& key);

// The orientation of a view; pan, target and zoom stay.
void OrientCamera(Camera& camera, ViewAngle angle);

// The smallest view extent zooming and framing may reach: a ten-thousandth of the model's
// size, so that the view volume never collapses.
double ZoomFloor(const Model& model);

// The camera of a fresh viewport: looking down, a view window of half-size 10.
void ResetCamera(Camera& camera);

struct Framing {
  double target[3] = {0, 0, 0};
  double extent = 0;  // half-size of the view window that frames the corners at 90 %
  // The same with the corners' projection centred in the view by `pan`: a tighter picture.
  double centredExtent = 0;
  double pan[2] = {0, 0};
  double depth = 0;  // half-depth that holds the whole model around the target
};

// Frames the selection (or the whole model when nothing is selected) at the current level
// of detail for a viewport of width by height pixels, in the camera's orientation. Nothing
// when the level has no corners. With selectionFirst false the whole model is framed.
std::optional<Framing> FrameView(const Camera& camera, const Model& model, const ViewState& view,
                                 int width, int height, bool selectionFirst = true);

// Moves the camera to a framing: target, pan (reset, or centring the projection), near and
// far planes. The extent is the caller's to set (the viewport clamps it).
void ApplyFraming(Camera& camera, const Framing& framing, bool centred = false);

}  // namespace tamsel
