#include "viewport/scene_pick.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <tuple>

namespace tamsel {
namespace {

struct Clip {
  double x, y, z, w;
};

Clip ToClip(const Matrix4& m, double x, double y, double z) {
  return {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
          m[2] * x + m[6] * y + m[10] * z + m[14], m[3] * x + m[7] * y + m[11] * z + m[15]};
}

// Where a clipped point shows in the view, device pixels from the top left.
std::array<double, 2> OnScreen(const Clip& c, const PickView& at) {
  return {(c.x / c.w + 1) / 2 * at.width, (1 - c.y / c.w) / 2 * at.height};
}

// The six planes of the clip volume as signed distances: inside when all are >= 0.
inline double Plane(const Clip& c, int p) {
  switch (p) {
    case 0:
      return c.w + c.x;
    case 1:
      return c.w - c.x;
    case 2:
      return c.w + c.y;
    case 3:
      return c.w - c.y;
    case 4:
      return c.w + c.z;
    default:
      return c.w - c.z;
  }
}

inline Clip Lerp(const Clip& a, const Clip& b, double t) {
  return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t, a.z + (b.z - a.z) * t,
          a.w + (b.w - a.w) * t};
}

// Window depth with the viewport's depth range (0, 1): (1 + z/w) / 2, nearer is smaller.
inline double Depth(const Clip& c) {
  return (1 + c.z / c.w) / 2;
}

// The pick matrix GL builds for a square of `size` pixels around (x, y), y from the bottom.
Matrix4 PickMatrix(double x, double y, double size, int width, int height) {
  Matrix4 m = Identity4();
  m[0] = width / size;
  m[5] = height / size;
  m[12] = (width - 2 * x) / size;
  m[13] = (height - 2 * y) / size;
  return m;
}

Matrix4 Translation(double x, double y, double z) {
  Matrix4 m = Identity4();
  m[12] = x, m[13] = y, m[14] = z;
  return m;
}

class Picker {
 public:
  Picker(const Model& model, const ViewState& view, const SceneInputs& in, const PickView& at,
         PickBoxes& boxes)
      : model_(model),
        view_(view),
        in_(in),
        v_(SceneView::Of(view, in)),
        boxes_(boxes),
        level_(v_.level) {
    const Matrix4 pick =
        PickMatrix(at.x, at.height - at.y, at.size, std::max(1, at.width), std::max(1, at.height));
    matrix_ = Multiply(Multiply(pick, at.projection), at.modelView);
    texture_ = v_.SolidFaces();
    bothSides_ = texture_ && v_.backFaces;
  }

  PickOutcome Run() {
    const PickKind kind = v_.Picks();
    Surfaces(kind);
    if (kind == PickKind::Mesh) {
      if (v_.meshCentres) MeshPoints();
    } else {
      Overlays(kind == PickKind::Face);
    }
    PanelOverlays();
    return outcome_;
  }

 private:
  const LODRec* Level(int m) const {
    const MeshRec& mesh = model_.Meshes[static_cast<std::size_t>(m)];
    return mesh.HasLevel(level_) ? &mesh.LODs[static_cast<std::size_t>(level_)] : nullptr;
  }

  Clip To(double x, double y, double z) const { return ToClip(*current_, x, y, z); }

  // Whether a box can hold anything inside the volume: not all its corners beyond a plane.
  bool MayHit(const PickBoxes::Box& b) const {
    Clip c[8];
    for (int k = 0; k < 8; ++k)
      c[k] = To(k & 1 ? b.hi[0] : b.lo[0], k & 2 ? b.hi[1] : b.lo[1], k & 4 ? b.hi[2] : b.lo[2]);
    for (int p = 0; p < 6; ++p) {
      bool allOut = true;
      for (const Clip& k : c) allOut = allOut && Plane(k, p) < 0;
      if (allOut) return false;
    }
    return true;
  }

