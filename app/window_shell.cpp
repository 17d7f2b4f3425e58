#include "app/window_shell.h"
#include "app/direct_shaping.h"
#include "app/shaping_commands.h"
#include "app/viewport_link.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QSettings>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>

#include "app/check_panel.h"
#include "app/controls.h"
#include "app/event_watcher.h"
#include "app/outliner.h"
#include "app/panels/geometry_frame.h"
#include "app/panels/property_panels.h"
#include "app/project_commands.h"
#include "app/start_page.h"
#include "app/tamsel_window.h"
#include "app/texture_shelf.h"
#include "app/tool_bars.h"
#include "app/view_bars.h"
#include "editing/sample_fighter.h"
#include "editing/selection_summary.h"
#include "model/file_error.h"
#include "model/project.h"
#include "model/project_save_as.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {
const char* const kGeometryKey = "window/geometry";
const char* const kStateKey = "window/state";
}  // namespace

WindowShell::WindowShell(TamselWindow& window, QWidget* viewport, QWidget* properties)
    : QObject(&window), window_(window), viewport_(viewport) {
  BuildStatusBar();
  startPage_ = new StartPage(viewport_);
  new EventWatcher(viewport_, {QEvent::Resize},
                   [this](QEvent*) { startPage_->setGeometry(StartPageRect()); });
  outliner_ = new Outliner;
  shelf_ = new TextureShelf;
  QDockWidget* outlinerDock =
      AddDock("outlinerdock", "Outliner", outliner_, Qt::LeftDockWidgetArea);
  QDockWidget* texturesDock = AddDock("texturesdock", "Textures", shelf_, Qt::LeftDockWidgetArea);
  QDockWidget* propertiesDock =
      AddDock("propertiesdock", "Properties", properties, Qt::RightDockWidgetArea);
  check_ = new CheckPanel(window_);
  QDockWidget* checkDock = checkDock_ =
      AddDock("checkdock", "Check", check_, Qt::LeftDockWidgetArea);
  window_.tabifyDockWidget(outlinerDock, texturesDock);
  window_.tabifyDockWidget(texturesDock, checkDock);
  // The tab and the status bar carry the count, so it shows while the dock is behind.
  connect(check_, &CheckPanel::Counted, this, [this, checkDock] {
    checkDock->setWindowTitle(check_->TabTitle());
    checkStatus_->setText(window_.Model().ProjectPath.empty() ? QString() : check_->StatusText());
  });
  outlinerDock->raise();
  // The docks start narrow and the viewport takes the rest; the frames scroll within.
  window_.resizeDocks({outlinerDock, propertiesDock}, {kNarrowDocks, 440}, Qt::Horizontal);
  // Crossing between a narrow and a wide window fits the left docks anew; within either, the
  // width the user gives them stays.
  new EventWatcher(&window_, {QEvent::Resize}, [this](QEvent*) {
    if ((window_.width() >= kWideWindow) != wideWindow_) FitLeftDocks();
  });
  // The main window makes its tab bars as docks are stacked: those made already and each
  // one made later show their whole titles.
  WholeTabTitles();
  new EventWatcher(&window_, {QEvent::ChildPolished}, [this](QEvent*) { WholeTabTitles(); });
  BuildViewMenu();
  ConnectMenus();
}

void WindowShell::ConnectMenus() {
  ProjectCommands* files = &window_.Files();
  connect(startPage_, &StartPage::OpenChosen, files, &ProjectCommands::OpenProject);
  connect(startPage_, &StartPage::NewChosen, files, &ProjectCommands::NewProject);
  connect(startPage_, &StartPage::SampleChosen, files, &ProjectCommands::OpenSampleFighter);
  connect(startPage_, &StartPage::ImportChosen, files, [this, files] {
    files->NewProject();
    if (!window_.Model().ProjectPath.empty()) files->ImportModel();
  });
  connect(startPage_, &StartPage::RecentChosen, files, [files](const QString& path) {
    if (files->MaybeSave()) files->OpenProjectFile(path);
  });
  // Meshes chosen in the outliner are the mesh list's selection, applied as a click there.
  connect(outliner_, &Outliner::MeshesChosen, this,
          [this](const std::vector<int>& meshes, int focus) {
            window_.Panels().Geometry().ChooseMeshes(meshes, focus);
          });
  connect(outliner_, &Outliner::MeshDragged, this,
          [this](int from, int to) { window_.Shaping().MoveMeshTo(from, to); });
  // A texture chosen on the shelf shows in the transparency and illumination panels.
  connect(shelf_, &TextureShelf::TextureChosen, this, [this](int t) {
    window_.Doc().focus().texture = t;
    window_.SelectionChanged(false);
  });
}

