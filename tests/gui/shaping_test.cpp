// Shaping the craft directly in the window: the gizmo dragged with real pointer events, the
// G, R and S keys of the modelling tools' scheme, Esc, the clipboard, delete and duplicate,
// placing a hardpoint by clicking and Assign LOD's question.
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <cmath>

#include "editing/clipboard_text.h"
#include "gui/project_fixture.h"
#include "viewport/scene.h"

namespace tamsel::test {
namespace {

class ShapingTest : public ProjectTest {
 protected:
  QString Status() { return window->statusBar()->currentMessage(); }
  void Mouse(QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons held,
             Qt::KeyboardModifiers mods = {}) {
    QWidget* view = &window->ViewportWidget();
    QMouseEvent e(type, at, view->mapToGlobal(at), button, held, mods);
    QApplication::sendEvent(view, &e);
  }
  // Keys as the viewport's focus box gets them: the window's filter sees them first.
  QLineEdit* Keys() {
    auto* taker = Find<QLineEdit>("focustaker");
    taker->setFocus();
    return taker;
  }
  void PointerOverViewport(QPoint at) {
    QWidget* view = &window->ViewportWidget();
    QCursor::setPos(view->mapToGlobal(at));
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->mapFromGlobal(QCursor::pos()) == at; }));
  }
  // The screen direction of the model's +X at mesh 0's centre, a pixel long.
  QPointF XOnScreen() {
    const QPoint a = PixelOf(10, 10, 0), b = PixelOf(20, 10, 0);
    const QPointF d = b - a;
    return d / std::hypot(d.x(), d.y());
  }
  float LeftX() { return window->Model().Meshes[0].LODs[0].BoxMin.x; }
  Single3 LeftCentre() { return window->Model().Meshes[0].LODs[0].BoxCenter; }
};

TEST_F(ShapingTest, TheGizmosArrowMovesAlongXSnapsWithCtrlAndTakesATypedAmount) {
  Open();  // mesh 0, x 0..20, selected
  Button("viewbar_top")->click();
  const std::string before = WriteOpzText(window->Model(), "x");
  const QPointF centre = PixelOf(10, 10, 0);
  const QPointF grab = centre + XOnScreen() * 75;  // on the arrow, past the scale handle
  const double pixelsPerUnit =
      std::hypot(PixelOf(20, 10, 0).x() - centre.x(), PixelOf(20, 10, 0).y() - centre.y()) / 10;
  Mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, grab + XOnScreen() * 23 + QPointF(0, 9), Qt::NoButton, Qt::LeftButton,
        Qt::ControlModifier);
  EXPECT_TRUE(Status().startsWith("Move X ")) << Status().toStdString();
  const float live = LeftX();
  Mouse(QEvent::MouseButtonRelease, grab + XOnScreen() * 23 + QPointF(0, 9), Qt::LeftButton,
        Qt::NoButton, Qt::ControlModifier);
  const double spacing = GridSpacing(window->Model().ViewExtent);
  const double moved = LeftX();
  EXPECT_EQ(moved, live) << "the live result is what is committed";
  EXPECT_NEAR(moved, 23 / pixelsPerUnit, spacing / 2 + 1e-9) << "the pointer's travel";
  EXPECT_NEAR(std::remainder(moved, spacing), 0, 1e-4) << "on the grid with Ctrl";
  EXPECT_NE(moved, 0);
  EXPECT_EQ(LeftCentre().y, 10) << "along X only";
  EXPECT_EQ(LeftCentre().z, 0);
  EXPECT_EQ(window->Model().Meshes[1].LODs[0].BoxMin.x, -20) << "the other mesh stays";
  EXPECT_TRUE(Action("editundomenu")->text().startsWith("Undo Move X "));

  // A typed amount sets it exactly, wherever the pointer went.
  Action("editundomenu")->trigger();
  ASSERT_EQ(WriteOpzText(window->Model(), "x"), before) << "one step took it all back";
  QLineEdit* keys = Keys();
  Mouse(QEvent::MouseButtonPress, grab, Qt::LeftButton, Qt::LeftButton);
  Mouse(QEvent::MouseMove, grab + XOnScreen() * 40, Qt::NoButton, Qt::LeftButton);
  for (char c : std::string("12.5")) QTest::keyClick(keys, c);
  Mouse(QEvent::MouseButtonRelease, grab + XOnScreen() * 40, Qt::LeftButton, Qt::NoButton);
  EXPECT_EQ(LeftX(), 12.5f);
  EXPECT_EQ(Status(), "Move X 12.5: 1 mesh");
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Move X 12.5");
}

