// The viewport's orthographic camera: a square view window of half-size e around the target,
// an orientation built from rotations about the view axes, and a pan in view units.
#pragma once

#include <array>

namespace tamsel {

using Matrix4 = std::array<double, 16>;  // column-major, as GL loads it

Matrix4 Identity4();
Matrix4 Multiply(const Matrix4& a, const Matrix4& b);  // a * b
Matrix4 RotationMatrix(double degrees, double x, double y, double z);

class Camera {
 public:
  void SetOrtho(double left, double right, double bottom, double top) {
    left_ = left;
    right_ = right;
    bottom_ = bottom;
    top_ = top;
  }
  double NearPlane = -6000;
  double FarPlane = 6000;
  void SetTarget(double x, double y, double z) { target_ = {x, y, z}; }
  void Pan(double dx, double dy) {
    pan_[0] += dx;
    pan_[1] += dy;
  }
  void ResetRotation() { orientation_ = Identity4(); }
  // Each rotation turns the scene about an axis of the view, on top of the current one.
  void RotateX(double degrees) { Rotate(degrees, 1, 0, 0); }
  void RotateY(double degrees) { Rotate(degrees, 0, 1, 0); }
  void RotateZ(double degrees) { Rotate(degrees, 0, 0, 1); }

  // The projection for a viewport of width by height pixels. The square view window is
  // widened along the longer side so that the model is never stretched.
  Matrix4 Projection(int width, int height) const;
  Matrix4 ModelView() const;
  const Matrix4& Orientation() const { return orientation_; }
  std::array<double, 4> Ortho() const { return {left_, right_, bottom_, top_}; }
  std::array<double, 2> PanOffset() const { return {pan_[0], pan_[1]}; }

 private:
  void Rotate(double degrees, double x, double y, double z) {
    orientation_ = Multiply(RotationMatrix(degrees, x, y, z), orientation_);
  }

  double left_ = -10, right_ = 10, bottom_ = -10, top_ = 10;
  std::array<double, 3> target_{0, 0, 0};
  std::array<double, 2> pan_{0, 0};
  Matrix4 orientation_ = Identity4();
};

}  // namespace tamsel
