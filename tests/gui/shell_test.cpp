// The window's shell: docks, the outliner, the status bar, the start page, Save As, the
// layout kept between runs, and the faults of the fixed form it replaced (tool bars that
// overlapped after a resize, panels that kept an earlier project's values, a camera left
// where the last project was).
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QTreeWidget>

#include "app/outliner.h"
#include "app/project_commands.h"
#include "app/start_page.h"
#include "app/window_shell.h"
#include "gui/project_fixture.h"
#include "model/project.h"
#include "viewport/gl_viewport_widget.h"

namespace tamsel::test {
namespace {

class ShellTest : public ProjectTest {
 protected:
  void ResizeTo(int width, int height) {
    window->resize(width, height);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(width, height); }, 5000));
    QTest::qWait(50);
  }
  QString Status(const char* name) { return Find<QLabel>(name)->text(); }

  // No two visible buttons of a tool bar overlap, and each lies inside the window.
  void ExpectNoOverlap(const char* bar) {
    std::vector<QRect> seen;
    for (QToolButton* b : ButtonsOf(bar)) {
      if (!b->isVisible()) continue;
      const QRect r(b->mapTo(window.get(), QPoint(0, 0)), b->size());
      EXPECT_TRUE(window->rect().contains(r)) << b->objectName().toStdString();
      for (const QRect& other : seen)
        EXPECT_FALSE(other.intersects(r)) << b->objectName().toStdString();
      EXPECT_GE(b->width(), b->sizeHint().width()) << b->objectName().toStdString();
      seen.push_back(r);
    }
  }
};

TEST_F(ShellTest, TheToolBarsKeepTheirButtonsApartThroughAResize) {
  window->setGeometry(0, 0, 1024, 720);
  Open();
  Button("propbar_engine_glow")->click();
  ResizeTo(1280, 1000);
  Button("propbar_geometry")->click();
  QTest::qWait(50);
  for (const char* bar : {"propbar", "viewtoolbar", "displaytoolbar"}) ExpectNoOverlap(bar);
  EXPECT_TRUE(Find("geometryframe")->isVisible());
}

// Every label shows its whole text at the smallest size and at a large one: the panels
// scroll rather than cut anything off.
TEST_F(ShellTest, LabelsAreNeverClipped) {
  Open();
  for (QSize size : {QSize(960, 600), QSize(1280, 1024)}) {
    ResizeTo(size.width(), size.height());
    for (const char* level : {"mesh", "face", "vertex"}) {
      Press(level);
      for (QLabel* label : Find("propertystack")->findChildren<QLabel*>()) {
        if (!label->isVisible() || label->text().isEmpty()) continue;
        EXPECT_GE(label->width(), label->minimumSizeHint().width())
            << level << ": \"" << label->text().toStdString() << "\" at " << size.width();
      }
    }
  }
  // The viewport keeps a useful share of the smallest window.
  ResizeTo(960, 600);
  EXPECT_GE(window->ViewportWidget().width(), 280);
  EXPECT_GE(window->ViewportWidget().height(), 300);
}

TEST_F(ShellTest, ANewProjectEmptiesEveryPanel) {
  Open();
  Press("face");
  ClickRow("facelist", 0);
  ASSERT_FALSE(Text("Xfacetext").isEmpty());
  Button("propbar_hitzone")->click();  // hitzone, filled from the first mesh
  ASSERT_FALSE(Text("Xspantext").isEmpty());
  dialogs.Push(QString::fromStdString((dir / "fresh").string()));
  window->Files().NewProject();
  ASSERT_EQ(window->Model().MeshCount(), 0);
  for (QLineEdit* box : Find("propertystack")->findChildren<QLineEdit*>()) {
    // The turn's degrees are a setting of the tool, kept; every value of the craft goes.
    if (box->objectName() == "turndegreestext") continue;
    EXPECT_TRUE(box->text().isEmpty()) << box->objectName().toStdString();
  }
  for (RowList* list : Find("propertystack")->findChildren<RowList*>()) {
    if (list->objectName() == "texturelist") continue;  // the new folder's bitmaps, none
    EXPECT_EQ(list->ListCount(), 0) << list->objectName().toStdString();
  }
  EXPECT_EQ(Find<QGroupBox>("hitzoneframe")->title(), "Hitzone");
  EXPECT_EQ(window->Shell().OutlinerPanel().Tree()->topLevelItemCount(), 0);
  EXPECT_EQ(Status("selectionstatus"), "Nothing selected of 0 faces");
}

