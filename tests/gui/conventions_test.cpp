// The conventions modellers bring from other tools: a rectangle selects, the Edit menu
// selects all, none or the inverse, the wheel zooms about the pointer.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QWheelEvent>
#include <tuple>

#include <QToolButton>
#include "gui/project_fixture.h"

namespace tamsel::test {
namespace {

class ConventionsTest : public ProjectTest {
 protected:
  // A left-drag from `from` to `to` as the pointer makes it: press, moves, release.
  void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {}) {
    QWidget* view = &window->ViewportWidget();
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
  Open();  // mesh 0 selected
  // Shown, the gizmo sits at the selection's centre, where these rectangles start.
  Action("showgizmomenu")->setChecked(false);
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
  Action("selectallmenu")->trigger();
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  EXPECT_EQ(Action("selectallmenu")->shortcut(), QKeySequence(QKeySequence::SelectAll));
  Press("face");
  Action("selectallmenu")->trigger();
  EXPECT_EQ(L("facelist")->SelectedRows(), std::vector<bool>(4, true));
  Action("invertselectionmenu")->trigger();
  EXPECT_EQ(L("facelist")->SelectedRows(), std::vector<bool>(4, false));
  Action("selectallmenu")->trigger();
  Action("selectnonemenu")->trigger();
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Faces[0].Selected);
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected) << "the meshes stay selected";
  EXPECT_FALSE(Action("editundomenu")->isEnabled()) << "selection is no undo step";
}

// A drag with `button` from `from` by `by`, as the pointer makes it.
void DragWith(QWidget* view, Qt::MouseButton button, QPoint from, QPoint by,
              Qt::KeyboardModifiers mods = {}) {
  const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent e(type, at, view->mapToGlobal(at), button, held, mods);
    QApplication::sendEvent(view, &e);
  };
  send(QEvent::MouseButtonPress, from, button);
  send(QEvent::MouseMove, from + by / 2, button);
  send(QEvent::MouseMove, from + by, button);
  send(QEvent::MouseButtonRelease, from + by, Qt::NoButton);
}

TEST_F(ConventionsTest, TheModellingSchemeTurnsPansAndZoomsWithTheMiddleButtonAndIsKept) {
  Open();
  QWidget* view = &window->ViewportWidget();
  Camera& camera = window->ViewportWidget().Camera();
  const QPoint centre = view->rect().center();
  // The default scheme: a middle-drag pans.
  const auto orientation = camera.Orientation();
  DragWith(view, Qt::MiddleButton, centre, {30, 0});
  EXPECT_EQ(camera.Orientation(), orientation);
  EXPECT_NE(camera.PanOffset()[0], 0.0);

  Action("modellingnavmenu")->trigger();
  ASSERT_TRUE(window->Link().ModellingNavigation());
  const auto pan = camera.PanOffset();
  DragWith(view, Qt::MiddleButton, centre, {30, 10});
  EXPECT_NE(camera.Orientation(), orientation) << "a middle-drag turns";
  EXPECT_EQ(camera.PanOffset(), pan);
  const auto turned = camera.Orientation();
  DragWith(view, Qt::MiddleButton, centre, {30, 0}, Qt::ShiftModifier);
  EXPECT_EQ(camera.Orientation(), turned);
  EXPECT_GT(camera.PanOffset()[0], pan[0]) << "Shift+middle-drag pans with the pointer";
  const double extent = window->Model().ViewExtent;
  DragWith(view, Qt::MiddleButton, centre, {0, -40}, Qt::ControlModifier);
  EXPECT_LT(window->Model().ViewExtent, extent) << "Ctrl+middle-drag up zooms in";

  // A left click picks: mesh 1 alone.
  window->Viewport().Navigation().ViewPreset("front");
  window->Viewport().Navigation().FitWhole();
  DragWith(view, Qt::LeftButton, PixelOf(-10, 10, 0), {0, 0});
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Selected);
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);

  // The next window starts with the scheme chosen here.
  TamselWindow next(dialogs);
  EXPECT_TRUE(next.Link().ModellingNavigation());
  EXPECT_TRUE(next.findChild<QAction*>("modellingnavmenu")->isChecked());
  Action("modellingnavmenu")->trigger();
  EXPECT_FALSE(TamselWindow(dialogs).Link().ModellingNavigation());
}