TEST_F(ShapingTest, GThenXThenFiveThenEnterMovesFiveAlongXInTheModellingScheme) {
  Open();
  Action("modellingnavmenu")->setChecked(true);
  const QPoint inside(20, 20);  // over the viewport, clear of the gizmo
  ASSERT_NO_FATAL_FAILURE(PointerOverViewport(inside));
  QLineEdit* keys = Keys();
  QTest::keyClick(keys, Qt::Key_G);
  QTest::keyClick(keys, Qt::Key_X);
  QTest::keyClick(keys, Qt::Key_5);
  EXPECT_EQ(LeftX(), 5) << "the live result";
  EXPECT_TRUE(Status().startsWith("Move X 5")) << Status().toStdString();
  QTest::keyClick(keys, Qt::Key_Return);
  EXPECT_EQ(LeftX(), 5);
  EXPECT_EQ(window->Model().Meshes[0].LODs[0].BoxMax.x, 25);
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Move X 5");
  EXPECT_TRUE(keys->text().isEmpty()) << "nothing typed into the box";
  // Shift+D copies and grabs the copy.
  QTest::keyClick(keys, Qt::Key_D, Qt::ShiftModifier);
  ASSERT_EQ(window->Model().MeshCount(), 3);
  keys = Keys();  // the lists, rebuilt, may have taken the keyboard
  QTest::keyClick(keys, Qt::Key_X);
  QTest::keyClick(keys, Qt::Key_3);
  QTest::keyClick(keys, Qt::Key_Return);
  EXPECT_EQ(window->Model().Meshes[2].LODs[0].BoxMin.x, 8);
  EXPECT_EQ(LeftX(), 5) << "the original stays";
  Action("editundomenu")->trigger();
  Action("editundomenu")->trigger();
  ASSERT_EQ(window->Model().MeshCount(), 2);
  window->Model().Meshes.Edit(0).LODs[0].Selected = kTrue;
  window->SelectionChanged(true);
  keys = Keys();
  // In the default scheme G is not the session's; Alt+G is.
  Action("modellingnavmenu")->setChecked(false);
  QTest::keyClick(keys, Qt::Key_G);
  QTest::keyClick(keys, Qt::Key_Return);
  EXPECT_EQ(LeftX(), 5);
  Action("movemenu")->trigger();
  QTest::keyClick(keys, Qt::Key_Y);
  QTest::keyClick(keys, Qt::Key_Minus);
  QTest::keyClick(keys, Qt::Key_2);
  QTest::keyClick(keys, Qt::Key_Enter);
  EXPECT_EQ(window->Model().Meshes[0].LODs[0].BoxMin.y, -2);
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Move Y -2");
}

TEST_F(ShapingTest, EscAndARightClickPutTheModelBackAndLeaveNoStep) {
  Open();
  Action("modellingnavmenu")->setChecked(true);
  const QPoint inside(20, 20);
  ASSERT_NO_FATAL_FAILURE(PointerOverViewport(inside));
  const std::string before = WriteOpzText(window->Model(), "x");
  QLineEdit* keys = Keys();
  QTest::keyClick(keys, Qt::Key_S);
  Mouse(QEvent::MouseMove, QPointF(inside) + QPointF(60, 40), Qt::NoButton, Qt::NoButton);
  ASSERT_NE(WriteOpzText(window->Model(), "x"), before) << "the scale shows while it lasts";
  QTest::keyClick(keys, Qt::Key_Escape);
  EXPECT_EQ(WriteOpzText(window->Model(), "x"), before);
  EXPECT_FALSE(Action("editundomenu")->isEnabled());
  EXPECT_TRUE(Status().endsWith("cancelled")) << Status().toStdString();

  QTest::keyClick(keys, Qt::Key_R);
  Mouse(QEvent::MouseMove, QPointF(inside) + QPointF(0, 50), Qt::NoButton, Qt::NoButton);
  ASSERT_NE(WriteOpzText(window->Model(), "x"), before);
  Mouse(QEvent::MouseButtonPress, QPointF(inside) + QPointF(0, 50), Qt::RightButton,
        Qt::RightButton);
  Mouse(QEvent::MouseButtonRelease, QPointF(inside) + QPointF(0, 50), Qt::RightButton,
        Qt::NoButton);
  EXPECT_EQ(WriteOpzText(window->Model(), "x"), before);
  EXPECT_FALSE(Action("editundomenu")->isEnabled());
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected) << "the right click picked nothing";
}