TEST_F(ShellTest, OpeningAProjectFramesTheWholeCraft) {
  // The camera far away from where the craft will be, as an earlier project may leave it.
  window->ViewportWidget().Camera().Pan(5000, 5000);
  Open();
  QTest::qWait(50);
  // Every corner of both meshes shows inside the viewport, the craft's middle in its middle.
  const QRect view = window->ViewportWidget().rect();
  for (float x : {-20.0f, 20.0f})
    for (float y : {0.0f, 20.0f}) EXPECT_TRUE(view.contains(PixelOf(x, y, 0))) << x << "," << y;
  const QPoint middle = PixelOf(0, 10, 0);
  EXPECT_NEAR(middle.x(), view.center().x(), 2);
  EXPECT_NEAR(middle.y(), view.center().y(), 2);
  // And something is drawn there.
  const QImage frame = window->ViewportWidget().grabFramebuffer();
  const QPoint device = middle * frame.devicePixelRatio();
  bool lit = false;
  for (int dx = -40; dx <= 40 && !lit; ++dx)
    lit = qGray(frame.pixel(device.x() + dx, device.y())) > 40;
  EXPECT_TRUE(lit);
}

TEST_F(ShellTest, TheStatusBarSaysWhatIsSelected) {
  EXPECT_EQ(Status("selectionstatus"), "No project open");
  Open();
  EXPECT_EQ(Status("selectionstatus"), "1 mesh, 2 faces selected of 4");
  EXPECT_EQ(Status("modestatus"), "High level · Mesh · Wireframe");
  // Both meshes chosen in the outliner are the mesh list's selection.
  QTreeWidget* tree = window->Shell().OutlinerPanel().Tree();
  ASSERT_EQ(tree->topLevelItemCount(), 2);
  tree->topLevelItem(1)->setSelected(true);
  EXPECT_TRUE(L("meshlist")->Selected(1));
  EXPECT_EQ(Status("selectionstatus"), "2 meshes, 4 faces selected of 4");
  Press("face");
  ClickRow("facelist", 1);
  EXPECT_EQ(Status("selectionstatus"), "2 meshes, 1 face selected of 4");
  EXPECT_EQ(Status("modestatus"), "High level · Face · Wireframe");
  // A pick in the viewport goes the same way: the list, the outliner and the status agree.
  Press("mesh");
  Press("texture");  // faces are solid, so a click inside one picks it
  Click(PixelOf(-15, 10, 0));
  EXPECT_EQ(Status("selectionstatus"), "1 mesh, 2 faces selected of 4");
  EXPECT_FALSE(tree->topLevelItem(0)->isSelected());
  EXPECT_TRUE(tree->topLevelItem(1)->isSelected());
}

TEST_F(ShellTest, TheOutlinerShowsLevelsFeaturesAndFiltersByName) {
  Open();
  Outliner& outliner = window->Shell().OutlinerPanel();
  QTreeWidgetItem* left = outliner.Tree()->topLevelItem(0);
  EXPECT_EQ(left->text(0), "Left");
  EXPECT_EQ(left->text(1), "2");
  ASSERT_GE(left->childCount(), 1);
  EXPECT_TRUE(left->child(0)->text(0).startsWith("Level 1"));
  QTest::keyClicks(outliner.Filter(), "righ");
  EXPECT_TRUE(outliner.Tree()->topLevelItem(0)->isHidden());
  EXPECT_FALSE(outliner.Tree()->topLevelItem(1)->isHidden());
}

TEST_F(ShellTest, TheStartPageShowsUntilAProjectIsOpen) {
  StartPage& start = window->Shell().Start();
  EXPECT_TRUE(start.isVisible());
  EXPECT_TRUE(window->ViewportWidget().rect().contains(start.geometry()));
  Open();
  EXPECT_FALSE(start.isVisible());
  // The project is among the recent ones the next empty window offers.
  auto second = std::make_unique<TamselWindow>(dialogs);
  second->Startup();
  ASSERT_GE(second->Shell().Start().Recent()->count(), 1);
  EXPECT_EQ(second->Shell().Start().Recent()->item(0)->data(Qt::UserRole).toString(),
            QFileInfo(QString::fromStdString((dir / "p.opz").string())).absoluteFilePath());
}