void WindowShell::ShowChecks() {
  checkDock_->show();
  checkDock_->raise();
}

void WindowShell::BuildStatusBar() {
  window_.statusBar()->setObjectName("statusbar");
  modeStatus_ = new QLabel(window_.statusBar());
  modeStatus_->setObjectName("modestatus");
  selectionStatus_ = new QLabel(window_.statusBar());
  selectionStatus_->setObjectName("selectionstatus");
  checkStatus_ = new QLabel(window_.statusBar());
  checkStatus_->setObjectName("checkstatus");
  progress_ = new QProgressBar(window_.statusBar());
  progress_->setObjectName("progressbar");
  progress_->setRange(0, 100);
  progress_->setMaximumWidth(200);
  window_.statusBar()->addPermanentWidget(checkStatus_);
  window_.statusBar()->addPermanentWidget(selectionStatus_);
  window_.statusBar()->addPermanentWidget(modeStatus_);
  window_.statusBar()->addPermanentWidget(progress_);
  progress_->hide();
}

QDockWidget* WindowShell::AddDock(const QString& name, const QString& title, QWidget* content,
                                  Qt::DockWidgetArea area) {
  auto* dock = new QDockWidget(title, &window_);
  dock->setObjectName(name);
  dock->setWidget(content);
  window_.addDockWidget(area, dock);
  return dock;
}

void WindowShell::BuildViewMenu() {
  QMenu* view = window_.Actions().view;
  for (auto* dock : window_.findChildren<QDockWidget*>()) {
    QAction* toggle = dock->toggleViewAction();
    toggle->setObjectName(dock->objectName() + "menu");
    view->addAction(toggle);
  }
  view->addSeparator();
  for (auto* bar : window_.findChildren<QToolBar*>()) {
    QAction* toggle = bar->toggleViewAction();
    toggle->setObjectName(bar->objectName() + "menu");
    toggle->setText(bar->windowTitle() + " Tool Bar");
    view->addAction(toggle);
  }
  view->addSeparator();
  // What the viewport draws around the craft, each kept between runs. The grid and the
  // gizmo are on at the first start; the background stays the black the game's users know.
  struct Decoration {
    const char* caption;
    const char* name;
    const char* key;
    bool ViewState::*shown;
    bool first;
    const char* tip;
  };
  const Decoration decorations[] = {
      {"&Grid", "gridmenu", "viewport/grid", &ViewState::GridShown, true,
       "Draw a ground grid under the craft, its spacing following the zoom"},
      {"&Axes", "axesmenu", "viewport/axes", &ViewState::AxesShown, true,
       "Show the craft's X, Y and Z axes in the lower left corner of the viewport"},
      {"Background Gra&dient", "gradientmenu", "viewport/gradient", &ViewState::GradientShown,
       false, "Draw a grey-blue gradient behind the craft instead of black"},
      {"Show &Back Faces", "backfacesmenu", "viewport/backfaces", &ViewState::BackFacesShown, false,
       "Draw the faces seen from behind as well, darker: the inside of open shells"},
      {"&Hidden Lines", "hiddenlinesmenu", "viewport/hiddenlines", &ViewState::HiddenLines, false,
       "In wireframe, hide the edges that lie behind faces"}};
  for (const Decoration& d : decorations) {
    QAction* action = view->addAction(d.caption);
    action->setObjectName(d.name);
    action->setCheckable(true);
    action->setStatusTip(d.tip);
    action->setChecked(QSettings().value(d.key, d.first).toBool());
    window_.View().*d.shown = action->isChecked();
    const QString key = d.key;
    bool ViewState::*shown = d.shown;
    connect(action, &QAction::toggled, this, [this, key, shown](bool on) {
      QSettings().setValue(key, on);
      window_.View().*shown = on;
      window_.ViewChanged();
    });
  }
  view->addSeparator();
  QAction* reset = view->addAction("&Reset Layout");
  reset->setObjectName("resetlayoutmenu");
  reset->setStatusTip("Put every dock and tool bar back where it was at the first start");
  connect(reset, &QAction::triggered, this, [this] { window_.restoreState(defaultLayout_); });
}

// The tabs of docks stacked together show their whole titles ("Check (3)" among them),
// scrolling when they do not fit, rather than "Outli…", "Textu…", "Ch…".
void WindowShell::WholeTabTitles() {
  for (QTabBar* bar : window_.findChildren<QTabBar*>(Qt::FindDirectChildrenOnly)) {
    bar->setElideMode(Qt::ElideNone);
    bar->setUsesScrollButtons(true);
  }
}