  // A hit at depth d under `target` (None: a thing that stands for no element).
  void Hit(double d, const PickTarget& target) {
    if (target.kind == PickKind::None) {
      if (outcome_.kind == PickOutcome::NoHit) outcome_.kind = PickOutcome::Unnamed;
      return;
    }
    // The nearest wins; at equal depth the first drawn keeps it. Depths compare as the hit
    // records hold them, a Single scaled to 32 bits, so that near ties resolve alike.
    const std::uint32_t q = Quantized(d);
    if (outcome_.kind != PickOutcome::Named || q < best_) {
      outcome_ = {PickOutcome::Named, target, d};
      best_ = q;
    }
  }
  static std::uint32_t Quantized(double d) {
    const double scaled = static_cast<double>(4294967295.0f * static_cast<float>(d));
    return scaled >= 4294967295.0 ? 0xFFFFFFFFu
           : scaled <= 0          ? 0
                                  : static_cast<std::uint32_t>(scaled);
  }

  void PointAt(double x, double y, double z, const PickTarget& target) {
    const Clip c = To(x, y, z);
    for (int p = 0; p < 6; ++p)
      if (Plane(c, p) < 0) return;
    Hit(Depth(c), target);
  }

  void LineBetween(const Clip& a, const Clip& b, const PickTarget& target) {
    double t0 = 0, t1 = 1;
    for (int p = 0; p < 6; ++p) {
      const double da = Plane(a, p), db = Plane(b, p);
      if (da < 0 && db < 0) return;
      if (da < 0) t0 = std::max(t0, da / (da - db));
      if (db < 0) t1 = std::min(t1, da / (da - db));
      if (t0 > t1) return;
    }
    Hit(std::min(Depth(Lerp(a, b, t0)), Depth(Lerp(a, b, t1))), target);
  }
  void Line(double x0, double y0, double z0, double x1, double y1, double z1,
            const PickTarget& target) {
    LineBetween(To(x0, y0, z0), To(x1, y1, z1), target);
  }

  // A triangle that faces the viewer (clockwise on the screen) and reaches into the volume.
  void Triangle(const Clip& a, const Clip& b, const Clip& c, const PickTarget& target) {
    const double ax = a.x / a.w, ay = a.y / a.w, bx = b.x / b.w, by = b.y / b.w, cx = c.x / c.w,
                 cy = c.y / c.w;
    const double area = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
    // Counter-clockwise is the back, culled unless the back faces show; no area, no face.
    if (!(area < 0) && !(bothSides_ && area > 0)) return;
    Clip poly[9] = {a, b, c}, next[9];
    int n = 3;
    for (int p = 0; p < 6 && n > 0; ++p) {
      int m = 0;
      for (int k = 0; k < n; ++k) {
        const Clip& s = poly[k];
        const Clip& e = poly[(k + 1) % n];
        const double ds = Plane(s, p), de = Plane(e, p);
        if (ds >= 0) next[m++] = s;
        if ((ds >= 0) != (de >= 0)) next[m++] = Lerp(s, e, ds / (ds - de));
      }
      n = m;
      std::copy(next, next + n, poly);
    }
    if (n == 0) return;
    double d = Depth(poly[0]);
    for (int k = 1; k < n; ++k) d = std::min(d, Depth(poly[k]));
    Hit(d, target);
  }

  // A face as the scene draws it: its edges in wire mode, a fan of triangles where faces are
  // solid (textured, or hiding the lines behind them).
  void FaceShape(const FaceRec& face, const PickTarget& target) {
    const int n = face.CornerCount();
    Clip c[4];
    for (int k = 0; k < n; ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      c[k] = To(v.X, v.Y, v.Z);
    }
    if (texture_) {
      for (int k = 1; k + 1 < n; ++k) Triangle(c[0], c[k], c[k + 1], target);
    } else {
      for (int k = 0; k < n; ++k) LineBetween(c[k], c[(k + 1) % n], target);
    }
  }