TEST_F(ConventionsTest, NumberKeysChooseTheViewPresetsAndTheTipsSayWhich) {
  Open();
  Button("viewbar_top")->click();
  const auto top = window->ViewportWidget().Camera().Orientation();
  Button("viewbar_front")->click();
  ASSERT_NE(window->ViewportWidget().Camera().Orientation(), top);
  Find<QLineEdit>("focustaker")->setFocus();
  QTest::keyClick(Find<QLineEdit>("focustaker"), Qt::Key_7);
  EXPECT_EQ(window->ViewportWidget().Camera().Orientation(), top);
  EXPECT_TRUE(Button("viewbar_top")->toolTip().contains("(7; Ctrl+7 from below)"));
  // A text box keeps the digits typed into it.
  Button("viewbar_front")->click();
  auto* box = Find<QLineEdit>("meshsizetext");
  box->setFocus();
  box->clear();
  QTest::keyClick(box, Qt::Key_7);
  EXPECT_EQ(box->text(), "7");
  EXPECT_NE(window->ViewportWidget().Camera().Orientation(), top);
}

TEST_F(ConventionsTest, ArrowsAndFReachTheViewportUnderThePointerWhateverListHasTheKeyboard) {
  Open();
  RowList* meshes = L("meshlist");
  ClickRow("meshlist", 0);
  ASSERT_TRUE(meshes->hasFocus());
  Camera& camera = window->ViewportWidget().Camera();
  QWidget* view = &window->ViewportWidget();
  QCursor::setPos(view->mapToGlobal(view->rect().center()));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return view->rect().contains(view->mapFromGlobal(QCursor::pos())); }));
  const auto before = camera.Orientation();
  QTest::keyPress(meshes, Qt::Key_Down);
  QTest::keyRelease(meshes, Qt::Key_Down);
  EXPECT_NE(camera.Orientation(), before) << "the arrow turned the view";
  EXPECT_EQ(meshes->ListIndex(), 0) << "and not the list's row";
  // Away from the viewport the list has its arrows back.
  QCursor::setPos(meshes->mapToGlobal(meshes->rect().center()));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return !view->rect().contains(view->mapFromGlobal(QCursor::pos())); }));
  const auto turned = camera.Orientation();
  QTest::keyClick(meshes, Qt::Key_Down);
  EXPECT_EQ(meshes->ListIndex(), 1);
  EXPECT_EQ(camera.Orientation(), turned);
}

TEST_F(ConventionsTest, FilterBoxesShowTheRowsThatHoldTheirTextAndKeepTheSelection) {
  Open();
  Action("selectallmenu")->trigger();  // both meshes
  Find<QLineEdit>("meshfilter")->setText("RIG");
  EXPECT_TRUE(L("meshlist")->isRowHidden(0)) << "Left";
  EXPECT_FALSE(L("meshlist")->isRowHidden(1)) << "Right";
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected) << "hidden is not unselected";
  Press("face");
  Find<QLineEdit>("facefilter")->setText("m:2 ");
  ASSERT_EQ(L("facelist")->ListCount(), 4);
  for (int row = 0; row < 4; ++row) EXPECT_EQ(L("facelist")->isRowHidden(row), row < 2) << row;
  // Rows rebuilt after a change are filtered as they come.
  Action("invertselectionmenu")->trigger();
  Action("invertselectionmenu")->trigger();
  EXPECT_TRUE(L("facelist")->isRowHidden(0));
  Find<QLineEdit>("facefilter")->clear();
  EXPECT_FALSE(L("facelist")->isRowHidden(0));
  EXPECT_NE(Find<QLineEdit>("texturefilter"), nullptr);
}

