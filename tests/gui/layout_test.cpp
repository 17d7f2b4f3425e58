// The window at its smallest and at a large size: no tool bar button covers another, each
// takes the click at its centre, and every control of every panel has its room.
#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QTabBar>
#include <QToolButton>

#include "gui/project_fixture.h"

namespace tamsel::test {
namespace {

class LayoutTest : public ProjectTest {
 protected:
  void ResizeTo(int width, int height) {
    window->resize(width, height);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(width, height); }, 5000))
        << "asked " << width << "x" << height << ", got " << window->width() << "x"
        << window->height();
    QTest::qWait(50);
  }

  std::vector<QToolButton*> ToolButtons() {
    std::vector<QToolButton*> buttons;
    for (const char* bar : {"propbar", "viewtoolbar", "displaytoolbar"})
      for (QToolButton* b : ButtonsOf(bar))
        if (b->isVisible()) buttons.push_back(b);
    return buttons;
  }

  // What a click at the centre of each button lands on, and that no two overlap.
  void ExpectEveryButtonClickable() {
    const std::vector<QToolButton*> buttons = ToolButtons();
    ASSERT_GE(buttons.size(), 22u);
    std::vector<QRect> rects;
    for (QToolButton* b : buttons) {
      const QRect r(b->mapTo(window.get(), QPoint(0, 0)), b->size());
      EXPECT_TRUE(window->rect().contains(r)) << b->objectName().toStdString();
      for (std::size_t j = 0; j < rects.size(); ++j)
        EXPECT_FALSE(rects[j].intersects(r)) << b->objectName().toStdString() << " overlaps "
                                             << buttons[j]->objectName().toStdString();
      rects.push_back(r);
      const QPoint centre = b->mapTo(window.get(), b->rect().center());
      EXPECT_EQ(window->childAt(centre), b) << b->objectName().toStdString();
    }
    // A click where the Vert button shows reaches it.
    QToolButton* vert = Button("dispbar_vertex");
    QTest::mouseClick(vert, Qt::LeftButton);
    EXPECT_EQ(window->View().GeometryLevel, Geometry::Vertex);
  }

  // Every control shown in the front panel has at least the room its own contents need;
  // the panel scrolls when the dock is smaller than the panel.
  void ExpectPanelControlsHaveRoom(const std::string& where) {
    QCoreApplication::processEvents();  // the layout a user sees: after the frame changed
    for (QWidget* w : Find("propertystack")->findChildren<QWidget*>()) {
      if (!w->isVisible()) continue;
      const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w) ||
                           qobject_cast<QListView*>(w) || qobject_cast<QComboBox*>(w) ||
                           qobject_cast<QAbstractSlider*>(w);
      // The viewport's focus box is kept out of sight on purpose.
      if (!control || qobject_cast<QToolButton*>(w) || w->objectName() == "focustaker") continue;
      const std::string name =
          where + ": " + w->objectName().toStdString() + " " + w->metaObject()->className();
      // A box shows a Single's text whole: a sign and eight digits.
      if (qobject_cast<QLineEdit*>(w)) {
        EXPECT_GE(w->width(), w->fontMetrics().horizontalAdvance("-0.36184406")) << name;
      }
      const QSize need = w->minimumSizeHint();
      EXPECT_GE(w->width(), need.width()) << name;
      EXPECT_GE(w->height(), need.height()) << name;
    }
  }

  void VisitEveryPanel() {
    for (const char* level : {"mesh", "face", "vertex"}) {
      Press(level);
      for (const char* panel : {"geometry", "hitzone", "hardpoint", "engine glow"}) {
        Button(QString("propbar_") + QString(panel).replace(' ', '_'))->click();
        ExpectPanelControlsHaveRoom(std::string(level) + "/" + panel);
      }
      Button("propbar_texture")->click();
      for (const char* sub : {"subtransparency", "subillumination"}) {
        Button(QString("propbar_") + sub)->click();
        ExpectPanelControlsHaveRoom(std::string(level) + "/" + sub);
      }
      if (std::string(level) != "mesh") {
        Button("propbar_geometry")->click();
        for (const char* sub : {"subgeometry", "subtexture"}) {
          Button(QString("propbar_") + sub)->click();
          ExpectPanelControlsHaveRoom(std::string(level) + "/" + sub);
        }
      }
    }
  }
};

TEST_F(LayoutTest, AtTheSmallestSizeEveryToolBarButtonAndPanelControlIsReachable) {
  Open();
  EXPECT_LE(window->minimumWidth(), 960);
  EXPECT_LE(window->minimumHeight(), 600);
  window->resize(400, 300);  // refused: the window stops at its minimum
  ResizeTo(window->minimumWidth(), window->minimumHeight());
  ExpectEveryButtonClickable();
  VisitEveryPanel();
  // The viewport and its option frame stay below the tool bars and inside the window.
  const QRect view(window->ViewportWidget().mapTo(window.get(), QPoint(0, 0)),
                   window->ViewportWidget().size());
  QWidget* display = Find("displaytoolbar");
  const QRect bar(display->mapTo(window.get(), QPoint(0, 0)), display->size());
  EXPECT_GT(view.top(), bar.bottom());
  EXPECT_TRUE(Find("client")->rect().contains(Find("viewopframe")->geometry()));
  // The stacked docks' tabs show their whole titles, the Check dock's count with it, also
  // when the docks are made narrow.
  auto* outliner = window->findChild<QDockWidget*>("outlinerdock");
  window->resizeDocks({outliner}, {150}, Qt::Horizontal);
  QApplication::processEvents();
  int tabs = 0;
  for (const QTabBar* tabBar : window->findChildren<QTabBar*>()) {
    if (!tabBar->isVisible()) continue;
    for (int i = 0; i < tabBar->count(); ++i, ++tabs)
      EXPECT_GE(tabBar->tabRect(i).width(),
                tabBar->fontMetrics().horizontalAdvance(tabBar->tabText(i)))
          << tabBar->tabText(i).toStdString();
  }
  EXPECT_GE(tabs, 3) << "the outliner, the textures and the check";
}

// In the first layout, at the usual sizes, the stacked docks' tabs all show whole: none
// hides behind scroll arrows.
TEST_F(LayoutTest, AtTheUsualSizesTheStackedDocksShowEveryTabWhole) {
  Open();
  for (const QSize size : {QSize(1280, 800), QSize(1280, 1024)}) {
    ResizeTo(size.width(), size.height());
    QApplication::processEvents();
    int tabs = 0;
    for (const QTabBar* tabBar : window->findChildren<QTabBar*>()) {
      if (!tabBar->isVisible()) continue;
      for (int i = 0; i < tabBar->count(); ++i, ++tabs)
        EXPECT_TRUE(tabBar->rect().contains(tabBar->tabRect(i)))
            << tabBar->tabText(i).toStdString() << " at " << size.width() << "x" << size.height();
    }
    EXPECT_GE(tabs, 3);
  }
}

TEST_F(LayoutTest, AtFullHdTheViewAndDisplayBarsShareOneRow) {
  Open();
  ASSERT_GE(window->screen()->size().width(), 1920) << "the tests' screen is too small";
  ResizeTo(1920, 1080);
  ExpectEveryButtonClickable();
  EXPECT_EQ(Find("displaytoolbar")->mapTo(window.get(), QPoint(0, 0)).y(),
            Find("viewtoolbar")->mapTo(window.get(), QPoint(0, 0)).y());
  VisitEveryPanel();
}

}  // namespace
}  // namespace tamsel::test
