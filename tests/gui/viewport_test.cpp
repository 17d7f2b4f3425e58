#include <GL/gl.h>

#include <QOpenGLContext>

#include "gui/project_fixture.h"
#include "gui/window_fixture.h"
#include "support/gl_selection_pass.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"
#include "viewport/viewport_input.h"

namespace tamsel::test {
namespace {

// The display list the recording receiver below draws.
GLuint SceneList() {
  static GLuint list = 0;
  if (!list) list = glGenLists(1);
  return list;
}

// Compiles test content into the scene list.
void CompileScene(GlViewportWidget& widget, const std::function<void()>& body) {
  GlViewportWidget::ContextScope scope(widget);
  ASSERT_TRUE(scope.ok());
  glNewList(SceneList(), GL_COMPILE);
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

QColor PixelAt(GlViewportWidget& ctl, QPointF fraction) {
  const QImage frame = ctl.grabFramebuffer();
  return frame.pixelColor(static_cast<int>(frame.width() * fraction.x()),
                          static_cast<int>(frame.height() * fraction.y()));
}

TEST_F(WindowTest, TheViewportHasACompatibilityContext) {
  QOpenGLContext* context = window->ViewportWidget().context();
  ASSERT_NE(context, nullptr);
  const QSurfaceFormat format = context->format();
  EXPECT_EQ(format.profile(), QSurfaceFormat::CompatibilityProfile);
  EXPECT_GE(format.majorVersion() * 10 + format.minorVersion(), 21);
  EXPECT_GE(format.depthBufferSize(), 16);
}

TEST_F(ProjectTest, DrawClearsToBlackAndDrawsEachEdgeOfTheWireframe) {
  GlViewportWidget& ctl = window->ViewportWidget();
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
  ViewportController& viewport = window->Viewport();
  ReferenceSceneList reference(window->ViewportWidget());
  ASSERT_TRUE(reference.Compile(window->Model(), window->View(), window->Colors(),
                                window->Link().CurrentSceneInputs(),
                                viewport.Drawing().Textures()));
  GlViewportWidget::ContextScope scope(window->ViewportWidget());
  ASSERT_TRUE(scope.ok());
  GLint width = 0;
  glBindTexture(GL_TEXTURE_2D, viewport.Drawing().Textures().Id(0, false));
  glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
  EXPECT_EQ(width, 8);
  glBindTexture(GL_TEXTURE_2D, 0);
}

// The widget on its own, with a receiver that records what the widget raises.
class RecordingInput : public ViewportInput {
 public:
  void InitGL() override {
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthRange(0.0, 1.0);
    glClearColor(0, 0, 0, 0);
    ++initGLs;
  }
  void Draw() override {
    ClearScreen();
    DrawScene();
  }
  static void DrawScene() {
    if (glIsList(SceneList())) glCallList(SceneList());
  }
  void MousePress(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPointF) override {
    presses.push_back({button, mods});
  }
  void MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, QPointF) override { ++moves; }
  void MouseRelease(Qt::MouseButton, Qt::KeyboardModifiers, QPointF) override { ++releases; }
  void Wheel(double, Qt::KeyboardModifiers, QPointF) override {}
  void Click(Qt::MouseButton button, Qt::KeyboardModifiers mods, QPoint at) override {
    clicks.push_back({button, mods});
    clickedAt = at;
  }
  void ContextLost() override { ++losses; }

  int initGLs = 0, moves = 0, releases = 0, losses = 0;
  std::vector<std::pair<Qt::MouseButton, Qt::KeyboardModifiers>> presses, clicks;
  QPoint clickedAt;
};

class HostControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    widget.SetInput(&input);
    widget.resize(200, 200);
    widget.Start();
    widget.show();
    widget.SetActive(true);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
    ASSERT_TRUE(QTest::qWaitFor([&] { return input.initGLs > 0; }, 10000));
    widget.Camera().SetOrtho(-10, 10, -10, 10);
    widget.Camera().NearPlane = -10;
    widget.Camera().FarPlane = 10;
  }
  std::vector<std::int32_t> PickAt(int x, int y) {
    const auto items = SelectionPass(widget, x, y, &RecordingInput::DrawScene);
    EXPECT_TRUE(items.has_value());
    return items.value_or(std::vector<std::int32_t>{});
  }
  GlViewportWidget widget;
  RecordingInput input;
};