  bool Animated(int mesh) const { return v_.Animated(mesh); }
  // The rotation panel's animation, as the scene applies it about the pivot.
  Matrix4 Animation(const MeshRec& mesh) const {
    const Single3& p = mesh.Pivot;
    Matrix4 m = matrix_;
    if (in_.animateAxis) {
      m = Multiply(m, Translation(p.x, p.y, p.z));
      m = Multiply(m, RotationMatrix(-static_cast<float>(view_.AxisAnimAngle), mesh.Axis.x,
                                     mesh.Axis.y, mesh.Axis.z));
      m = Multiply(m, Translation(-p.x, -p.y, -p.z));
    }
    if (in_.animateAim) {
      const float step = static_cast<float>(view_.AimAnimStep) / 2000.0f;
      m = Multiply(m, Translation(mesh.Aim.x * step, mesh.Aim.y * step, mesh.Aim.z * step));
    }
    if (in_.animateDegree) {
      Matrix4 s = Identity4();
      s[0] = static_cast<float>(view_.DegreeAnimStep);
      m = Multiply(m, Translation(p.x, p.y, p.z));
      m = Multiply(m, s);
      m = Multiply(m, Translation(-p.x, -p.y, -p.z));
    }
    return m;
  }

  // The faces of every mesh at the level: named by mesh or face, or by nothing at the
  // corner level.
  void Surfaces(PickKind kind) {
    for (int i = 0; i < model_.MeshCount(); ++i) {
      const LODRec* r = Level(i);
      if (!r) continue;
      Matrix4 animated;
      if (Animated(i)) {
        animated = Animation(model_.Meshes[static_cast<std::size_t>(i)]);
        current_ = &animated;
      }
      const PickBoxes::Level& b = boxes_.For(model_, i, level_);
      if (MayHit(b.all)) {
        for (std::size_t run = 0; run < b.runs.size(); ++run) {
          if (!MayHit(b.runs[run])) continue;
          const int first = static_cast<int>(run) * PickBoxes::kRun;
          const int last = std::min(r->FaceCount(), first + PickBoxes::kRun);
          for (int j = first; j < last; ++j) {
            PickTarget target;
            if (kind == PickKind::Mesh) target = {PickKind::Mesh, i};
            if (kind == PickKind::Face) target = {PickKind::Face, i, j};
            FaceShape(r->Faces[static_cast<std::size_t>(j)], target);
          }
        }
      }
      current_ = &matrix_;
    }
  }

  void MeshPoints() {
    for (int i = 0; i < model_.MeshCount(); ++i)
      if (const LODRec* r = Level(i))
        PointAt(r->BoxCenter.x, r->BoxCenter.y, r->BoxCenter.z, {PickKind::Mesh, i});
  }

  // A line of the normal length along (i, j, k), as the scene draws it.
  void NormalLine(const VertexRec& at, double i, double j, double k, const PickTarget& target) {
    const double len = std::sqrt(i * i + j * j + k * k);
    if (len == 0) return;
    const double scale = model_.NormalLength / len;
    const float dx = static_cast<float>(i * scale), dy = static_cast<float>(j * scale),
                dz = static_cast<float>(k * scale);
    Line(at.X, at.Y, at.Z, at.X + dx, at.Y + dy, at.Z + dz, target);
  }

  // The points, then the normals, then the software vectors of the selected meshes, in the
  // order the scene draws them; runs of faces whose box misses the volume are skipped.
  void Overlays(bool faceLevel) {
    const int passes = 2 + (v_.vectors ? 2 : 0);
    for (int pass = 0; pass < passes; ++pass) {
      if (pass == 0 && faceLevel && !v_.faceCentres) continue;
      if (pass == 1 && !v_.normals) continue;
      for (int i = 0; i < model_.MeshCount(); ++i) {
        const LODRec* r = Level(i);
        if (!r || !r->Selected) continue;
        const PickBoxes::Level& b = boxes_.For(model_, i, level_);
        if (!MayHit(b.all)) continue;
        for (std::size_t run = 0; run < b.runs.size(); ++run) {
          if (!MayHit(b.runs[run])) continue;
          const int first = static_cast<int>(run) * PickBoxes::kRun;
          const int last = std::min(r->FaceCount(), first + PickBoxes::kRun);
          for (int j = first; j < last; ++j)
            OverlayOf(i, j, r->Faces[static_cast<std::size_t>(j)], faceLevel, pass);
        }
      }
    }
  }

