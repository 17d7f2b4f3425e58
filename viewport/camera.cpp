#include "viewport/camera.h"

#include <cmath>
#include <numbers>

namespace tamsel {

Matrix4 Identity4() {
  return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

Matrix4 Multiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 r{};
  for (std::size_t col = 0; col < 4; ++col)
    for (std::size_t row = 0; row < 4; ++row) {
      double s = 0;
      for (std::size_t k = 0; k < 4; ++k) s += a[k * 4 + row] * b[col * 4 + k];
      r[col * 4 + row] = s;
    }
  return r;
}

Matrix4 RotationMatrix(double degrees, double x, double y, double z) {
  // The matrix glRotate builds; exact for multiples of 90 degrees so that presets stay exact.
  const double len = std::sqrt(x * x + y * y + z * z);
  if (len == 0) return Identity4();
  x /= len;
  y /= len;
  z /= len;
  double c, s;
  const double quarter = degrees / 90.0;
  if (quarter == std::floor(quarter)) {
    const auto q = static_cast<std::size_t>(((static_cast<long long>(quarter) % 4) + 4) % 4);
    constexpr double cq[4] = {1, 0, -1, 0}, sq[4] = {0, 1, 0, -1};
    c = cq[q];
    s = sq[q];
  } else {
    const double rad = degrees * std::numbers::pi / 180.0;
    c = std::cos(rad);
    s = std::sin(rad);
  }
  const double t = 1 - c;
  return {t * x * x + c,
          t * x * y + s * z,
          t * x * z - s * y,
          0,
          t * x * y - s * z,
          t * y * y + c,
          t * y * z + s * x,
          0,
          t * x * z + s * y,
          t * y * z - s * x,
          t * z * z + c,
          0,
          0,
          0,
          0,
          1};
}

Matrix4 Camera::Projection(int width, int height) const {
  double l = left_, r = right_, b = bottom_, t = top_;
  if (width > 0 && height > 0) {
    const double aspect = static_cast<double>(width) / height;
    if (aspect > 1) {
      const double mid = (l + r) / 2, half = (r - l) / 2 * aspect;
      l = mid - half;
      r = mid + half;
    } else if (aspect < 1) {
      const double mid = (b + t) / 2, half = (t - b) / 2 / aspect;
      b = mid - half;
      t = mid + half;
    }
  }
  // A collapsed volume would divide by zero; keep it one unit deep or wide instead.
  if (r == l) r = l + 1;
  if (t == b) t = b + 1;
  const double n = NearPlane, f = FarPlane == NearPlane ? NearPlane + 1 : FarPlane;
  Matrix4 m{};
  m[0] = 2 / (r - l);
  m[5] = 2 / (t - b);
  m[10] = -2 / (f - n);
  m[12] = -(r + l) / (r - l);
  m[13] = -(t + b) / (t - b);
  m[14] = -(f + n) / (f - n);
  m[15] = 1;
  return m;
}

Matrix4 Camera::ModelView() const {
  Matrix4 pan = Identity4();
  pan[12] = pan_[0];
  pan[13] = pan_[1];
  Matrix4 toTarget = Identity4();
  toTarget[12] = -target_[0];
  toTarget[13] = -target_[1];
  toTarget[14] = -target_[2];
  return Multiply(Multiply(pan, orientation_), toTarget);
}

}  // namespace tamsel