// A project handed over at start is read only after the window has painted a frame.
TEST_F(ShellTest, AProjectGivenAtStartOpensBehindAPaintedWindow) {
  auto second = std::make_unique<TamselWindow>(dialogs);
  int framesAtOpen = -1;
  second->Doc().AddListener([&](const ModelChange& change) {
    if (change.everything && framesAtOpen < 0) framesAtOpen = second->Link().FramesDrawn();
  });
  second->StartWith(QString::fromStdString((dir / "p.opz").string()));
  EXPECT_EQ(second->Model().MeshCount(), 2);
  EXPECT_GE(framesAtOpen, 1);
}

TEST_F(ShellTest, SaveAsWritesTheProjectAndItsBitmapsElsewhereAndAsksBeforeReplacing) {
  Open();
  const auto target = dir / "copy";
  std::filesystem::create_directories(target);
  WriteFileAtomic(target / "red.BMP", std::string("someone else's picture"));
  dialogs.Push(QString::fromStdString((target / "copy.opz").string()));
  dialogs.Push(Dialogs::Answer::Cancel);  // do not replace red.BMP
  window->Files().SaveProjectAs();
  EXPECT_EQ(ReadFileText(target / "red.BMP"), "someone else's picture");
  EXPECT_FALSE(std::filesystem::exists(target / "copy.opz"));
  EXPECT_EQ(std::filesystem::path(window->Model().ProjectPath), dir.path());
  ASSERT_TRUE(dialogs.asked().back().text.contains("red.BMP"));

  dialogs.Push(QString::fromStdString((dir / "elsewhere.opz").string()));
  window->Files().SaveProjectAs();
  const auto moved = dir / "elsewhere";
  EXPECT_TRUE(std::filesystem::exists(moved / "elsewhere.opz"));
  EXPECT_EQ(ReadFileBytes(moved / "red.BMP"), ReadFileBytes(dir / "red.BMP"));
  EXPECT_EQ(std::filesystem::path(window->Model().ProjectPath), moved);
  EXPECT_TRUE(window->windowTitle().contains("elsewhere.opz"));
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_TRUE(std::filesystem::exists(dir / "p.opz"));  // the old project stays
}

TEST_F(ShellTest, TheDockLayoutSurvivesARestart) {
  auto* outliner = Find<QDockWidget>("outlinerdock");
  auto* textures = Find<QDockWidget>("texturesdock");
  ASSERT_EQ(window->dockWidgetArea(outliner), Qt::LeftDockWidgetArea);
  window->addDockWidget(Qt::RightDockWidgetArea, outliner);
  Action("texturesdockmenu")->trigger();  // closed from the View menu
  EXPECT_FALSE(textures->isVisible());
  ASSERT_TRUE(window->close());
  window = std::make_unique<TamselWindow>(dialogs);
  window->Startup();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  EXPECT_EQ(window->dockWidgetArea(Find<QDockWidget>("outlinerdock")), Qt::RightDockWidgetArea);
  EXPECT_FALSE(Find<QDockWidget>("texturesdock")->isVisible());
  EXPECT_FALSE(Action("texturesdockmenu")->isChecked());
  // Reset Layout puts it back; the next test starts from the first layout again.
  Action("resetlayoutmenu")->trigger();
  EXPECT_EQ(window->dockWidgetArea(Find<QDockWidget>("outlinerdock")), Qt::LeftDockWidgetArea);
  QSettings().remove("window");
}

TEST_F(ShellTest, HelpListsTheShortcutsAndAboutNamesTheVersionAndLicence) {
  Action("shortcutsmenu")->trigger();
  ASSERT_FALSE(dialogs.asked().empty());
  const QString text = dialogs.asked().back().text;
  for (const char* wanted : {"Ctrl+Shift+S", "Ctrl+F  Find Face", "Ctrl+7  Bottom view",
                             "5  3D view", "F1  Keyboard Shortcuts", "Default navigation",
                             "Modelling tool navigation", "Ctrl+Middle-drag  Zoom"})
    EXPECT_TRUE(text.contains(wanted)) << wanted << " in\n" << text.toStdString();
  // The pointer's hint over the viewport follows the scheme that is on.
  QWidget* view = &window->ViewportWidget();
  Action("modellingnavmenu")->setChecked(true);
  EXPECT_TRUE(view->statusTip().startsWith("Left-click picks")) << view->statusTip().toStdString();
  Action("modellingnavmenu")->setChecked(false);
  EXPECT_TRUE(view->statusTip().startsWith("Right-click picks"));
  Action("aboutmenu")->trigger();
  EXPECT_TRUE(dialogs.asked().back().text.contains("GNU General Public License"));
}

}  // namespace
}  // namespace tamsel::test
