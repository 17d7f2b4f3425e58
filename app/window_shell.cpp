// The shell around the panels: status bar, docks, the View and Help menus, the layout kept
// between runs, the start page, Save As and the sample fighter.
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
#include <QToolBar>
#include <filesystem>

#include "app/controls.h"
#include "app/keyed_toolbar.h"
#include "app/outliner.h"
#include "app/panels/geometry_frame.h"
#include "app/panels/property_panels.h"
#include "app/start_page.h"
#include "app/tamsel_window.h"
#include "app/texture_shelf.h"
#include "editing/sample_fighter.h"
#include "editing/selection_summary.h"
#include "model/file_error.h"
#include "model/project.h"
#include "model/project_save_as.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {
const char* const kGeometryKey = "window/geometry";
const char* const kStateKey = "window/state";
}  // namespace

void TamselWindow::BuildStatusBar() {
  statusBar()->setObjectName("statusbar");
  modeStatus_ = new QLabel(statusBar());
  modeStatus_->setObjectName("modestatus");
  selectionStatus_ = new QLabel(statusBar());
  selectionStatus_->setObjectName("selectionstatus");
  progress_ = new QProgressBar(statusBar());
  progress_->setObjectName("progressbar");
  progress_->setRange(0, 100);
  progress_->setMaximumWidth(200);
  statusBar()->addPermanentWidget(selectionStatus_);
  statusBar()->addPermanentWidget(modeStatus_);
  statusBar()->addPermanentWidget(progress_);
  progress_->hide();
}

QDockWidget* TamselWindow::AddDock(const QString& name, const QString& title, QWidget* content,
                                   Qt::DockWidgetArea area) {
  auto* dock = new QDockWidget(title, this);
  dock->setObjectName(name);
  dock->setWidget(content);
  addDockWidget(area, dock);
  return dock;
}

void TamselWindow::BuildViewMenu() {
  QMenu* view = menuBar()->findChild<QMenu*>("viewmenu");
  for (auto* dock : findChildren<QDockWidget*>()) {
    QAction* toggle = dock->toggleViewAction();
    toggle->setObjectName(dock->objectName() + "menu");
    view->addAction(toggle);
    menus_.insert(toggle->objectName(), toggle);
  }
  view->addSeparator();
  for (auto* bar : findChildren<QToolBar*>()) {
    QAction* toggle = bar->toggleViewAction();
    toggle->setObjectName(bar->objectName() + "menu");
    toggle->setText(bar->windowTitle() + " Tool Bar");
    view->addAction(toggle);
    menus_.insert(toggle->objectName(), toggle);
  }
  view->addSeparator();
  QAction* reset = view->addAction("&Reset Layout");
  reset->setObjectName("resetlayoutmenu");
  reset->setStatusTip("Put every dock and tool bar back where it was at the first start");
  menus_.insert("resetlayoutmenu", reset);
  connect(reset, &QAction::triggered, this, [this] { restoreState(defaultLayout_); });
}

void TamselWindow::RestoreLayout() {
  const QSettings settings;
  if (settings.contains(kGeometryKey)) restoreGeometry(settings.value(kGeometryKey).toByteArray());
  if (settings.contains(kStateKey)) restoreState(settings.value(kStateKey).toByteArray());
}

void TamselWindow::SaveLayout() {
  QSettings settings;
  settings.setValue(kGeometryKey, saveGeometry());
  settings.setValue(kStateKey, saveState());
}

QRect TamselWindow::StartPageRect() const {
  const QSize size(std::min(420, renderscreen_->width() - 16),
                   std::min(440, renderscreen_->height() - 16));
  return QRect(QPoint((renderscreen_->width() - size.width()) / 2,
                      (renderscreen_->height() - size.height()) / 2),
               size);
}

// The start page shows while no project is open.
void TamselWindow::ShowProjectState() {
  const bool open = !model_.ProjectPath.empty();
  startPage_->SetRecent(RecentProjects());
  startPage_->setGeometry(StartPageRect());
  startPage_->setVisible(!open);
  MenuItem("saveasopzmenu")->setEnabled(open);
  modeStatus_->setText(ModeStatus());
  selectionStatus_->setText(SelectionStatus());
}

void TamselWindow::ConnectPanels() {
  connect(MenuItem("saveasopzmenu"), &QAction::triggered, this, &TamselWindow::saveasopzmenu_Click);
  connect(MenuItem("shortcutsmenu"), &QAction::triggered, this, &TamselWindow::shortcutsmenu_Click);
  connect(MenuItem("aboutmenu"), &QAction::triggered, this, &TamselWindow::aboutmenu_Click);
  connect(startPage_, &StartPage::OpenChosen, this, &TamselWindow::opzopenmenu_Click);
  connect(startPage_, &StartPage::NewChosen, this, &TamselWindow::opznewmenu_Click);
  connect(startPage_, &StartPage::SampleChosen, this, &TamselWindow::OpenSampleFighter);
  connect(startPage_, &StartPage::ImportChosen, this, [this] {
    opznewmenu_Click();
    if (!model_.ProjectPath.empty()) threedsimportmenu_Click();
  });
  connect(startPage_, &StartPage::RecentChosen, this, [this](const QString& path) {
    if (MaybeSave()) OpenProjectFile(path);
  });
  // Meshes chosen in the outliner are the mesh list's selection, applied as a click there.
  connect(outliner_, &Outliner::MeshesChosen, this,
          [this](const std::vector<int>& meshes, int focus) {
            panels_->Geometry().ChooseMeshes(meshes, focus);
          });
  // A texture chosen on the shelf shows in the transparency and illumination panels.
  connect(shelf_, &TextureShelf::TextureChosen, this, [this](int t) {
    doc_.focus().texture = t;
    SelectionChanged(false);
  });
}