TEST_F(ConventionsTest, FindFaceShowsTheFaceByItsNumbersAtTheFaceLevel) {
  Open();  // mesh 1 ("Right") is not selected
  dialogs.Push(QString("M:2 F:2"));
  Action("findfacemenu")->trigger();
  EXPECT_EQ(window->View().GeometryLevel, Geometry::Face);
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected) << "its mesh is selected to show it";
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Faces[1].Selected);
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Faces[0].Selected);
  ASSERT_TRUE(window->Doc().focus().face);
  EXPECT_EQ(*window->Doc().focus().face, (FaceRef{1, 1}));
  EXPECT_EQ(L("facelist")->List(L("facelist")->ListIndex()), "M:2 F:2");
  dialogs.Push(QString("1"));  // a face of the focused mesh
  Action("findfacemenu")->trigger();
  EXPECT_EQ(*window->Doc().focus().face, (FaceRef{1, 0}));
  const std::size_t asked = dialogs.asked().size();
  dialogs.Push(QString("9:9"));
  Action("findfacemenu")->trigger();
  ASSERT_GT(dialogs.asked().size(), asked);
  EXPECT_TRUE(dialogs.asked().back().text.contains("There is no face 9:9"));
  EXPECT_EQ(*window->Doc().focus().face, (FaceRef{1, 0})) << "nothing changed";
}

TEST_F(ConventionsTest, TheViewMenuTurnsTheGridGizmoAndGradientOnAndOffAndKeepsTheChoice) {
  Open();
  for (const auto& [menu, shown] :
       {std::pair{"gridmenu", &ViewState::GridShown}, std::pair{"axesmenu", &ViewState::AxesShown},
        std::pair{"gradientmenu", &ViewState::GradientShown}}) {
    QAction* action = Action(menu);
    ASSERT_NE(action, nullptr) << menu;
    ASSERT_FALSE(action->isChecked()) << menu;  // the tests start with each off
    const QImage off = window->ViewportWidget().grabFramebuffer();
    action->trigger();
    EXPECT_TRUE(window->View().*shown) << menu;
    const QImage on = window->ViewportWidget().grabFramebuffer();
    EXPECT_NE(on, off) << menu << " shows";
    EXPECT_TRUE(TamselWindow(dialogs).View().*shown) << menu << ": the next window starts with it";
    action->trigger();
    EXPECT_FALSE(window->View().*shown) << menu;
    EXPECT_EQ(window->ViewportWidget().grabFramebuffer(), off) << menu;
  }
}

// The gizmo speaks the craft's axes: seen from the top, X (red) points left of its centre
// and Y (green) up, in the lower left corner.
TEST_F(ConventionsTest, TheAxesGizmoShowsXLeftAndYUpFromTheTop) {
  Open();
  Button("viewbar_top")->click();
  Action("axesmenu")->trigger();
  const QImage frame = window->ViewportWidget().grabFramebuffer();
  Action("axesmenu")->trigger();
  const int corner = std::min(frame.width(), frame.height()) / 4;
  QPoint red, green;
  int reds = 0, greens = 0;
  for (int y = frame.height() - corner; y < frame.height(); ++y)
    for (int x = 0; x < corner; ++x) {
      const QColor c = frame.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 120 && c.blue() < 120) red += QPoint(x, y), ++reds;
      if (c.green() > 180 && c.red() < 140 && c.blue() < 140) green += QPoint(x, y), ++greens;
    }
  ASSERT_GT(reds, 10);
  ASSERT_GT(greens, 10);
  red /= reds;
  green /= greens;
  EXPECT_LT(red.x(), green.x() - 5) << "X lies left of Y's upright line";
  EXPECT_LT(green.y(), red.y() - 5) << "Y rises above X's level line";
}

TEST_F(ConventionsTest, TheViewportNamesTheViewPresetItLooksAlong) {
  Open();
  auto* name = Find<QLabel>("viewname");
  ASSERT_NE(name, nullptr);
  for (const auto& [key, shown] : {std::pair{"top", "Top"}, std::pair{"front", "Front"},
                                   std::pair{"right", "Right"}, std::pair{"perspective", "3D"}}) {
    Button(QString("viewbar_") + key)->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return name->text() == shown; }, 3000)) << key;
  }
  // an arrow turns the view away from the preset
  window->Viewport().Navigation().KeyPress(Qt::Key_Left, {});
  EXPECT_TRUE(QTest::qWaitFor([&] { return name->text() == "User"; }, 3000));
  EXPECT_TRUE(name->isVisible());
}

TEST_F(ConventionsTest, TheWheelZoomsAboutThePointUnderThePointer) {
  Open();
  QWidget* view = &window->ViewportWidget();
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
