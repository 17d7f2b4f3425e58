// What the GL viewport widget raises to its receiver, in Qt's own types. Positions are
// logical pixels from the widget's top left.
#pragma once

#include <QPoint>
#include <QPointF>
#include <Qt>

namespace tamsel {

class ViewportInput {
 public:
  virtual ~ViewportInput() = default;
  // A new context: everything that lived in the old one (display lists, buffers, textures)
  // is gone and must be made again.
  virtual void InitGL() = 0;
  // A frame, with the camera and the light already loaded.
  virtual void Draw() = 0;
  virtual void MousePress(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at) = 0;
  virtual void MouseMove(Qt::MouseButtons held, Qt::KeyboardModifiers modifiers, QPointF at) = 0;
  // Raised before Click, drag or not.
  virtual void MouseRelease(Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                            QPointF at) = 0;
  // The wheel turned by `steps` notches, positive away from the user.
  virtual void Wheel(double steps, Qt::KeyboardModifiers modifiers, QPointF at) = 0;
  // A press and release close enough together to be a click, at the press's position.
  virtual void Click(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at) = 0;
  // The GL context went away (display lists and texture ids with it).
  virtual void ContextLost() = 0;
};

}  // namespace tamsel