TEST_F(ShapingTest, AClickInPlaceOnSurfacePutsAHardpointOnTheFaceUnderThePointer) {
  Open();
  Button("viewbar_top")->click();
  Button("propbar_hardpoint")->click();
  Action("placeonsurfacemenu")->setChecked(true);
  const QPoint at = PixelOf(15, 5, 0);  // on mesh 0's second face
  Click(at, Qt::LeftButton);
  const MeshRec& left = window->Model().Meshes[0];
  ASSERT_EQ(left.HardpointCount(), 1) << Status().toStdString();
  const double unitsPerPixel = 10.0 / (PixelOf(20, 5, 0).x() - PixelOf(10, 5, 0).x());
  EXPECT_NEAR(left.Hardpoints[0].Position.x, 15, std::abs(unitsPerPixel));
  EXPECT_NEAR(left.Hardpoints[0].Position.y, 5, std::abs(unitsPerPixel) * 1.5);
  EXPECT_NEAR(left.Hardpoints[0].Position.z, 0, 1e-4) << "on the face's plane";
  EXPECT_TRUE(Status().startsWith("Placed hardpoint 1 of \"Left\"")) << Status().toStdString();
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Place hardpoint");
  // The next click moves the focused one; a click beside the craft places nothing.
  Click(PixelOf(-5, 15, 0), Qt::LeftButton);
  ASSERT_EQ(window->Model().Meshes[0].HardpointCount(), 1);
  EXPECT_NEAR(window->Model().Meshes[0].Hardpoints[0].Position.x, -5, std::abs(unitsPerPixel));
  Click(PixelOf(60, 60, 0), Qt::LeftButton);
  EXPECT_EQ(Status(), "Place on Surface: no face under the pointer");
}

TEST_F(ShapingTest, DeleteDuplicateCopyAndPasteThroughTheKeys) {
  Open();
  Button("viewbar_top")->click();
  Action("showgizmomenu")->setChecked(false);
  QLineEdit* keys = Keys();
  QTest::keyClick(keys, Qt::Key_D, Qt::ControlModifier);
  ASSERT_EQ(window->Model().MeshCount(), 3);
  EXPECT_EQ(window->Model().Meshes[2].Name, "Left copy");
  EXPECT_TRUE(window->Model().Meshes[2].LODs[0].Selected);
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Selected);
  QTest::keyClick(keys, Qt::Key_C, Qt::ControlModifier);
  const QString copied = QApplication::clipboard()->text();
  EXPECT_TRUE(IsClipboardText(copied.toStdString()));
  EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(kClipboardMime));
  QTest::keyClick(keys, Qt::Key_Delete);
  ASSERT_EQ(window->Model().MeshCount(), 2);
  EXPECT_EQ(Status(), "Deleted 1 mesh");
  QTest::keyClick(keys, Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(window->Model().MeshCount(), 3);
  EXPECT_EQ(window->Model().Meshes[2].Name, "Left copy");
  EXPECT_EQ(window->Model().Meshes[2].LODs[0].Faces[1].Vertices[2].X, 20);
  EXPECT_EQ(Status(), "Pasted 1 mesh");
  EXPECT_EQ(window->Model().TextureCount(), 1) << "the bitmap it names is the one there";
  // A text box keeps its own keys.
  auto* box = Find<QLineEdit>("meshsizetext");
  box->setFocus();
  box->selectAll();
  QTest::keyClick(box, Qt::Key_Delete);
  EXPECT_EQ(window->Model().MeshCount(), 3);
  EXPECT_TRUE(box->text().isEmpty());
}