void WindowShell::FitLeftDocks() {
  auto* outliner = window_.findChild<QDockWidget*>("outlinerdock");
  wideWindow_ = window_.width() >= kWideWindow;
  if (!wideWindow_) {
    // At the smallest sizes the viewport keeps its room; the tabs scroll.
    if (outliner->width() > kNarrowDocks)
      window_.resizeDocks({outliner}, {kNarrowDocks}, Qt::Horizontal);
    return;
  }
  for (QTabBar* bar : window_.findChildren<QTabBar*>(Qt::FindDirectChildrenOnly)) {
    bool left = false;
    for (int i = 0; i < bar->count(); ++i) left = left || bar->tabText(i) == "Outliner";
    if (!left) continue;
    // Room for a count of two digits more than the tab shows now, and the dock's frame.
    const int need = bar->sizeHint().width() + bar->fontMetrics().horizontalAdvance(" (99)") + 8;
    if (need > outliner->width()) window_.resizeDocks({outliner}, {need}, Qt::Horizontal);
  }
}

void WindowShell::RestoreLayout() {
  defaultLayout_ = window_.saveState();  // what "Reset Layout" brings back
  const QSettings settings;
  if (settings.contains(kGeometryKey))
    window_.restoreGeometry(settings.value(kGeometryKey).toByteArray());
  if (settings.contains(kStateKey)) window_.restoreState(settings.value(kStateKey).toByteArray());
  WholeTabTitles();
}

void WindowShell::SaveLayout() {
  QSettings settings;
  settings.setValue(kGeometryKey, window_.saveGeometry());
  settings.setValue(kStateKey, window_.saveState());
}

QRect WindowShell::StartPageRect() const {
  const QSize size(std::min(420, viewport_->width() - 16), std::min(440, viewport_->height() - 16));
  return QRect(
      QPoint((viewport_->width() - size.width()) / 2, (viewport_->height() - size.height()) / 2),
      size);
}

void WindowShell::ShowProjectState() {
  const bool open = !window_.Model().ProjectPath.empty();
  startPage_->SetRecent(window_.Files().RecentProjects());
  startPage_->setGeometry(StartPageRect());
  startPage_->setVisible(!open);
  window_.Actions().saveProjectAs->setEnabled(open);
  modeStatus_->setText(ModeStatus());
  selectionStatus_->setText(SelectionStatus());
}

QString WindowShell::ModeStatus() const {
  return QString::fromStdString(ModeText(window_.View()));
}

QString WindowShell::SelectionStatus() const {
  if (window_.Model().ProjectPath.empty()) return "No project open";
  return QString::fromStdString(
      SelectionText(CountSelection(window_.Model(), window_.View()), window_.View()));
}

void WindowShell::Refresh(const ModelChange& change) {
  const int level = window_.View().LevelIndex();
  if (change.recordsUnchanged)
    outliner_->ShowSelection(window_.Model(), level);
  else
    outliner_->Show(window_.Model(), level);
  if (change.everything || change.textureList || !change.textures.empty())
    shelf_->Show(window_.Model(), [this](std::size_t t) { return window_.Textures().Picture(t); });
  const auto face = window_.Doc().focus().face;
  shelf_->ShowFace(face ? FaceAt(window_.Model(), level, *face) : nullptr);
  modeStatus_->setText(ModeStatus());
  selectionStatus_->setText(SelectionStatus());
  if (change.everything) ShowProjectState();
  if (!change.recordsUnchanged || change.everything || change.folder)
    check_->Schedule(change.everything);
  UpdateCaption();
  UpdateEditMenu();
}