QString TamselWindow::ModeStatus() const {
  return QString::fromStdString(ModeText(view_));
}

QString TamselWindow::SelectionStatus() const {
  if (model_.ProjectPath.empty()) return "No project open";
  return QString::fromStdString(SelectionText(CountSelection(model_, view_), view_));
}

// The docks and the status bar follow every change the document tells of.
void TamselWindow::RefreshShell(const ModelChange& change) {
  const int level = view_.LevelIndex();
  if (change.selectionOnly)
    outliner_->ShowSelection(model_, level);
  else
    outliner_->Show(model_, level);
  if (change.everything || change.textureList || !change.textures.empty())
    shelf_->Show(model_, [this](std::size_t t) { return Viewport().Textures().Picture(t); });
  const auto face = doc_.focus().face;
  shelf_->ShowFace(face ? FaceAt(model_, level, *face) : nullptr);
  modeStatus_->setText(ModeStatus());
  selectionStatus_->setText(SelectionStatus());
  if (change.everything) ShowProjectState();
}

void TamselWindow::FrameCraft() {
  Viewport().FitWhole();
}

void TamselWindow::saveasopzmenu_Click() {
  const QString title = "Save .OPZ As";
  const auto chosen = dialogs_.SaveFile(title, "Project (*.opz)|*.opz");
  if (!chosen || chosen->isEmpty()) return;
  const fs::path folder = SaveAsFolder(chosen->toStdString());
  std::error_code ec;
  if (fs::equivalent(folder, model_.ProjectPath, ec)) return saveopzmenu_Click();
  SaveAsPlan plan;
  if (!Attempt(title, [&] { plan = PlanSaveAs(model_, folder); })) return;
  if (!plan.replaced.empty()) {
    QStringList names;
    for (const fs::path& file : plan.replaced) names << QString::fromStdString(file.string());
    if (dialogs_.OkCancel("These files hold something else and would be replaced:\n" +
                              names.join("\n") + "\n\nReplace them?",
                          title) != Dialogs::Answer::Ok)
      return;
  }
  fs::create_directories(folder, ec);
  auto lock = LockProject(folder, title);
  if (!lock) return;
  if (!Attempt(title, [&] { SaveProjectAs(model_, folder); })) return;
  projectLock_ = std::move(lock);
  doc_.MovedFolder();
  ModelChange moved;
  moved.selectionOnly = true;
  moved.folder = true;  // the texture sub-frame lists the new folder's bitmaps
  doc_.Changed(moved);
  const QString file = QString::fromStdString(ProjectFilePath(model_.ProjectPath).string());
  AddRecentProject(file);
  QString said = "Saved as " + file;
  if (!plan.missing.empty())
    said +=
        QString("; %1 bitmaps the old folder lacked are still missing").arg(plan.missing.size());
  ShowStatus(said);
}

void TamselWindow::OpenSampleFighter() {
  if (!MaybeSave()) return;
  const fs::path folder =
      fs::path(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString()) /
      "sample_fighter";
  const fs::path file = ProjectFilePath(folder);
  std::error_code ec;
  // Made once; after that it is the user's to change, and opening it again keeps that.
  if (!fs::exists(file, ec)) {
    tamsel::Model fighter;
    if (!Attempt("Open the Sample Fighter", [&] {
          fs::create_directories(folder);
          GenerateFighter(fighter, folder);
        }))
      return;
  }
  OpenProjectFile(QString::fromStdString(file.string()));
}

void TamselWindow::shortcutsmenu_Click() {
  dialogs_.Inform(
      "Ctrl+N  New project\n"
      "Ctrl+O  Open a project\n"
      "Ctrl+S  Save\n"
      "Ctrl+Shift+S  Save As\n"
      "Ctrl+Z  Undo\n"
      "Ctrl+Shift+Z, Ctrl+Y  Redo\n"
      "Ctrl+Q  Quit\n"
      "F1  These shortcuts\n\n"
      "In the viewport:\n"
      "F  Frame the selection, or the whole craft\n"
      "Arrows  Turn (or pan, with Pan chosen)\n"
      "Shift+Left/Right  Roll; Shift+Up/Down  Zoom (with Pan chosen)\n"
      "Right-click  Pick; Shift+Right-click  Add to the selection\n"
      "Right-drag  Turn or pan; Shift+Right-drag  Roll or zoom\n"
      "Middle-drag  Pan\n"
      "Wheel  Zoom; Shift+Wheel  Zoom finely",
      "Keyboard Shortcuts");
}

void TamselWindow::aboutmenu_Click() {
  dialogs_.Inform(
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

}  // namespace tamsel