TEST_F(HostControlTest, RaisesInitGLOnceAndASelectionPassFindsTheRecordsUnderThePointer) {
  EXPECT_EQ(input.initGLs, 1);
  CompileScene(widget, [] {
    glLoadName(1001);
    Square(-3, -3, 3, 3, 0);
    glLoadName(2001);
    Square(-1, -1, 1, 1, 5);
    glLoadName(~0u);
    Square(-9, -9, -8, -8, 0);
  });
  auto items = PickAt(100, 100);
  ASSERT_EQ(HitCount(items), 2);
  ASSERT_EQ(items.size(), 8u);  // two records: count, min depth, max depth, one name
  EXPECT_EQ(items[0], 1);
  EXPECT_EQ(items[3], 1001);
  EXPECT_EQ(items[4], 1);
  EXPECT_EQ(items[7], 2001);
  EXPECT_NE(items[1], items[5]);  // the squares lie at different depths

  items = PickAt(100 + 25, 100);  // only the large square is under this point
  ASSERT_EQ(HitCount(items), 1);
  EXPECT_EQ(items[3], 1001);

  EXPECT_TRUE(PickAt(100, 5).empty());  // the unnamed square's corner is elsewhere
}

TEST_F(HostControlTest, AClickIsRaisedWithItsButtonAndModifiersAndADragIsNot) {
  QTest::mouseClick(&widget, Qt::RightButton, Qt::ShiftModifier, QPoint(100, 100));
  ASSERT_EQ(input.clicks.size(), 1u);
  EXPECT_EQ(input.clicks[0].first, Qt::RightButton);
  EXPECT_EQ(input.clicks[0].second, Qt::ShiftModifier);
  EXPECT_EQ(input.clickedAt, QPoint(100, 100));
  ASSERT_EQ(input.presses.size(), 1u);
  EXPECT_EQ(input.presses[0].first, Qt::RightButton);
  EXPECT_EQ(input.releases, 1);
  // Within the slop it is still a click, raised where the press was.
  QTest::mouseClick(&widget, Qt::LeftButton, {}, QPoint(50, 60));
  EXPECT_EQ(input.clicks.size(), 2u);
  QTest::mousePress(&widget, Qt::RightButton, {}, QPoint(100, 100));
  QTest::mouseMove(&widget, QPoint(140, 100));
  QTest::mouseRelease(&widget, Qt::RightButton, {}, QPoint(140, 100));
  EXPECT_EQ(input.clicks.size(), 2u);
  EXPECT_EQ(input.releases, 3);
}

TEST_F(HostControlTest, TheNearerOfTwoOverlappingFacesIsDrawnAndHasTheSmallerDepth) {
  // What is seen is what a selection pass finds nearest.
  CompileScene(widget, [] {
    glColor3ub(255, 0, 0);
    glLoadName(1);
    Square(-5, -5, 5, 5, 2);
    glColor3ub(0, 255, 0);
    glLoadName(2);
    Square(-5, -5, 5, 5, -2);
  });
  widget.Redraw();
  const QColor seen = PixelAt(widget, {0.5, 0.5});
  const auto items = PickAt(100, 100);
  ASSERT_EQ(items.size(), 8u);
  const auto depth1 = static_cast<std::uint32_t>(items[1]),
             depth2 = static_cast<std::uint32_t>(items[5]);
  const int nearer = depth1 < depth2 ? 1 : 2;
  EXPECT_EQ(seen, nearer == 1 ? QColor(255, 0, 0) : QColor(0, 255, 0));
}

}  // namespace
}  // namespace tamsel::test
