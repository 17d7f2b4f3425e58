// Undo and redo through the Edit menu and the shortcuts, the unsaved-changes questions, the
// recent projects, and boxes and results that cannot be stored.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QUrl>

#include "app/panels/geometry_frame.h"
#include "app/panels/property_panels.h"
#include "app/project_commands.h"
#include "app/window_shell.h"
#include "gui/project_fixture.h"
#include "model/opz.h"
#include "model/project.h"

namespace tamsel::test {
namespace {

namespace fs = std::filesystem;

class UndoTest : public ProjectTest {
 protected:
  void SetUp() override {
    QSettings().remove("recentProjects");
    ProjectTest::SetUp();
  }
  void Type(const char* box, const QString& text) { Find<QLineEdit>(box)->setText(text); }
  void Click(const char* button) { QTest::mouseClick(Find<QWidget>(button), Qt::LeftButton); }
  float X() { return window->Model().Meshes[0].LODs[0].Faces[0].Vertices[1].X; }
  QAction* Item(const char* name) { return Action(name); }
  QString ProjectFile() { return QString::fromStdString((dir / "p.opz").string()); }
  // What saving writes: the project file is named after its folder.
  fs::path SavedFile() { return ProjectFilePath(dir.path()); }
  QString SavedName() { return QString::fromStdString(SavedFile().filename().string()); }
};

TEST_F(UndoTest, EditMenuAndShortcutsUndoAndRedoWithTheirLabels) {
  Open();
  EXPECT_FALSE(Item("editundomenu")->isEnabled());
  EXPECT_EQ(window->windowTitle(), "Tamsel v0.4 - " + SavedName() + "[*]");
  EXPECT_FALSE(window->isWindowModified());
  Type("Xmeshtext", "1.5");
  Type("meshloddisttext", "7");
  Click("updategeogeobut");
  ASSERT_EQ(X(), 11.5f);
  EXPECT_TRUE(window->isWindowModified());
  EXPECT_EQ(Item("editundomenu")->text(), "Undo Mesh UPDATE");
  EXPECT_FALSE(Item("editredomenu")->isEnabled());

  window->activateWindow();
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(X(), 10.0f);
  EXPECT_EQ(Text("meshloddisttext"), "0") << "the panel shows the restored distance";
  EXPECT_FALSE(window->isWindowModified()) << "back at the saved state";
  EXPECT_EQ(Item("editredomenu")->text(), "Redo Mesh UPDATE");
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(X(), 11.5f);
  EXPECT_EQ(Text("meshloddisttext"), "7");
  Item("editundomenu")->trigger();
  QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(X(), 11.5f);

  // Rename and delete: the rows come back with the records, the focus on its row.
  dialogs.Push(QString("Fin"));
  window->Panels().Geometry().RenameFocusedMesh();
  EXPECT_EQ(Item("editundomenu")->text(), "Undo Rename mesh");
  ClickRow("meshlist", 1);
  Click("meshdeletebut");
  EXPECT_EQ(Item("editundomenu")->text(), "Undo Delete mesh Right");
  ASSERT_EQ(L("meshlist")->ListCount(), 1);
  Item("editundomenu")->trigger();
  ASSERT_EQ(L("meshlist")->ListCount(), 2);
  EXPECT_EQ(L("meshlist")->List(1), "Right");
  EXPECT_TRUE(L("meshlist")->Selected(1));
  Item("editundomenu")->trigger();
  EXPECT_EQ(L("meshlist")->List(0), "Left");
}

TEST_F(UndoTest, CtrlZInATextBoxUndoesTheTypingNotTheModel) {
  Open();
  Type("Xmeshtext", "2");
  Click("updategeogeobut");
  ASSERT_EQ(X(), 12.0f);
  QLineEdit* box = Find<QLineEdit>("Ymeshtext");
  box->setFocus();
  box->end(false);
  QTest::keyClicks(box, "5");
  EXPECT_EQ(box->text(), "05");
  QTest::keyClick(box, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(box->text(), "0");
  EXPECT_EQ(X(), 12.0f);
  EXPECT_TRUE(Item("editundomenu")->isEnabled());
  // From the viewport's focus box the shortcut reaches the menu.
  Find<QLineEdit>("focustaker")->setFocus();
  QTest::keyClick(Find<QLineEdit>("focustaker"), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(X(), 10.0f);
}

TEST_F(UndoTest, UnsavedChangesAskBeforeClosingNewAndOpen) {
  Open();
  window->close();
  EXPECT_TRUE(dialogs.asked().empty()) << "nothing to save, nothing asked";
  window->show();
  Type("Xmeshtext", "1");
  Click("updategeogeobut");

  dialogs.Push(Dialogs::SaveAnswer::Cancel);
  EXPECT_FALSE(window->close());
  EXPECT_EQ(dialogs.asked().back().text, "Save changes to " + SavedName() + "?");
  EXPECT_TRUE(window->isVisible());

  // Cancel on new and open changes nothing and asks nothing more.
  dialogs.Push(Dialogs::SaveAnswer::Cancel);
  window->Files().NewProject();
  dialogs.Push(Dialogs::SaveAnswer::Cancel);
  window->Files().OpenProject();
  EXPECT_EQ(dialogs.asked().back().kind, "save");
  EXPECT_EQ(X(), 11.0f);

  // Discard goes on to the command; Save saves first.
  dialogs.Push(Dialogs::SaveAnswer::Discard);
  dialogs.Push(std::monostate{});  // then cancel the open dialog
  window->Files().OpenProject();
  EXPECT_EQ(dialogs.asked().back().kind, "open");
  dialogs.Push(Dialogs::SaveAnswer::Save);
  dialogs.Push(std::monostate{});  // then cancel the name of the new project
  window->Files().NewProject();
  EXPECT_EQ(dialogs.asked().back().kind, "input");
  EXPECT_FALSE(window->isWindowModified());
  IdCounters ids;
  const Bytes saved = ReadFileBytes(SavedFile());
  EXPECT_EQ(ReadOpzText(std::string(saved.begin(), saved.end()), ids, "p.opz")
                .meshes[0]
                .LODs[0]
                .Faces[0]
                .Vertices[1]
                .X,
            11.0f);

  // A save that fails keeps the window open with its changes.
  Type("Xmeshtext", "1");
  Click("updategeogeobut");
  fs::remove(SavedFile());
  fs::create_directories(SavedFile() / "in the way");
  dialogs.Push(Dialogs::SaveAnswer::Save);
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->isWindowModified());
  dialogs.Push(Dialogs::SaveAnswer::Discard);
  EXPECT_TRUE(window->close());
}

TEST_F(UndoTest, RecentProjectsListOpenedOnesAndDropMissingOnes) {
  Open();
  auto* recent = Find<QMenu>("recentmenu");
  ASSERT_EQ(recent->actions().size(), 1);
  EXPECT_EQ(recent->actions()[0]->text(), QFileInfo(ProjectFile()).absoluteFilePath());
  // Reopening from the list works; a project that is gone is removed with a message.
  recent->actions()[0]->trigger();
  EXPECT_TRUE(dialogs.asked().empty());
  fs::rename(dir / "p.opz", dir / "q.opz");
  recent->actions()[0]->trigger();
  EXPECT_TRUE(dialogs.asked().back().text.contains("no longer exists"));
  EXPECT_TRUE(recent->actions().isEmpty());
  EXPECT_TRUE(window->Files().RecentProjects().isEmpty());
}

TEST_F(UndoTest, BoxesAndResultsThatASingleCannotHoldChangeNothing) {
  Open();
  const std::string before = WriteOpzText(window->Model(), "x");
  Type("Xmeshtext", "1e40");
  Click("updategeogeobut");
  EXPECT_TRUE(Find<QLineEdit>("Xmeshtext")->styleSheet().contains("red"));
  EXPECT_FALSE(Item("editundomenu")->isEnabled());

  Type("Xmeshtext", "3e38");
  Click("updategeogeobut");
  ASSERT_EQ(X(), 3e38f);
  EXPECT_EQ(Text("Xmeshtext"), "0") << "an applied translation reads as none";
  Click("updategeogeobut");
  EXPECT_EQ(X(), 3e38f) << "a second UPDATE does not move the mesh again";
  Type("Xmeshtext", "3e38");
  Click("updategeogeobut");  // 6e38 does not fit
  EXPECT_EQ(X(), 3e38f);
  ASSERT_FALSE(dialogs.asked().empty());
  EXPECT_TRUE(dialogs.asked().back().text.contains("mesh 1 (Left)"))
      << dialogs.asked().back().text.toStdString();
  Item("editundomenu")->trigger();
  EXPECT_EQ(WriteOpzText(window->Model(), "x"), before);

  // The opacity box as typed at UPDATE: 300 (the slider showing 30) is refused.
  Button("propbar_texture")->click();
  ClickRow("transtexturelist", 0);
  auto* opacity = Find<QLineEdit>("transopacitytext");
  opacity->clear();
  QTest::keyClicks(opacity, "300");
  Click("updatetextransbut");
  EXPECT_EQ(window->Model().Textures[0].TransOpacity, 255);
  EXPECT_TRUE(opacity->styleSheet().contains("red"));
  opacity->clear();
  QTest::keyClicks(opacity, "abc");
  Click("updatetextransbut");
  EXPECT_EQ(window->Model().Textures[0].TransOpacity, 255);
  opacity->clear();
  QTest::keyClicks(opacity, "40");
  EXPECT_FALSE(opacity->styleSheet().contains("red")) << "the mark goes with valid text";
  Click("updatetextransbut");
  EXPECT_EQ(window->Model().Textures[0].TransOpacity, 40);
  Item("editundomenu")->trigger();
  EXPECT_EQ(window->Model().Textures[0].TransOpacity, 255);
  EXPECT_EQ(Text("transopacitytext"), "255");
}

TEST_F(UndoTest, PanelsShowTheModelAfterCalculateImportAndUndo) {
  Open();
  Button("propbar_rotation")->click();  // rotation
  Type("Xpivottext", "99");
  Click("updaterotbut");
  EXPECT_EQ(window->Model().Meshes[0].Pivot.x, 99.0f);
  Action("rotationmenu")->trigger();
  EXPECT_EQ(Text("Xpivottext"), "10") << "the pivot Calculate put there, not the old one";
  const QString calculated = Item("editundomenu")->text();
  Click("updaterotbut");
  EXPECT_EQ(window->Model().Meshes[0].Pivot.x, 10.0f);
  // The UPDATE wrote the values the panel showed: no change, so no step and no "*".
  EXPECT_EQ(Item("editundomenu")->text(), calculated);
  Item("editundomenu")->trigger();
  EXPECT_EQ(Text("Xpivottext"), "99");

  // A DXF dropped on the window is imported as one step; undo takes it back, textures too.
  WriteFileAtomic(
      dir / "one.dxf",
      "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\n0\n10\n0\n20\n0\n30\n0\n11\n1\n21\n0\n31\n"
      "0\n12\n1\n22\n1\n32\n0\n13\n0\n23\n1\n33\n0\n0\nENDSEC\n0\nEOF\n");
  window->Files().OpenDroppedFiles(
      {QUrl::fromLocalFile(QString::fromStdString((dir / "one.dxf").string()))});
  ASSERT_EQ(window->Model().MeshCount(), 3);
  EXPECT_EQ(L("meshlist")->ListCount(), 3);
  EXPECT_EQ(window->Model().TextureCount(), 2);
  EXPECT_EQ(window->Viewport().Drawing().Textures().size(), 2u);
  EXPECT_EQ(Item("editundomenu")->text(), "Undo import .DXF");
  Item("editundomenu")->trigger();
  EXPECT_EQ(window->Model().MeshCount(), 2);
  EXPECT_EQ(L("meshlist")->ListCount(), 2);
  EXPECT_EQ(L("transtexturelist")->ListCount(), 1);
  EXPECT_EQ(window->Viewport().Drawing().Textures().size(), 1u);
  Item("editredomenu")->trigger();
  EXPECT_EQ(L("meshlist")->ListCount(), 3);
}

}  // namespace
}  // namespace tamsel::test
