// What the host control raises. The window receives these and forwards them, one to one,
// to the viewport object.
#pragma once

#include <cstdint>
#include <vector>

namespace tamsel {

class GlxEvents {
 public:
  virtual ~GlxEvents() = default;
  virtual void Init() = 0;
  virtual void InitGL() = 0;
  virtual void Draw() = 0;
  // The scene alone, without per-frame side effects, for the selection pass.
  virtual void DrawForPick() = 0;
  // Button: 1 primary, 2 secondary, 4 middle, 0 none; Shift: 1 Shift, 2 Ctrl, 4 Alt.
  virtual void MouseDown(int button, int shift, float x, float y) = 0;
  virtual void MouseMove(int button, int shift, float x, float y) = 0;
  // A button let go; raised before Click, drag or not.
  virtual void MouseUp(int /*button*/, int /*shift*/, float /*x*/, float /*y*/) {}
  // The wheel turned by `steps` notches (positive away from the user), the pointer at
  // (x, y) logical pixels from the top left.
  virtual void Wheel(double steps, int shift, float x, float y) = 0;
  // Standard selection hit records: name count, min depth, max depth, names ...
  virtual void Pick(const std::vector<std::int32_t>& items) = 0;
  // A click at (x, y), logical pixels from the top left. A receiver that picks by itself
  // answers true; otherwise the control runs a GL selection pass and raises Pick.
  virtual bool Click(int /*x*/, int /*y*/) { return false; }
  // The GL context went away (display lists and texture ids with it).
  virtual void ContextLost() = 0;
};

}  // namespace tamsel
