// The conventions modellers bring from other tools: a rectangle selects, the Edit menu
// selects all, none or the inverse, the wheel zooms about the pointer.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QWheelEvent>
#include <tuple>

#include "gui/project_fixture.h"

namespace tamsel::test {
namespace {

class ConventionsTest : public ProjectTest {
 protected:
  // A left-drag from `from` to `to` as the pointer makes it: press, moves, release.
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
    QWidget* view = &window->Renderscreen();
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
      QMouseEvent e(type, at, view->mapToGlobal(at), Qt::LeftButton, held, mods);
      QApplication::sendEvent(view, &e);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
  }
};

TEST_F(ConventionsTest, ALeftDragSelectsWhatTheRectangleHoldsAtTheLevel) {
  Open();                                    // mesh 0 selected
  const QPoint right = PixelOf(-10, 10, 0);  // mesh 1's centre
  Drag(right - QPoint(8, 8), right + QPoint(8, 8));
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Selected) << "the rectangle replaces";
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  const QPoint left = PixelOf(10, 10, 0);
  Drag(left + QPoint(8, 8), left - QPoint(8, 8), Qt::ShiftModifier);  // dragged up and left
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected) << "Shift adds";
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  Press("face");
  const QPoint face = PixelOf(15, 10, 0);  // mesh 0's second face
  Drag(face - QPoint(6, 6), face + QPoint(6, 6));
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Faces[0].Selected);
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Faces[1].Selected);
  EXPECT_TRUE(L("facelist")->Selected(1)) << "the lists follow";
  Drag(face - QPoint(6, 6), face + QPoint(6, 6), Qt::ControlModifier);
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Faces[1].Selected) << "Ctrl removes";
  // A click without a drag selects nothing by rectangle.
  Drag(face, face + QPoint(1, 1));
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Faces[1].Selected);
}

TEST_F(ConventionsTest, TheEditMenuSelectsAllNoneAndTheInverseAtTheLevel) {
  Open();
  window->MenuItem("selectallmenu")->trigger();
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  EXPECT_EQ(window->MenuItem("selectallmenu")->shortcut(), QKeySequence(QKeySequence::SelectAll));
  Press("face");
  window->MenuItem("selectallmenu")->trigger();
  EXPECT_EQ(L("facelist")->SelectedRows(), std::vector<bool>(4, true));
  window->MenuItem("invertselectionmenu")->trigger();
  EXPECT_EQ(L("facelist")->SelectedRows(), std::vector<bool>(4, false));
  window->MenuItem("selectallmenu")->trigger();
  window->MenuItem("selectnonemenu")->trigger();
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Faces[0].Selected);
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected) << "the meshes stay selected";
  EXPECT_FALSE(window->MenuItem("editundomenu")->isEnabled()) << "selection is no undo step";
}

TEST_F(ConventionsTest, TheWheelZoomsAboutThePointUnderThePointer) {
  Open();
  QWidget* view = &window->Renderscreen();
  for (const auto& [x, y, z] : {std::tuple{15.0f, 18.0f, 0.0f}, std::tuple{-18.0f, 2.0f, 0.0f}}) {
    for (int notches : {1, -2, 3}) {
      const QPoint at = PixelOf(x, y, z);
      const double extent = window->Model().ViewExtent;
      QWheelEvent wheel(QPointF(at), QPointF(view->mapToGlobal(at)), QPoint(),
                        QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                        false);
      QApplication::sendEvent(view, &wheel);
      ASSERT_NE(window->Model().ViewExtent, extent) << "the wheel zoomed";
      const QPoint after = PixelOf(x, y, z);
      EXPECT_LE((after - at).manhattanLength(), 1) << "the point under the pointer stays";
    }
  }
}

}  // namespace
}  // namespace tamsel::test
