#include "viewport/camera_frame.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace tamsel {

std::optional<ViewAngle> ViewAngleNamed(const std::string& key) {
  if (key == "perspective" || key == "3d") return ViewAngle::Perspective;
  if (key == "top") return ViewAngle::Top;
  if (key == "front") return ViewAngle::Front;
  if (key == "right") return ViewAngle::Right;
  if (key == "bottom") return ViewAngle::Bottom;
  if (key == "back") return ViewAngle::Back;
  if (key == "left") return ViewAngle::Left;
  return std::nullopt;
}

void OrientCamera(Camera& camera, ViewAngle angle) {
  // The Top view looks down on the top (-Z) with the nose up the screen. The others look at
  // their sides with the top up the screen, as a modelling tool shows them: each is turned
  // from the Top view, and rolled half a turn about the line of sight where the turn alone
  // would leave the craft upside down. Each side's opposite is its view turned half a turn
  // about the screen's vertical (the Bottom view: about its horizontal).
  camera.ResetRotation();
  camera.RotateX(180);
  camera.RotateZ(180);
  switch (angle) {
    case ViewAngle::Perspective:
      camera.RotateX(60);
      camera.RotateY(33);
      camera.RotateZ(162);
      break;
    case ViewAngle::Right:
    case ViewAngle::Left:
      camera.RotateY(-90);
      camera.RotateZ(-90);
      if (angle == ViewAngle::Left) camera.RotateY(180);
      break;
    case ViewAngle::Front:
    case ViewAngle::Back:
      camera.RotateX(90);
      camera.RotateZ(180);
      if (angle == ViewAngle::Back) camera.RotateY(180);
      break;
    case ViewAngle::Top:
      break;
    case ViewAngle::Bottom:
      camera.RotateX(180);
      break;
  }
}

std::string ViewName(const Camera& camera) {
  const std::pair<ViewAngle, const char*> presets[] = {
      {ViewAngle::Perspective, "3D"}, {ViewAngle::Top, "Top"},       {ViewAngle::Front, "Front"},
      {ViewAngle::Right, "Right"},    {ViewAngle::Bottom, "Bottom"}, {ViewAngle::Back, "Back"},
      {ViewAngle::Left, "Left"}};
  for (const auto& [angle, name] : presets) {
    Camera preset;
    OrientCamera(preset, angle);
    bool same = true;
    for (std::size_t i = 0; i < 16 && same; ++i)
      same = std::abs(preset.Orientation()[i] - camera.Orientation()[i]) < 1e-9;
    if (same) return name;
  }
  return "User";
}

double ZoomFloor(const Model& model) {
  const double size =
      std::max({static_cast<double>(model.ModelSpan.x), static_cast<double>(model.ModelSpan.y),
                static_cast<double>(model.ModelSpan.z), 1.0});
  return size * 1e-4;
}

void ResetCamera(Camera& camera) {
  camera.NearPlane = -6000;
  camera.FarPlane = 6000;
  camera.SetTarget(0, 0, 0);
  camera.SetOrtho(-10, 10, -10, 10);
  camera.Pan(-camera.PanOffset()[0], -camera.PanOffset()[1]);
  OrientCamera(camera, ViewAngle::Top);
}

std::optional<Framing> FrameView(const Camera& camera, const Model& model, const ViewState& view,
                                 int width, int height, bool selectionFirst) {
  const int level = view.LevelIndex();
  // Corners of the selection at this level, else of every mesh that has the level.
  std::vector<const VertexRec*> corners;
  const auto collect = [&](bool selectedOnly) {
    for (const MeshRec& mesh : model.Meshes) {
      if (!mesh.HasLevel(level)) continue;
      const LODRec& lod = mesh.LODs[static_cast<std::size_t>(level)];
      if (selectedOnly && !lod.Selected) continue;
      for (const FaceRec& face : lod.Faces) {
        const bool faceLevel = view.GeometryLevel != Geometry::Mesh;
        if (selectedOnly && faceLevel && !face.Selected) continue;
        for (int k = 0; k < face.CornerCount(); ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          if (selectedOnly && view.GeometryLevel == Geometry::Vertex && !v.Selected) continue;
          corners.push_back(&v);
        }
      }
    }
  };
  if (selectionFirst) collect(true);
  if (corners.empty()) collect(false);
  if (corners.empty()) return std::nullopt;
  // The box in model space gives the target; the box in view space (orientation only)
  // gives the size to frame.
  std::array<double, 3> lo{}, hi{};
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const double p[3] = {corners[i]->X, corners[i]->Y, corners[i]->Z};
    for (std::size_t a = 0; a < 3; ++a) {
      lo[a] = i ? std::min(lo[a], p[a]) : p[a];
      hi[a] = i ? std::max(hi[a], p[a]) : p[a];
    }
  }
  Framing f;
  for (std::size_t a = 0; a < 3; ++a) f.target[a] = (lo[a] + hi[a]) / 2;
  Camera centred = camera;
  ApplyFraming(centred, f);
  const Matrix4 m = centred.ModelView();
  double halfX = 0, halfY = 0;
  double loX = 0, hiX = 0, loY = 0, hiY = 0;
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const VertexRec* v = corners[i];
    const double x = m[0] * v->X + m[4] * v->Y + m[8] * v->Z + m[12];
    const double y = m[1] * v->X + m[5] * v->Y + m[9] * v->Z + m[13];
    halfX = std::max(halfX, std::fabs(x));
    halfY = std::max(halfY, std::fabs(y));
    loX = i ? std::min(loX, x) : x, hiX = i ? std::max(hiX, x) : x;
    loY = i ? std::min(loY, y) : y, hiY = i ? std::max(hiY, y) : y;
  }
  const double aspect = static_cast<double>(std::max(1, width)) / std::max(1, height);
  const auto needed = [aspect](double hx, double hy) {
    return aspect >= 1 ? std::max(hy, hx / aspect) : std::max(hx, hy * aspect);
  };
  f.extent = needed(halfX, halfY) / 0.9;
  f.centredExtent = needed((hiX - loX) / 2, (hiY - loY) / 2) / 0.9;
  f.pan[0] = -(loX + hiX) / 2;
  f.pan[1] = -(loY + hiY) / 2;
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& lod : mesh.LODs)
      for (const FaceRec& face : lod.Faces)
        for (int k = 0; k < face.CornerCount(); ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          f.depth = std::max(f.depth, std::fabs(m[2] * v.X + m[6] * v.Y + m[10] * v.Z + m[14]));
        }
  return f;
}

void ApplyFraming(Camera& camera, const Framing& framing, bool centred) {
  camera.SetTarget(framing.target[0], framing.target[1], framing.target[2]);
  camera.Pan(-camera.PanOffset()[0], -camera.PanOffset()[1]);
  if (centred) camera.Pan(framing.pan[0], framing.pan[1]);
  camera.NearPlane = -(framing.depth + 1);
  camera.FarPlane = framing.depth + 1;
}

}  // namespace tamsel