  void OverlayOf(int i, int j, const FaceRec& face, bool faceLevel, int pass) {
    if (faceLevel) {
      const PickTarget target{PickKind::Face, i, j};
      const VertexRec& c0 = face.Vertices[0];
      if (pass == 0) {
        PointAt(face.BoxCenter.x, face.BoxCenter.y, face.BoxCenter.z, target);
      } else if (pass == 1) {
        NormalLine(c0, face.Normal.x, face.Normal.y, face.Normal.z, target);
      } else if (face.Selected) {
        const Single3& d = pass == 2 ? face.Vector1 : face.Vector2;
        Line(c0.X, c0.Y, c0.Z, c0.X + d.x, c0.Y + d.y, c0.Z + d.z, target);
      }
      return;
    }
    if (!face.Selected) return;
    for (int k = 0; k < face.CornerCount(); ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      const PickTarget target{PickKind::Corner, i, j, k};
      if (pass == 0)
        PointAt(v.X, v.Y, v.Z, target);
      else
        NormalLine(v, v.I, v.J, v.K, target);
    }
  }

  // The panels' drawings stand for no element: they only tell a click on them from a click
  // on nothing. Cones are taken whole, both sides.
  void PanelOverlays() {
    const Panel panel = v_.panel;
    const PickTarget none;
    if (panel == Panel::Hardpoint) {
      for (const MeshRec& mesh : model_.Meshes)
        for (const HardpointRec& hp : mesh.Hardpoints)
          PointAt(hp.Position.x, hp.Position.y, hp.Position.z, none);
    } else if (panel == Panel::EngineGlow) {
      for (const MeshRec& mesh : model_.Meshes)
        for (const EngineGlowRec& g : mesh.EngineGlows) Cone(g);
    } else if (panel == Panel::Rotation || panel == Panel::Hitzone) {
      if (in_.focusedMesh < 0 || in_.focusedMesh >= model_.MeshCount()) return;
      const LODRec* r = Level(in_.focusedMesh);
      if (!r || !r->Selected) return;
      const MeshRec& m = model_.Meshes[static_cast<std::size_t>(in_.focusedMesh)];
      if (panel == Panel::Rotation) {
        const Single3& p = m.Pivot;
        for (const Single3* d : {&m.Axis, &m.Aim, &m.Degree})
          Line(p.x, p.y, p.z, p.x + d->x, p.y + d->y, p.z + d->z, none);
      } else {
        BoxEdges(m.Min, m.Max);
        const float half = std::max({m.Span.x, m.Span.y, m.Span.z}) / 4.0f;
        const Single3& t = m.Target;
        BoxEdges({t.x - half, t.y - half, t.z - half}, {t.x + half, t.y + half, t.z + half});
      }
    }
  }

  void BoxEdges(const Single3& lo, const Single3& hi) {
    const float x[2] = {lo.x, hi.x}, y[2] = {lo.y, hi.y}, z[2] = {lo.z, hi.z};
    for (int a = 0; a < 2; ++a)
      for (int b = 0; b < 2; ++b) {
        Line(x[0], y[a], z[b], x[1], y[a], z[b], {});
        Line(x[a], y[0], z[b], x[a], y[1], z[b], {});
        Line(x[a], y[b], z[0], x[a], y[b], z[1], {});
      }
  }

