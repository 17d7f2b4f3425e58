#include <GL/gl.h>

#include <QOpenGLContext>

#include "gui/project_fixture.h"
#include "gui/window_fixture.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"
#include "viewport/glx_events.h"

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

TEST_F(ProjectTest, DrawClearsToBlackAndDrawsEachEdgeOfTheWireframe) {
  GlxCtl& ctl = window->Renderscreen();
  // The default frame is the clear colour everywhere.
  EXPECT_EQ(PixelAt(ctl, {0.5, 0.5}), QColor(0, 0, 0));
  Open();
  const QImage frame = ctl.grabFramebuffer();
  const auto lit = [&](QPoint at) {
    for (int dx = -1; dx <= 1; ++dx)
      for (int dy = -1; dy <= 1; ++dy)
        if (frame.pixelColor(at + QPoint(dx, dy)) != QColor(0, 0, 0)) return true;
    return false;
  };
  // The edge the two quads of each mesh share is drawn once, and drawn; their outer edges
  // too; inside a quad is the clear colour.
  EXPECT_TRUE(lit(PixelOf(10, 10, 0)));
  EXPECT_TRUE(lit(PixelOf(-10, 10, 0)));
  EXPECT_TRUE(lit(PixelOf(20, 10, 0)));
  EXPECT_TRUE(lit(PixelOf(15, 0, 0)));
  EXPECT_FALSE(lit(PixelOf(5, 10, 0)));
  EXPECT_FALSE(lit(PixelOf(-15, 5, 0)));
}

// Textures reach GL when first drawn, and never from inside a display list being compiled:
// there the image would be kept in the list and sent again at every call, not now.
TEST_F(ProjectTest, ATextureFirstDrawnByTheReferenceSceneIsMadeOutsideItsList) {
  Open();  // wire: no texture is made yet
  window->View().DisplayMode = Display::Texture;
  CXXX& viewport = window->Viewport();
  ASSERT_TRUE(viewport.CompileReference());
  GlxCtl::ContextScope scope(window->Renderscreen());
  ASSERT_TRUE(scope.ok());
  GLint width = 0;
  glBindTexture(GL_TEXTURE_2D, viewport.Textures().Id(0, false));
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 8);
  glBindTexture(GL_TEXTURE_2D, 0);
}

// A host control on its own, with a receiver that records what the control raises.
class RecordingEvents : public GlxEvents {
 public:
  explicit RecordingEvents(GlxCtl& ctl) : ctl_(ctl) {}
  void Init() override { ++inits; }
  void InitGL() override {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthRange(1.0, 0.0);
    glClearColor(0, 0, 0, 0);
    ++initGLs;
  }
  void Draw() override {
    ctl_.Screen().Clear();
    DrawForPick();
  }
  void DrawForPick() override {
    if (glIsList(CXXX::kSceneList)) glCallList(CXXX::kSceneList);
  }
  void MouseDown(int button, int shift, float, float) override { downs.push_back({button, shift}); }
  void MouseMove(int, int, float, float) override { ++moves; }
  void Wheel(double, int, float, float) override {}
  void Pick(const std::vector<std::int32_t>& hits) override { items = hits, ++picks; }
  void ContextLost() override { ++losses; }

  int inits = 0, initGLs = 0, moves = 0, picks = 0, losses = 0;
  std::vector<std::pair<int, int>> downs;
  std::vector<std::int32_t> items;

 private:
  GlxCtl& ctl_;
};

class HostControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ctl.SetEvents(&events);
    ctl.resize(200, 200);
    ctl.Start();
    ctl.show();
    ctl.SetActive(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&ctl));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.initGLs > 0; }, 10000));
    ctl.Camera().SetOrtho(-10, 10, -10, 10);
    ctl.Camera().NearPlane = -10;
    ctl.Camera().FarPlane = 10;
  }
  GlxCtl ctl;
  RecordingEvents events{ctl};
};

TEST_F(HostControlTest, RaisesInitAndInitGLOnceAndHandsPickTheHitRecordsUnderThePointer) {
  EXPECT_EQ(events.inits, 1);
  EXPECT_EQ(events.initGLs, 1);
  CompileScene(ctl, [] {
    glLoadName(1001);
    Square(-3, -3, 3, 3, 0);
    glLoadName(2001);
    Square(-1, -1, 1, 1, 5);
    glLoadName(~0u);
    Square(-9, -9, -8, -8, 0);
  });
  ctl.PickAt(100, 100);
  ASSERT_EQ(ctl.HitCount(), 2);
  ASSERT_EQ(events.items.size(), 8u);  // two records: count, min depth, max depth, one name
  EXPECT_EQ(events.items[0], 1);
  EXPECT_EQ(events.items[3], 1001);
  EXPECT_EQ(events.items[4], 1);
  EXPECT_EQ(events.items[7], 2001);
  EXPECT_NE(events.items[1], events.items[5]);  // the squares lie at different depths

  ctl.PickAt(100 + 25, 100);  // only the large square is under this point
  ASSERT_EQ(ctl.HitCount(), 1);
  EXPECT_EQ(events.items[3], 1001);

  ctl.PickAt(100, 5);  // the unnamed square's corner is elsewhere; nothing here
  EXPECT_EQ(ctl.HitCount(), 0);
  EXPECT_TRUE(events.items.empty());
}

TEST_F(HostControlTest, AClickPicksAndADragDoesNot) {
  CompileScene(ctl, [] {
    glLoadName(7);
    Square(-9, -9, 9, 9, 0);
  });
  QTest::mouseClick(&ctl, Qt::RightButton, Qt::ShiftModifier, QPoint(100, 100));
  EXPECT_EQ(events.picks, 1);
  ASSERT_EQ(events.downs.size(), 1u);
  EXPECT_EQ(events.downs[0], (std::pair<int, int>{2, 1}));
  QTest::mousePress(&ctl, Qt::RightButton, {}, QPoint(100, 100));
  QTest::mouseMove(&ctl, QPoint(140, 100));
  QTest::mouseRelease(&ctl, Qt::RightButton, {}, QPoint(140, 100));
  EXPECT_EQ(events.picks, 1);
}

TEST_F(HostControlTest, TheNearerOfTwoOverlappingFacesIsDrawnAndHasTheSmallerDepth) {
  // With the depth range reversed, the visible face is the one with the smaller depth;
  // Pick takes the smallest depth, so what is seen is what is picked.
  CompileScene(ctl, [] {
    glColor3ub(255, 0, 0);
    glLoadName(1);
    Square(-5, -5, 5, 5, 2);
    glColor3ub(0, 255, 0);
    glLoadName(2);
    Square(-5, -5, 5, 5, -2);
  });
  ctl.Redraw();
  const QColor seen = PixelAt(ctl, {0.5, 0.5});
  ctl.PickAt(100, 100);
  ASSERT_EQ(events.items.size(), 8u);
  const auto depth1 = static_cast<std::uint32_t>(events.items[1]),
             depth2 = static_cast<std::uint32_t>(events.items[5]);
  const int nearer = depth1 < depth2 ? 1 : 2;
  EXPECT_EQ(seen, nearer == 1 ? QColor(255, 0, 0) : QColor(0, 255, 0));
}

}  // namespace
}  // namespace tamsel::test
