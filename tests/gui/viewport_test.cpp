#include <GL/gl.h>

#include <QOpenGLContext>

#include "gui/window_fixture.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"

namespace tamsel::test {
namespace {

// Compiles test content into the scene list, as CreateCall will with the model.
void CompileScene(GlxCtl& ctl, const std::function<void()>& body) {
  GlxCtl::ContextScope scope(ctl);
  ASSERT_TRUE(scope.ok());
  glNewList(CXXX::kSceneList, GL_COMPILE);
  body();
  glEndList();
}

// A square in the z = depth plane, facing the viewer in the base orientation.
void Square(float x0, float y0, float x1, float y1, float depth) {
  glBegin(GL_POLYGON);
  glVertex3f(x0, y0, depth);
  glVertex3f(x0, y1, depth);
  glVertex3f(x1, y1, depth);
  glVertex3f(x1, y0, depth);
  glEnd();
}

QColor PixelAt(GlxCtl& ctl, QPointF fraction) {
  const QImage frame = ctl.grabFramebuffer();
  return frame.pixelColor(static_cast<int>(frame.width() * fraction.x()),
                          static_cast<int>(frame.height() * fraction.y()));
}

TEST_F(WindowTest, TheViewportHasACompatibilityContext) {
  QOpenGLContext* context = window->Renderscreen().context();
  ASSERT_NE(context, nullptr);
  const QSurfaceFormat format = context->format();
  EXPECT_EQ(format.profile(), QSurfaceFormat::CompatibilityProfile);
  EXPECT_GE(format.majorVersion() * 10 + format.minorVersion(), 21);
  EXPECT_GE(format.depthBufferSize(), 16);
}

TEST_F(WindowTest, DrawClearsToBlackAndExecutesTheSceneList) {
  GlxCtl& ctl = window->Renderscreen();
  // The default frame is the clear colour everywhere.
  EXPECT_EQ(PixelAt(ctl, {0.5, 0.5}), QColor(0, 0, 0));
  CompileScene(ctl, [] {
    glColor3ub(255, 0, 0);
    glDisable(GL_CULL_FACE);
    Square(-3, -3, 3, 3, 0);
    glEnable(GL_CULL_FACE);
  });
  EXPECT_EQ(PixelAt(ctl, {0.5, 0.5}), QColor(255, 0, 0));
  EXPECT_EQ(PixelAt(ctl, {0.02, 0.02}), QColor(0, 0, 0));
}

TEST_F(WindowTest, SelectionPassHandsPickTheHitRecordsUnderThePointer) {
  GlxCtl& ctl = window->Renderscreen();
  CompileScene(ctl, [] {
    glDisable(GL_CULL_FACE);
    glLoadName(1001);
    Square(-3, -3, 3, 3, 0);
    glLoadName(2001);
    Square(-1, -1, 1, 1, 1);
    glLoadName(~0u);
    Square(-9, -9, -8, -8, 0);
    glEnable(GL_CULL_FACE);
  });
  ctl.PickAt(ctl.width() / 2, ctl.height() / 2);
  const std::vector<std::int32_t>& items = window->Viewport().LastPickItems();
  ASSERT_EQ(ctl.HitCount(), 2);
  ASSERT_EQ(items.size(), 8u);  // two records: count, min depth, max depth, one name
  EXPECT_EQ(items[0], 1);
  EXPECT_EQ(items[3], 1001);
  EXPECT_EQ(items[4], 1);
  EXPECT_EQ(items[7], 2001);
  EXPECT_NE(items[1], items[5]);  // the two squares lie at different depths

  // Only the first square lies under this point.
  const int x = static_cast<int>(ctl.width() / 2 + ctl.height() * 2.0 / 20);
  ctl.PickAt(x, ctl.height() / 2);
  ASSERT_EQ(ctl.HitCount(), 1);
  EXPECT_EQ(window->Viewport().LastPickItems()[3], 1001);

  // Empty space: no hits. The unnamed square (-1) at the corner is reported with name -1.
  ctl.PickAt(2, 2);
  EXPECT_EQ(ctl.HitCount(), 0);
  EXPECT_TRUE(window->Viewport().LastPickItems().empty());
}

TEST_F(WindowTest, AClickRunsThePickAndADragDoesNot) {
  GlxCtl& ctl = window->Renderscreen();
  CompileScene(ctl, [] {
    glDisable(GL_CULL_FACE);
    glLoadName(1001);
    Square(-9, -9, 9, 9, 0);
    glEnable(GL_CULL_FACE);
  });
  const QPoint centre(ctl.width() / 2, ctl.height() / 2);
  QTest::mouseClick(&ctl, Qt::RightButton, {}, centre);
  EXPECT_EQ(ctl.HitCount(), 1);
  CompileScene(ctl, [] {});
  QTest::mousePress(&ctl, Qt::RightButton, {}, centre);
  QTest::mouseMove(&ctl, centre + QPoint(40, 0));
  QTest::mouseRelease(&ctl, Qt::RightButton, {}, centre + QPoint(40, 0));
  EXPECT_EQ(ctl.HitCount(), 1);  // no new pass ran over the now empty scene
}

}  // namespace
}  // namespace tamsel::test