  void Cone(const EngineGlowRec& g) {
    const float w = g.Size.x, h = g.Size.y, len = g.Size.z;
    if (w == 0) return;
    const double height = 12.0 * w * len * len / 213.660531888;
    const double radius = w / 4.0;
    // Translate to the position, turn -90 degrees about X, scale Y by h / w: a point
    // (x, y, z) of the cone lands at (x, z, -y * h / w) from the position.
    const auto at = [&](double x, double y, double z) {
      return To(g.Position.x + x, g.Position.y + z, g.Position.z - y * h / w);
    };
    constexpr int kSlices = 16;
    const Clip apex = at(0, 0, height);
    const Clip base = at(0, 0, 0);
    for (int s = 0; s < kSlices; ++s) {
      const double a0 = 2 * 3.14159265358979 * s / kSlices,
                   a1 = 2 * 3.14159265358979 * (s + 1) / kSlices;
      const Clip p0 = at(radius * std::sin(a0), radius * std::cos(a0), 0);
      const Clip p1 = at(radius * std::sin(a1), radius * std::cos(a1), 0);
      for (const auto& [a, b, c] : {std::tuple{apex, p0, p1}, std::tuple{apex, p1, p0},
                                    std::tuple{base, p0, p1}, std::tuple{base, p1, p0}})
        Triangle(a, b, c, {});
    }
  }