void WindowShell::ShowShortcuts() {
  // The menus' own keys, read from the menus so that the list never goes stale.
  QString text;
  for (QMenu* menu : window_.menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) {
    QString keys;
    for (QAction* action : menu->actions()) {
      QString caption = action->text().remove('&').remove(QChar(0x2026));
      QString key = action->shortcut().toString(QKeySequence::NativeText);
      for (const QKeySequence& more : action->shortcuts().mid(1))
        key += ", " + more.toString(QKeySequence::NativeText);
      if (QMenu* sub = action->menu())  // the view presets name their keys after a tab
        for (QAction* inner : sub->actions())
          if (inner->text().contains('\t'))
            keys += inner->text().section('\t', 1) + "  " +
                    inner->text().section('\t', 0, 0).remove('&') + " view\n";
      if (!key.isEmpty()) keys += key + "  " + caption + "\n";
    }
    if (!keys.isEmpty()) text += menu->title().remove('&') + ":\n" + keys + "\n";
  }
  text +=
      "In the viewport (either scheme):\n"
      "F  Frame the selection, or the whole craft\n"
      "Arrows  Turn (or pan, with Pan chosen)\n"
      "Shift+Left/Right  Roll; Shift+Up/Down  Zoom (with Pan chosen)\n"
      "Left-drag  Select what the rectangle holds; Shift adds, Ctrl removes\n"
      "Wheel  Zoom about the pointer; Shift+Wheel  Zoom finely\n\n"
      "Default navigation:\n"
      "Right-click  Pick; Shift+Right-click  Add to the selection\n"
      "Right-drag  Turn or pan, as the view options say; Shift+Right-drag  Roll or zoom\n"
      "Middle-drag  Pan\n\n"
      "Modelling tool navigation (Options menu):\n"
      "Left-click  Pick; Shift+Left-click  Add to the selection\n"
      "Middle-drag  Turn; Shift+Middle-drag  Pan; Ctrl+Middle-drag  Zoom\n"
      "G, R, S  Move, rotate, scale the selection; Shift+D  Duplicate and move\n\n"
      "While moving, rotating or scaling (the gizmo, the keys, Edit > Move):\n"
      "X, Y, Z  That axis alone (again: every axis); a number  The amount exactly\n"
      "Ctrl  Snap to the grid, 15 degrees, 10 %\n"
      "Enter or a click  Keep it (one undo step); Esc or a right-click  Take it back";
  window_.Ask().Inform(text, "Keyboard Shortcuts");
}

void WindowShell::ShowAbout() {
  window_.Ask().Inform(
      QString("Tamsel %1\n\nAn editor for OPT craft models: meshes, levels of "
              "detail, textures, hardpoints, engine glows, hitzones and rotations.\n\n"
              "Free software under the GNU General Public License, version 3 or later: see the "
              "LICENSE file.\n"
              "Built with Qt %2.")
          .arg(QApplication::applicationVersion().isEmpty() ? QString("0.4")
                                                            : QApplication::applicationVersion(),
               qVersion()),
      "About Tamsel");
}

void WindowShell::UpdateCaption() {
  QString caption = "Tamsel v0.4";
  if (!window_.Model().ProjectPath.empty())
    caption +=
        " - " +
        QString::fromStdString(ProjectFilePath(window_.Model().ProjectPath).filename().string()) +
        "[*]";
  window_.setWindowTitle(caption);
  window_.setWindowModified(window_.Doc().IsModified());
}

void WindowShell::UpdateEditMenu() {
  QAction* undo = window_.Actions().undo;
  QAction* redo = window_.Actions().redo;
  undo->setEnabled(window_.Doc().CanUndo());
  redo->setEnabled(window_.Doc().CanRedo());
  undo->setText(window_.Doc().CanUndo()
                    ? "Undo " + QString::fromStdString(window_.Doc().UndoLabel())
                    : "Undo");
  redo->setText(window_.Doc().CanRedo()
                    ? "Redo " + QString::fromStdString(window_.Doc().RedoLabel())
                    : "Redo");
}

void WindowShell::UndoLastStep() {
  window_.Link().Shaping().Cancel();  // a live move is not a step: it goes first
  if (!window_.Doc().Undo() && !window_.Doc().FileError().empty())
    window_.Ask().MessageBox(
        "Nothing was undone: " + QString::fromStdString(window_.Doc().FileError()), "Undo");
}

void WindowShell::RedoNextStep() {
  window_.Link().Shaping().Cancel();
  if (!window_.Doc().Redo() && !window_.Doc().FileError().empty())
    window_.Ask().MessageBox(
        "Nothing was redone: " + QString::fromStdString(window_.Doc().FileError()), "Redo");
}

void WindowShell::FindFaceByName() {
  if (window_.Model().ProjectPath.empty()) return;
  const auto name = window_.Ask().InputBox(
      "Face to find (\"M:3 F:12\", or a face of the focused mesh):", "Find Face");
  if (!name || name->trimmed().isEmpty()) return;
  if (window_.View().GeometryLevel != Geometry::Face)
    window_.Bars().DisplayActions().face->trigger();
  if (!window_.Panels().Geometry().FindFace(*name))
    window_.Ask().MessageBox("There is no face " + *name + " at this level of detail.",
                             "Find Face");
}

}  // namespace tamsel
