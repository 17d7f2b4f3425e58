#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

#include <QToolButton>
#include "gui/window_fixture.h"
#include "viewport/camera_frame.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"

namespace tamsel::test {
namespace {

void ExpectOrientation(const Matrix4& actual, const Matrix4& expected) {
  for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-9) << i;
}

Matrix4 Base() {
  Camera c;
  c.RotateX(180);
  c.RotateZ(180);
  return c.Orientation();
}

TEST_F(WindowTest, ViewPresetsSetTheOrientationAndKeepPanAndZoomWithNothingToFrame) {
  Camera& camera = window->ViewportWidget().Camera();
  camera.Pan(3, 4);
  Button("viewbar_front")->click();
  EXPECT_EQ(ViewName(camera), "Front");
  Button("viewbar_top")->click();
  ExpectOrientation(camera.Orientation(), Base());
  EXPECT_EQ(camera.PanOffset(), (std::array<double, 2>{3, 4}));
  EXPECT_EQ(window->Model().ViewExtent, 10.0);
  // The keys of the keypad's layout, with Ctrl the opposite sides; the View menu lists all.
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, const char*> keys[] = {
      {Qt::Key_1, {}, "Front"},
      {Qt::Key_3, {}, "Right"},
      {Qt::Key_7, {}, "Top"},
      {Qt::Key_1, Qt::ControlModifier, "Back"},
      {Qt::Key_3, Qt::ControlModifier, "Left"},
      {Qt::Key_7, Qt::ControlModifier, "Bottom"},
      {Qt::Key_5, {}, "3D"}};
  for (const auto& [key, modifiers, name] : keys) {
    QTest::keyClick(window.get(), key, modifiers);
    EXPECT_EQ(ViewName(camera), name);
  }
  for (const auto& [item, name] : {std::pair{"bottomviewmenu", "Bottom"},
                                   {"backviewmenu", "Back"},
                                   {"leftviewmenu", "Left"}}) {
    Find<QAction>(item)->trigger();
    EXPECT_EQ(ViewName(camera), name);
  }
}

TEST_F(WindowTest, ArrowKeysRotateOrPanAsTheViewOptionsSay) {
  Camera& camera = window->ViewportWidget().Camera();
  auto* taker = Find<QLineEdit>("focustaker");
  taker->setFocus();
  QTest::keyClick(taker, Qt::Key_Left);
  Camera expected;
  expected.RotateX(180);
  expected.RotateZ(180);
  expected.RotateY(-3);
  ExpectOrientation(camera.Orientation(), expected.Orientation());
  // Shift+Up with Rotate chosen only redraws.
  QTest::keyClick(taker, Qt::Key_Up, Qt::ShiftModifier);
  ExpectOrientation(camera.Orientation(), expected.Orientation());
  EXPECT_EQ(window->Model().ViewExtent, 10.0);

  QTest::mouseClick(Find<QRadioButton>("panop"), Qt::LeftButton);
  EXPECT_TRUE(taker->hasFocus()) << "choosing Pan hands the focus back";
  QTest::keyClick(taker, Qt::Key_Right);
  EXPECT_NEAR(camera.PanOffset()[0], -2.0, 1e-12);  // -e / 5
  for (int i = 0; i < 10; ++i) QTest::keyClick(taker, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_NEAR(window->Model().ViewExtent, 10 * std::pow(0.9, 10), 1e-9);
  EXPECT_NEAR(camera.Ortho()[1], window->Model().ViewExtent, 1e-12);
}

TEST_F(WindowTest, ZoomNeverReachesZeroOrInfinity) {
  QTest::mouseClick(Find<QRadioButton>("panop"), Qt::LeftButton);
  auto* taker = Find<QLineEdit>("focustaker");
  for (int i = 0; i < 400; ++i) QTest::keyClick(taker, Qt::Key_Up, Qt::ShiftModifier);
  EXPECT_GE(window->Model().ViewExtent, window->Viewport().Navigation().ZoomFloor());
  EXPECT_GT(window->Model().ViewExtent, 0);
  // Dragging down with Shift zooms out, bounded too.
  GlViewportWidget& ctl = window->ViewportWidget();
  QTest::mousePress(&ctl, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 10));
  for (int i = 0; i < 50; ++i) {
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10 + 100 + i),
                     ctl.mapToGlobal(QPointF(10, 110 + i)), Qt::NoButton, Qt::RightButton,
                     Qt::ShiftModifier);
    QApplication::sendEvent(&ctl, &move);
  }
  QTest::mouseRelease(&ctl, Qt::RightButton, Qt::ShiftModifier, QPoint(10, 160));
  EXPECT_TRUE(std::isfinite(window->Model().ViewExtent));
  EXPECT_GT(window->Model().ViewExtent, window->Viewport().Navigation().ZoomFloor());
}