  const Model& model_;
  const ViewState& view_;
  const SceneInputs& in_;
  const SceneView v_;
  PickBoxes& boxes_;
  int level_;
  bool texture_ = false;    // faces are hit as surfaces, not by their edges
  bool bothSides_ = false;  // and from behind as well
  Matrix4 matrix_{};
  const Matrix4* current_ = &matrix_;
  PickOutcome outcome_;
  std::uint32_t best_ = 0;
};

void Grow(PickBoxes::Box& b, double x, double y, double z) {
  const float p[3] = {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
  for (int a = 0; a < 3; ++a) {
    b.lo[a] = std::min(b.lo[a], p[a]);
    b.hi[a] = std::max(b.hi[a], p[a]);
  }
}

void GrowNormal(PickBoxes::Box& b, const VertexRec& at, double i, double j, double k,
                double length) {
  const double len = std::sqrt(i * i + j * j + k * k);
  if (len == 0) return;
  Grow(b, at.X + i * length / len, at.Y + j * length / len, at.Z + k * length / len);
}

// A box around everything a face may draw at a level: corners, centre, normals, vectors.
void GrowByFace(PickBoxes::Box& b, const FaceRec& f, double normalLength) {
  const VertexRec& c0 = f.Vertices[0];
  for (int k = 0; k < f.CornerCount(); ++k) {
    const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
    Grow(b, v.X, v.Y, v.Z);
    GrowNormal(b, v, v.I, v.J, v.K, normalLength);
  }
  Grow(b, f.BoxCenter.x, f.BoxCenter.y, f.BoxCenter.z);
  GrowNormal(b, c0, f.Normal.x, f.Normal.y, f.Normal.z, normalLength);
  Grow(b, c0.X + f.Vector1.x, c0.Y + f.Vector1.y, c0.Z + f.Vector1.z);
  Grow(b, c0.X + f.Vector2.x, c0.Y + f.Vector2.y, c0.Z + f.Vector2.z);
}

}  // namespace

const PickBoxes::Level& PickBoxes::For(const Model& model, int mesh, int level) {
  const auto m = static_cast<std::size_t>(mesh);
  if (entries_.size() != model.Meshes.size()) entries_.resize(model.Meshes.size());
  Entry& e = entries_[m];
  if (e.mesh.get() == model.Meshes.Identity(m) && e.level == level &&
      e.normalLength == model.NormalLength)
    return e.boxes;
  e.mesh = model.Meshes.Share(m);
  e.level = level;
  e.normalLength = model.NormalLength;
  const LODRec& lod = e.mesh->LODs[static_cast<std::size_t>(level)];
  // Boxes in float, widened by a part in a million so rounding never shrinks them past a
  // corner.
  constexpr float kInf = std::numeric_limits<float>::infinity();
  const Box empty{{kInf, kInf, kInf}, {-kInf, -kInf, -kInf}};
  e.boxes.all = empty;
  Grow(e.boxes.all, lod.BoxCenter.x, lod.BoxCenter.y, lod.BoxCenter.z);
  e.boxes.runs.assign((lod.Faces.size() + kRun - 1) / kRun, empty);
  for (std::size_t f = 0; f < lod.Faces.size(); ++f)
    GrowByFace(e.boxes.runs[f / kRun], lod.Faces[f], model.NormalLength);
  for (Box& run : e.boxes.runs) {
    for (int a = 0; a < 3; ++a) {
      const float pad = std::max(std::fabs(run.lo[a]), std::fabs(run.hi[a])) * 1e-6f + 1e-6f;
      run.lo[a] -= pad;
      run.hi[a] += pad;
      e.boxes.all.lo[a] = std::min(e.boxes.all.lo[a], run.lo[a]);
      e.boxes.all.hi[a] = std::max(e.boxes.all.hi[a], run.hi[a]);
    }
  }
  return e.boxes;
}

PickOutcome PickScene(const Model& model, const ViewState& view, const SceneInputs& inputs,
                      const PickView& at, PickBoxes& boxes) {
  return Picker(model, view, inputs, at, boxes).Run();
}

bool HiddenByFaces(const Model& model, const ViewState& view, const PickView& at, const Single3& p,
                   PickBoxes& boxes) {
  const Clip c = ToClip(Multiply(at.projection, at.modelView), p.x, p.y, p.z);
  if (!(c.w > 0)) return false;
  // Faces alone, solid, named by face: no points, lines or panel drawings take part.
  ViewState faces = view;
  faces.GeometryLevel = Geometry::Face;
  faces.DisplayMode = Display::Texture;
  faces.NormalsShown = false;
  faces.GeometrySubPanel = GeometrySub::Face;
  faces.PropertyPanel = Panel::Geometry;
  PickView spot = at;
  const auto [x, y] = OnScreen(c, at);
  spot.x = x, spot.y = y;
  spot.size = 0.01;  // the depth of the faces at that very spot, not nearby
  const PickOutcome nearest = PickScene(model, faces, {}, spot, boxes);
  // A point on a face is not hidden by that face: depths are compared with a margin for
  // rounding.
  return nearest.kind == PickOutcome::Named && nearest.depth < Depth(c) - 1e-5;
}

PickOutcome PickClick(const Model& model, const ViewState& view, const SceneInputs& inputs,
                      const PickView& at, PickBoxes& boxes) {
  const PickOutcome outcome = PickScene(model, view, inputs, at, boxes);
  if (view.GeometryLevel != Geometry::Vertex || outcome.kind != PickOutcome::Unnamed)
    return outcome;
  ViewState faces = view;
  faces.GeometryLevel = Geometry::Face;
  const PickOutcome face = PickScene(model, faces, inputs, at, boxes);
  if (face.kind != PickOutcome::Named || face.target.kind != PickKind::Face) return outcome;
  const FaceRec& f = model.Meshes[static_cast<std::size_t>(face.target.mesh)]
                         .LODs[static_cast<std::size_t>(view.LevelIndex())]
                         .Faces[static_cast<std::size_t>(face.target.face)];
  const Matrix4 m = Multiply(at.projection, at.modelView);
  int nearest = 0;
  double best = 0;
  for (int k = 0; k < f.CornerCount(); ++k) {
    const VertexRec& v = f.Vertices[static_cast<std::size_t>(k)];
    const auto [x, y] = OnScreen(ToClip(m, v.X, v.Y, v.Z), at);
    const double d = (x - at.x) * (x - at.x) + (y - at.y) * (y - at.y);
    if (k == 0 || d < best) best = d, nearest = k;
  }
  PickOutcome corner = face;
  corner.target = {PickKind::Corner, face.target.mesh, face.target.face, nearest};
  return corner;
}

}  // namespace tamsel
