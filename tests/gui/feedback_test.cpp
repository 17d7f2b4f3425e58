// What the window tells the user and what it costs when idle: status-bar reports, the
// default of the one question that deletes files, arrows that belong to the control with
// the keyboard, and no frames drawn while nothing moves.
#include <QAction>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <filesystem>

#include "app/qt_dialogs.h"
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
  window->MenuItem("saveopzmenu")->trigger();
  EXPECT_EQ(Status(),
            "Saved " + QString::fromStdString(ProjectFilePath(dir.path()).filename().string()));
  window->MenuItem("optcreatemenu")->trigger();
  EXPECT_TRUE(Status().startsWith("Created ")) << Status().toStdString();
  EXPECT_TRUE(Status().contains(QString::fromStdString(dir.path().string())))
      << Status().toStdString();
  window->MenuItem("quad2trimenu")->trigger();
  EXPECT_EQ(Status(), "Quad2Tri split 4 faces");
  WriteFileAtomic(
      dir / "one.dxf",
      "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n"
      "0\n12\n1\n22\n1\n32\n0\n13\n0\n23\n1\n33\n0\n0\nENDSEC\n0\nEOF\n");
  dialogs.Push(QString::fromStdString((dir / "one.dxf").string()));
  window->MenuItem("dxfimportmenu")->trigger();
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
}

TEST_F(FeedbackTest, ArrowsMoveTheTextCursorInABoxAndTurnTheViewElsewhere) {
  Open();
  Camera& camera = window->Renderscreen().Camera();
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
  window->PropBar().ButtonAt(4)->click();  // the rotation panel
  QTest::qWait(200);
  const int settled = window->FramesDrawn();
  QTest::qWait(1000);
  EXPECT_LE(window->FramesDrawn() - settled, 1) << "frames drawn while idle";
  QTest::mouseClick(Find<QCheckBox>("rotanimaxis"), Qt::LeftButton);
  const int ticked = window->FramesDrawn();
  QTest::qWait(500);
  EXPECT_GE(window->FramesDrawn() - ticked, 4) << "the animation stopped";
  QTest::mouseClick(Find<QCheckBox>("rotanimaxis"), Qt::LeftButton);
  QTest::qWait(200);
  const int stopped = window->FramesDrawn();
  QTest::qWait(600);
  EXPECT_LE(window->FramesDrawn() - stopped, 1);
}

}  // namespace
}  // namespace tamsel::test
