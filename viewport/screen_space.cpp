#include "viewport/screen_space.h"

#include <cmath>
#include <limits>

#include "model/model.h"

namespace tamsel {
namespace {

using V = std::array<double, 3>;

std::array<double, 4> Times(const Matrix4& m, const std::array<double, 4>& v) {
  std::array<double, 4> r{};
  for (std::size_t row = 0; row < 4; ++row)
    for (std::size_t c = 0; c < 4; ++c) r[row] += m[c * 4 + row] * v[c];
  return r;
}

V Minus(const V& a, const V& b) {
  return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
V Cross(const V& a, const V& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
double Dot(const V& a, const V& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}
V At(const VertexRec& v) {
  return {v.X, v.Y, v.Z};
}

// Where the ray meets triangle abc (Moeller-Trumbore): its distance, or nothing.
std::optional<double> Meet(const Ray& ray, const V& a, const V& b, const V& c) {
  const V e1 = Minus(b, a), e2 = Minus(c, a);
  const V p = Cross(ray.direction, e2);
  const double det = Dot(e1, p);
  if (std::abs(det) < 1e-300) return std::nullopt;
  const V s = Minus(ray.origin, a);
  const double u = Dot(s, p) / det;
  if (u < 0 || u > 1) return std::nullopt;
  const V q = Cross(s, e1);
  const double v = Dot(ray.direction, q) / det;
  if (v < 0 || u + v > 1) return std::nullopt;
  const double t = Dot(e2, q) / det;
  return t >= 0 ? std::optional(t) : std::nullopt;
}

}  // namespace

ScreenView ScreenView::Of(const Camera& camera, int width, int height) {
  ScreenView view;
  view.width = std::max(width, 1);
  view.height = std::max(height, 1);
  view.modelView = camera.ModelView();
  view.projection = camera.Projection(view.width, view.height);
  return view;
}

ScreenPoint ToScreen(const ScreenView& view, const std::array<double, 3>& p) {
  const auto eye = Times(view.modelView, {p[0], p[1], p[2], 1});
  const auto clip = Times(view.projection, eye);
  const double w = clip[3] != 0 ? clip[3] : 1;
  return {(clip[0] / w + 1) / 2 * view.width, (1 - clip[1] / w) / 2 * view.height};
}

ScreenPoint ToScreen(const ScreenView& view, const Single3& p, double* depth) {
  if (depth) {
    const auto clip = Times(view.projection, Times(view.modelView, {p.x, p.y, p.z, 1}));
    *depth = (clip[2] / (clip[3] != 0 ? clip[3] : 1) + 1) / 2;
  }
  return ToScreen(view, std::array<double, 3>{p.x, p.y, p.z});
}

Ray RayThrough(const ScreenView& view, double x, double y) {
  Ray ray;
  const auto inverse = Inverse(Multiply(view.projection, view.modelView));
  if (!inverse) return ray;
  const double nx = 2 * x / view.width - 1, ny = 1 - 2 * y / view.height;
  const auto unproject = [&](double z) {
    const auto p = Times(*inverse, {nx, ny, z, 1});
    const double w = p[3] != 0 ? p[3] : 1;
    return V{p[0] / w, p[1] / w, p[2] / w};
  };
  const V near = unproject(-1), far = unproject(1);
  const V d = Minus(far, near);
  const double length = std::sqrt(Dot(d, d));
  ray.origin = near;
  if (length > 0) ray.direction = {d[0] / length, d[1] / length, d[2] / length};
  return ray;
}

double TowardsViewer(const ScreenView& view, const std::array<double, 3>& d) {
  return Times(view.modelView, {d[0], d[1], d[2], 0})[2];
}

std::optional<Matrix4> Inverse(const Matrix4& m) {
  // Gauss-Jordan on the row-major copy, with partial pivoting.
  double a[4][8];
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) {
      a[r][c] = m[static_cast<std::size_t>(c * 4 + r)];
      a[r][c + 4] = r == c ? 1 : 0;
    }
  for (int c = 0; c < 4; ++c) {
    int pivot = c;
    for (int r = c + 1; r < 4; ++r)
      if (std::abs(a[r][c]) > std::abs(a[pivot][c])) pivot = r;
    if (std::abs(a[pivot][c]) < 1e-300) return std::nullopt;
    for (int k = 0; k < 8; ++k) std::swap(a[c][k], a[pivot][k]);
    const double d = a[c][c];
    for (int k = 0; k < 8; ++k) a[c][k] /= d;
    for (int r = 0; r < 4; ++r) {
      if (r == c) continue;
      const double f = a[r][c];
      for (int k = 0; k < 8; ++k) a[r][k] -= f * a[c][k];
    }
  }
  Matrix4 inverse{};
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) inverse[static_cast<std::size_t>(c * 4 + r)] = a[r][c + 4];
  return inverse;
}

std::optional<SurfaceHit> HitSurface(const Model& model, int level, const Ray& ray,
                                     bool backFaces) {
  std::optional<SurfaceHit> best;
  double nearest = std::numeric_limits<double>::infinity();
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    if (!mesh.HasLevel(level)) continue;
    const auto& faces = mesh.LODs[static_cast<std::size_t>(level)].Faces;
    for (std::size_t f = 0; f < faces.size(); ++f) {
      const FaceRec& face = faces[f];
      const V a = At(face.Vertices[0]), b = At(face.Vertices[1]), c = At(face.Vertices[2]);
      // Faces wind clockwise seen from outside: the winding's cross product points in.
      V out = Cross(Minus(c, a), Minus(b, a));
      if (!face.IsTriangle()) {
        const V d = At(face.Vertices[3]);
        const V second = Cross(Minus(d, a), Minus(c, a));
        out = {out[0] + second[0], out[1] + second[1], out[2] + second[2]};
      }
      const double length = std::sqrt(Dot(out, out));
      if (!(length > 0)) continue;
      if (!backFaces && Dot(out, ray.direction) >= 0) continue;
      std::optional<double> t = Meet(ray, a, b, c);
      if (!t && !face.IsTriangle()) t = Meet(ray, a, c, At(face.Vertices[3]));
      if (!t || *t >= nearest) continue;
      nearest = *t;
      SurfaceHit hit;
      hit.mesh = m;
      hit.face = static_cast<int>(f);
      hit.point = {static_cast<float>(ray.origin[0] + *t * ray.direction[0]),
                   static_cast<float>(ray.origin[1] + *t * ray.direction[1]),
                   static_cast<float>(ray.origin[2] + *t * ray.direction[2])};
      hit.normal = {static_cast<float>(out[0] / length), static_cast<float>(out[1] / length),
                    static_cast<float>(out[2] / length)};
      best = hit;
    }
  }
  return best;
}

}  // namespace tamsel