TEST_F(ShapingTest, AssignLodAsksBeforeFoldingAMeshThatCarriesFeatures) {
  Open();
  Button("propbar_hardpoint")->click();
  ClickRow("meshlist", 1);
  Find<QPushButton>("hpaddbut")->click();  // "Right" gets a hardpoint
  ASSERT_EQ(window->Model().Meshes[1].HardpointCount(), 1);
  Button("propbar_geometry")->click();
  ClickRow("meshlist", 0);
  ClickRow("meshlist", 1, Qt::ShiftModifier);
  window->Doc().focus().mesh = 0;
  window->SelectionChanged(true);
  EXPECT_TRUE(Find<QPushButton>("lodassignmentbut")
                  ->toolTip()
                  .contains("\"Right\" becomes the low level of \"Left\""));
  dialogs.Push(Dialogs::Answer::Cancel);
  Find<QPushButton>("lodassignmentbut")->click();
  ASSERT_FALSE(dialogs.asked().empty());
  EXPECT_TRUE(dialogs.asked().back().text.contains("1 hardpoint(s)"));
  EXPECT_EQ(window->Model().MeshCount(), 2) << "cancelled: nothing folded";
  ClickRow("meshlist", 0);
  Find<QPushButton>("lodassignmentbut")->click();
  EXPECT_TRUE(Status().contains("1 mesh selected")) << Status().toStdString();
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

TEST_F(ShapingTest, ReorderingMeshesKeepsTheirFeaturesTheSelectionAndTheFocus) {
  Open();
  Button("propbar_hardpoint")->click();
  ClickRow("meshlist", 1);
  Find<QPushButton>("hpaddbut")->click();  // "Right" carries a hardpoint
  ASSERT_EQ(window->Model().Meshes[1].HardpointCount(), 1);
  Button("propbar_geometry")->click();
  ClickRow("meshlist", 1);
  Action("movemeshupmenu")->trigger();
  EXPECT_EQ(window->Model().Meshes[0].Name, "Right");
  EXPECT_EQ(window->Model().Meshes[0].HardpointCount(), 1);
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected);
  EXPECT_EQ(window->Doc().focus().mesh, 0) << "the focus follows the mesh";
  EXPECT_EQ(L("meshlist")->ListIndex(), 0);
  EXPECT_EQ(Status(), "Moved \"Right\" to place 1");
  Action("movemeshupmenu")->trigger();
  EXPECT_EQ(Status(), "The mesh is first already");

  // Dragged in the outliner: "Right" goes below "Left" again.
  auto* tree = Find<QTreeWidget>("outliner");
  ASSERT_EQ(tree->topLevelItem(0)->text(0), "Right");
  tree->setCurrentItem(tree->topLevelItem(0));
  QMimeData* mime = tree->model()->mimeData({tree->model()->index(0, 0)});
  const QRect below = tree->visualItemRect(tree->topLevelItem(1));
  const QPointF drop(below.left() + 10, below.bottom() - 1);
  QDragEnterEvent enter(drop.toPoint(), Qt::MoveAction, mime, Qt::LeftButton, {});
  QApplication::sendEvent(tree->viewport(), &enter);
  QDragMoveEvent move(drop.toPoint(), Qt::MoveAction, mime, Qt::LeftButton, {});
  QApplication::sendEvent(tree->viewport(), &move);
  QDropEvent dropped(drop, Qt::MoveAction, mime, Qt::LeftButton, {});
  QApplication::sendEvent(tree->viewport(), &dropped);
  delete mime;
  ASSERT_EQ(window->Model().Meshes[1].Name, "Right");
  EXPECT_EQ(window->Model().Meshes[1].HardpointCount(), 1);
  EXPECT_EQ(tree->topLevelItem(1)->text(0), "Right") << "the outliner shows the new order";
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Move Mesh Down");
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

// The gizmo as drawn: a red arrow along the screen's X from the selection's centre, a blue
// one along Z nowhere (the Top view looks along it), and nothing once hidden or unselected.
TEST_F(ShapingTest, TheGizmoIsDrawnAtTheSelectionsCentreAlongItsAxes) {
  Open();
  Button("viewbar_top")->click();
  GlViewportWidget& view = window->ViewportWidget();
  const QPointF centre = PixelOf(10, 10, 0);
  const QPointF onX = centre + XOnScreen() * 45;  // halfway along the arrow
  const auto colourAt = [&](QPointF at) {
    const QImage frame = view.grabFramebuffer();
    const qreal ratio = frame.devicePixelRatio();
    return QColor(
        frame.pixel(QPoint(static_cast<int>(at.x() * ratio), static_cast<int>(at.y() * ratio))));
  };
  const QColor arrow = colourAt(onX);
  EXPECT_GT(arrow.red(), 200) << arrow.name().toStdString();
  EXPECT_LT(arrow.green(), 120) << arrow.name().toStdString();
  Action("showgizmomenu")->setChecked(false);
  EXPECT_NE(colourAt(onX), arrow) << "hidden";
  Action("showgizmomenu")->setChecked(true);
  EXPECT_EQ(colourAt(onX), arrow);
  Action("selectnonemenu")->trigger();
  EXPECT_NE(colourAt(onX), arrow) << "nothing selected, no gizmo";
}

}  // namespace
}  // namespace tamsel::test
