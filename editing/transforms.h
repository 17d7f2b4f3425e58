// Turning and mirroring the selection: the meshes selected at a level, or the selected
// faces of those meshes. Each is one undo step for the caller. The centre is the centre of
// the selection's box, computed exactly; a quarter turn and a mirror then move positions
// that lie on a binary grid (as modelled craft mostly do) exactly, so that four quarter
// turns or two mirrors give the craft back bit for bit. Other positions are rounded to the
// nearest Single after each step.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "editing/edit_target.h"
#include "model/model.h"

namespace tamsel {

enum class Axis { X, Y, Z };
enum class TransformScope { Meshes, Faces };

// Turns the selection by `degrees` (right-handed, about the axis pointing at the viewer)
// about the line parallel to `axis` through the selection's centre. Corners, their normals,
// face normals and software vectors turn; at mesh scope also the hitzone, the rotation's
// pivot and vectors, the hardpoints and the engine glows. Recomputes the bounds. Returns
// the number of faces turned.
int RotateSelection(Model& model, int level, TransformScope scope, Axis axis, double degrees);

// Mirrors the selection across the plane through its centre perpendicular to `axis`. Each
// face's corners are put in reverse order (triangles keep corner 3 at corner 0), so that a
// face keeps its outward side; normals and vectors are mirrored too. Returns the number of
// faces mirrored.
int MirrorSelection(Model& model, int level, TransformScope scope, Axis axis);

// A move, turn or scale as the gizmo and the G, R and S keys make it.
enum class TransformKind { Move, Rotate, Scale };
struct Transform {
  TransformKind kind = TransformKind::Move;
  std::array<double, 3> amount{0, 0, 0};  // Move: the offset; Scale: factors (1 keeps)
  Axis axis = Axis::Z;                    // Rotate: about the line through the centre
  double degrees = 0;
  static Transform Move(double x, double y, double z) { return {TransformKind::Move, {x, y, z}}; }
  static Transform Scale(double x, double y, double z) { return {TransformKind::Scale, {x, y, z}}; }
  static Transform Rotate(Axis axis, double degrees) {
    return {TransformKind::Rotate, {0, 0, 0}, axis, degrees};
  }
};

// The centre of the target's box (a feature's position); nothing when the target is empty.
std::optional<Single3> TargetCentre(const Model& model, const EditTarget& target);

// Applies the transform to the target about its centre. Meshes move whole: every level,
// the hitzone, the rotation, the hardpoints and the engine glows. Faces and corners move
// within their level (a triangle's corner 3 with its corner 0). A hardpoint moves; an
// engine glow moves, and a scale scales its size. Normals turn with a turn, follow a scale
// and stay unit length; a scale that turns space inside out reverses each face's corners
// so that faces keep their outward side. Returns the number of elements moved.
int TransformTarget(Model& model, const EditTarget& target, const Transform& t);

// Every mesh, whole, moved so that the model box's centre is at the origin. Returns the
// offset applied.
Single3 CentreCraft(Model& model);
// Every mesh, whole, scaled by `factor` about the origin (a factor of 0 is refused).
void ScaleCraft(Model& model, double factor);

// What the status bar and the undo list call it: "Move X 12.5", "Rotate Z 15°",
// "Scale 110 %", "Move 1, 2, 0".
std::string TransformLabel(const Transform& t);

}  // namespace tamsel
