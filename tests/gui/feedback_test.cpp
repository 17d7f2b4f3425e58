// What the window tells the user and what it costs when idle: status-bar reports, the
// default of the one question that deletes files, arrows that belong to the control with
// the keyboard, and no frames drawn while nothing moves.
#include <QAction>
#include <QCheckBox>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>
#include <filesystem>

#include "app/project_commands.h"
#include "app/qt_dialogs.h"
#include "app/window_shell.h"
#include "gui/project_fixture.h"
#include "model/project.h"

namespace tamsel::test {
namespace {

class FeedbackTest : public ProjectTest {
 protected:
  QString Status() { return window->statusBar()->currentMessage(); }
};

TEST_F(FeedbackTest, CommandsSayWhatTheyDidInTheStatusBar) {
  Open();
  Action("saveopzmenu")->trigger();
  EXPECT_EQ(Status(),
            "Saved " + QString::fromStdString(ProjectFilePath(dir.path()).filename().string()));
  Action("optcreatemenu")->trigger();
  EXPECT_TRUE(Status().startsWith("Created ")) << Status().toStdString();
  EXPECT_TRUE(Status().contains(QString::fromStdString(dir.path().string())))
      << Status().toStdString();
  Action("quad2trimenu")->trigger();
  EXPECT_EQ(Status(), "Quad2Tri split 4 faces");
  WriteFileAtomic(
      dir / "one.dxf",
      "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n"
      "0\n12\n1\n22\n1\n32\n0\n13\n0\n23\n1\n33\n0\n0\nENDSEC\n0\nEOF\n");
  dialogs.Push(QString::fromStdString((dir / "one.dxf").string()));
  Action("dxfimportmenu")->trigger();
  EXPECT_EQ(Status(), "Imported 1 meshes, 1 faces, 1 textures");
}

TEST_F(FeedbackTest, ReturnInTheOverwriteQuestionCancels) {
  QtDialogs real;
  real.SetParent(window.get());
  QString defaultButton;
  QTimer::singleShot(0, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
    QTest::keyClick(box, Qt::Key_Return);
  });
  EXPECT_EQ(real.OkCancel("The folder 'x' already exists.  Overwrite?", "Folder Overwrite"),
            Dialogs::Answer::Cancel);
  EXPECT_TRUE(defaultButton.contains("Cancel")) << defaultButton.toStdString();

  // Errors carry the warning icon; the face count is information.
  QMessageBox::Icon icons[2] = {};
  for (int i = 0; i < 2; ++i) {
    QTimer::singleShot(0, [&icons, i] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      icons[i] = box->icon();
      box->accept();
    });
    if (i == 0)
      real.MessageBox("x.opt, byte 4: not an OPT file", "import .OPT");
    else
      real.Inform("12 Faces", "Face Count");
  }
  EXPECT_EQ(icons[0], QMessageBox::Warning);
  EXPECT_EQ(icons[1], QMessageBox::Information);
}

TEST_F(FeedbackTest, ArrowsMoveTheTextCursorInABoxAndTurnTheViewElsewhere) {
  Open();
  Camera& camera = window->ViewportWidget().Camera();
  const Matrix4 before = camera.ModelView();
  QLineEdit* box = Find<QLineEdit>("meshloddisttext");
  box->setText("12345");
  box->setFocus();
  box->setCursorPosition(5);
  QTest::keyClick(box, Qt::Key_Left);
  EXPECT_EQ(box->cursorPosition(), 4);
  EXPECT_EQ(camera.ModelView(), before) << "typing moved the camera";
  QLineEdit* viewport = Find<QLineEdit>("focustaker");
  viewport->setFocus();
  QTest::keyClick(viewport, Qt::Key_Left);
  EXPECT_NE(camera.ModelView(), before);
}