TEST_F(WindowTest, SecondaryDragRotatesByTheDistanceFromThePress) {
  GlViewportWidget& ctl = window->ViewportWidget();
  QTest::mousePress(&ctl, Qt::RightButton, {}, QPoint(50, 50));
  QTest::mouseMove(&ctl, QPoint(70, 50));
  QTest::mouseMove(&ctl, QPoint(70, 50));  // each move turns again by 0.05 x 20 degrees
  QTest::mouseRelease(&ctl, Qt::RightButton, {}, QPoint(70, 50));
  Camera expected;
  expected.RotateX(180);
  expected.RotateZ(180);
  for (int i = 0; i < 2; ++i) {
    expected.RotateY(1);
    expected.RotateX(0);
  }
  ExpectOrientation(ctl.Camera().Orientation(), expected.Orientation());
}

TEST_F(WindowTest, GeometryLevelButtonsSwitchControlsPanelsAndSubFrameButtons) {
  Button("propbar_hitzone")->click();  // hitzone panel
  EXPECT_EQ(window->View().PropertyPanel, Panel::Hitzone);
  EXPECT_TRUE(Find("hitzoneframe")->isVisible());
  EXPECT_FALSE(Action("propbar_subgeometry")->isVisible());
  Button("dispbar_face")->click();
  EXPECT_EQ(window->View().PropertyPanel, Panel::Geometry);
  EXPECT_TRUE(Find("geometryframe")->isVisible());
  EXPECT_FALSE(Find("hitzoneframe")->isVisible());
  EXPECT_FALSE(Action("propbar_hitzone")->isEnabled());
  EXPECT_FALSE(Action("propbar_rotation")->isEnabled());
  EXPECT_TRUE(Action("propbar_geometry")->isChecked());
  EXPECT_FALSE(Action("propbar_hitzone")->isChecked());
  EXPECT_TRUE(Action("propbar_subgeometry")->isVisible() &&
              Action("propbar_subtexture")->isVisible());
  EXPECT_TRUE(Action("propbar_subtexture")->isEnabled());
  EXPECT_TRUE(Find("facelist")->isVisible());
  EXPECT_FALSE(Find("meshlist")->isVisible());

  Button("dispbar_mesh")->click();
  EXPECT_FALSE(Action("propbar_subtexture")->isEnabled());
  EXPECT_TRUE(Action("propbar_hitzone")->isEnabled());
  Button("dispbar_vertex")->click();
  EXPECT_TRUE(Action("propbar_subtexture")->isEnabled());
  EXPECT_EQ(window->View().GeometrySubPanel, GeometrySub::Geometry);
  EXPECT_TRUE(Find("Xvertexlist")->isVisible());

  // A pressed group button stays pressed, the others of its group released.
  Button("dispbar_vertex")->click();
  EXPECT_TRUE(Action("dispbar_vertex")->isChecked());
  EXPECT_FALSE(Action("dispbar_mesh")->isChecked());
  EXPECT_TRUE(Action("dispbar_high_level")->isChecked());
  Button("dispbar_no_norm")->click();
  EXPECT_EQ(window->View().NormalsShown, false);
  EXPECT_FALSE(Action("dispbar_norm")->isChecked());
}

TEST_F(WindowTest, PropertyButtonsBringTheirFramesAndSubFramesToTheFront) {
  Button("propbar_texture")->click();
  EXPECT_EQ(window->View().PropertyPanel, Panel::Texture);
  EXPECT_TRUE(Find("textureframe")->isVisible());
  EXPECT_TRUE(Action("propbar_subtransparency")->isVisible() &&
              Action("propbar_subillumination")->isVisible());
  EXPECT_FALSE(Action("propbar_subgeometry")->isVisible() ||
               Action("propbar_subtexture")->isVisible());
  Button("propbar_subillumination")->click();
  EXPECT_EQ(window->View().TextureSubPanel, TextureSub::Illumination);
  EXPECT_TRUE(Find("illumsubframe")->isVisible());
  EXPECT_FALSE(Action("propbar_subtransparency")->isChecked());
  Button("propbar_subillumination")->click();  // clicking it again keeps it pressed
  EXPECT_TRUE(Action("propbar_subillumination")->isChecked());
  Button("propbar_engine_glow")->click();
  EXPECT_EQ(window->View().PropertyPanel, Panel::EngineGlow);
  EXPECT_FALSE(Action("propbar_subtransparency")->isVisible());
  EXPECT_FALSE(Action("propbar_texture")->isChecked());
}

TEST_F(WindowTest, TheRotationPanelAnimatesWhileABoxIsTicked) {
  Button("propbar_rotation")->click();
  auto* axis = Find<QCheckBox>("rotanimaxis");
  QTest::mouseClick(axis, Qt::LeftButton);
  ASSERT_TRUE(axis->isChecked());
  EXPECT_EQ(window->View().AxisAnimAngle, 0);
  const int before = window->Link().FramesDrawn();
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->Link().FramesDrawn() >= before + 3; }, 5000));
  EXPECT_EQ(window->View().AxisAnimAngle % 5, 0);
  EXPECT_GT(window->View().AxisAnimAngle, 0);
  QTest::mouseClick(axis, Qt::LeftButton);  // unticking restarts from the rest position
  EXPECT_EQ(window->View().AxisAnimAngle, 0);
}

}  // namespace
}  // namespace tamsel::test