TEST_F(FeedbackTest, TheRotationPanelDrawsNothingWhileNoAnimationIsTicked) {
  Open();
  Button("propbar_rotation")->click();  // the rotation panel
  QTest::qWait(200);
  const int settled = window->Link().FramesDrawn();
  QTest::qWait(1000);
  EXPECT_LE(window->Link().FramesDrawn() - settled, 1) << "frames drawn while idle";
  EXPECT_FALSE(window->Link().AnimationRunning()) << "no timer wakes an idle window";
  QTest::mouseClick(Find<QCheckBox>("rotanimaxis"), Qt::LeftButton);
  EXPECT_TRUE(window->Link().AnimationRunning());
  const int ticked = window->Link().FramesDrawn();
  QTest::qWait(500);
  EXPECT_GE(window->Link().FramesDrawn() - ticked, 4) << "the animation stopped";
  QTest::mouseClick(Find<QCheckBox>("rotanimaxis"), Qt::LeftButton);
  QTest::qWait(200);
  const int stopped = window->Link().FramesDrawn();
  QTest::qWait(600);
  EXPECT_LE(window->Link().FramesDrawn() - stopped, 1);
  EXPECT_FALSE(window->Link().AnimationRunning());
  // Ticked but hidden behind another panel, it stops too.
  QTest::mouseClick(Find<QCheckBox>("rotanimaxis"), Qt::LeftButton);
  Button("propbar_geometry")->click();
  QTest::qWait(200);
  EXPECT_FALSE(window->Link().AnimationRunning());
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

class FitTest : public ProjectTest {
 protected:
  // The share of the view's width and height the selected meshes' corners take.
  std::pair<double, double> Span() {
    int x0 = 1 << 30, x1 = -(1 << 30), y0 = x0, y1 = x1;
    for (const MeshRec& m : window->Model().Meshes)
      if (m.LODs[0].Selected)
        for (const FaceRec& f : m.LODs[0].Faces)
          for (int k = 0; k < 4; ++k) {
            const QPoint p = PixelOf(f.Vertices[static_cast<std::size_t>(k)].X,
                                     f.Vertices[static_cast<std::size_t>(k)].Y,
                                     f.Vertices[static_cast<std::size_t>(k)].Z);
            x0 = std::min(x0, p.x()), x1 = std::max(x1, p.x());
            y0 = std::min(y0, p.y()), y1 = std::max(y1, p.y());
          }
    const GlViewportWidget& ctl = window->ViewportWidget();
    return {static_cast<double>(x1 - x0) / ctl.width(),
            static_cast<double>(y1 - y0) / ctl.height()};
  }
};

TEST_F(FitTest, FitFindsTheModelAfterAnyPanAndZoomAndTheWheelZooms) {
  Open();  // the first mesh selected: Fit frames it
  GlViewportWidget& ctl = window->ViewportWidget();
  ctl.Camera().Pan(5000, -7000);
  for (int i = 0; i < 30; ++i) window->Viewport().Navigation().Wheel(1, {});  // far in
  Find<QLineEdit>("focustaker")->setFocus();
  QTest::keyClick(Find<QLineEdit>("focustaker"), Qt::Key_F);
  const auto [w, h] = Span();
  EXPECT_GE(std::max(w, h), 0.8);
  EXPECT_LE(std::max(w, h), 1.0);
  EXPECT_TRUE(Find<QLineEdit>("focustaker")->text().isEmpty()) << "F was typed, not taken";
  // With nothing selected, the whole model.
  ClickRow("meshlist", 0, Qt::ControlModifier);
  ASSERT_FALSE(window->Model().Meshes[0].LODs[0].Selected);
  window->Viewport().Navigation().Fit();
  for (const MeshRec& m : window->Model().Meshes) ASSERT_FALSE(m.LODs[0].Selected);
  window->Model().Meshes.Edit(0).LODs[0].Selected = kTrue;  // measure all: both meshes
  window->Model().Meshes.Edit(1).LODs[0].Selected = kTrue;
  const auto [wAll, hAll] = Span();
  EXPECT_GE(std::max(wAll, hAll), 0.8);
  EXPECT_LE(std::max(wAll, hAll), 1.0);

  // The wheel: a notch away from the user zooms in (the model grows), Shift in finer steps.
  const double extent = window->Model().ViewExtent;
  QWheelEvent wheel(QPointF(50, 50), ctl.mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&ctl, &wheel);
  EXPECT_NEAR(window->Model().ViewExtent, extent * 0.85, 1e-9);
  window->Viewport().Navigation().Wheel(-1, Qt::ShiftModifier);
  EXPECT_NEAR(window->Model().ViewExtent, extent * 0.85 / 0.98, 1e-9);

  // A preset frames too.
  ctl.Camera().Pan(100, 100);
  Button("viewbar_front")->click();
  EXPECT_EQ(ctl.Camera().PanOffset(), (std::array<double, 2>{0, 0}));
}

TEST_F(FitTest, TheMiddleButtonPansWithThePointer) {
  Open();
  GlViewportWidget& ctl = window->ViewportWidget();
  const QPoint at = PixelOf(0, 10, 0);
  QTest::mousePress(&ctl, Qt::MiddleButton, {}, QPoint(100, 100));
  QMouseEvent move(QEvent::MouseMove, QPointF(140, 120), ctl.mapToGlobal(QPointF(140, 120)),
                   Qt::NoButton, Qt::MiddleButton, Qt::NoModifier);
  QApplication::sendEvent(&ctl, &move);
  QTest::mouseRelease(&ctl, Qt::MiddleButton, {}, QPoint(140, 120));
  const QPoint moved = PixelOf(0, 10, 0);
  EXPECT_NEAR(moved.x() - at.x(), 40, 1);
  EXPECT_NEAR(moved.y() - at.y(), 20, 1);
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

TEST_F(FeedbackTest, PanelsShowNumbersFromTheirStartAndTexturesByFileName) {
  Open();
  Press("face");
  ClickRow("facelist", 0);
  for (const char* name : {"Xfacetext", "Ifacenormtext", "X1vectortext"}) {
    QLineEdit* box = Find<QLineEdit>(name);
    EXPECT_EQ(box->cursorPosition(), 0) << name;
  }
  EXPECT_TRUE(Find<QLineEdit>("Xfacetext")->isReadOnly());
  EXPECT_TRUE(Find<QLineEdit>("Xfacetext")->styleSheet().contains("background"))
      << "looks shown-only";
  EXPECT_EQ(L("transtexturelist")->List(0), "red.BMP");
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

TEST_F(FeedbackTest, LongCommandsFeedAProgressBarThatGoesWhenTheyEnd) {
  Open();
  window->Shell().SetProgressDelay(0);  // every report shows
  auto* bar = Find<QProgressBar>("progressbar");
  ASSERT_NE(bar, nullptr);
  std::vector<int> seen;
  bool shownDuring = false;
  QObject::connect(bar, &QProgressBar::valueChanged, [&](int v) {
    seen.push_back(v);
    shownDuring = shownDuring || bar->isVisible();
  });
  Action("saveopzmenu")->trigger();   // two meshes written
  Action("quad2trimenu")->trigger();  // two meshes split
  ASSERT_FALSE(seen.empty());
  EXPECT_TRUE(shownDuring);
  EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](int v) { return v >= 0 && v <= 100; }));
  EXPECT_TRUE(std::find(seen.begin(), seen.end(), 50) != seen.end()) << "the second mesh";
  EXPECT_FALSE(bar->isVisible());

  // With the usual delay a quick command shows no bar at all.
  window->Shell().SetProgressDelay(500);
  seen.clear();
  Action("vertexnormalmenu")->trigger();
  EXPECT_TRUE(seen.empty());
  EXPECT_EQ(Status().toStdString(), "Vertex Normals calculated for 24 corners");  // 8 triangles
}

TEST_F(FeedbackTest, RefusedBoxesAreNamedAsTheUserSeesThem) {
  Open();
  Find<QLineEdit>("Xmeshtext")->setText("abc");
  Find<QPushButton>("updategeogeobut")->click();
  EXPECT_EQ(Status(), "\"abc\" in Mesh translation X is not a number");
  Button("propbar_hitzone")->click();
  Find<QLineEdit>("targetidtext")->setText("1.5");
  Find<QPushButton>("updatehitbut")->click();
  EXPECT_EQ(Status(), "\"1.5\" in Hitzone target ID is not a whole number");
}

}  // namespace
}  // namespace tamsel::test
