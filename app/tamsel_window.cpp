#include "app/tamsel_window.h"

#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <chrono>
#include <filesystem>
#include <tuple>

#include "app/controls.h"
#include "app/event_watcher.h"
#include "app/keyed_toolbar.h"
#include "app/outliner.h"
#include "app/panels/property_panels.h"
#include "app/row_list.h"
#include "app/start_page.h"
#include "app/texture_shelf.h"
#include "app/toolbar_buttons.h"
#include "app/view_options.h"
#include "app/viewport_link.h"
#include "model/project.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"

namespace tamsel {

TamselWindow::TamselWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs) {
  setObjectName("tamsel");
  setWindowTitle("Tamsel v0.4");
  setDockOptions(AnimatedDocks | AllowTabbedDocks | AllowNestedDocks);
  menus_ = BuildMenus(menuBar());
  recentMenu_ = menuBar()->findChild<QMenu*>("recentmenu");
  setAcceptDrops(true);
  doc_.AddListener([this](const ModelChange& change) { OnDocumentChanged(change); });
  BuildStatusBar();

  // The viewport fills the centre; the view options sit under it.
  client_ = new QWidget(this);
  client_->setObjectName("client");
  setCentralWidget(client_);
  auto* centre = new QVBoxLayout(client_);
  centre->setContentsMargins(0, 0, 0, 0);
  centre->setSpacing(0);
  renderscreen_ = new GlxCtl(client_);
  renderscreen_->setObjectName("renderscreen");
  renderscreen_->setStatusTip(
      "Right-click picks (Shift adds); right-drag turns or pans as the view options say; the "
      "wheel zooms; middle-drag pans; F frames the selection");
  renderscreen_->setMinimumSize(200, 150);
  centre->addWidget(renderscreen_, 1);
  viewOptions_ = new ViewOptions(client_);
  centre->addWidget(viewOptions_);
  startPage_ = new StartPage(renderscreen_);

  dispbar_ = new KeyedToolBar("dispbar", DispBarButtons());
  viewbar_ = new KeyedToolBar("viewbar", ViewBarButtons());
  for (auto [bar, name, title] : {std::tuple{viewbar_, "viewtoolbar", "View"},
                                  std::tuple{dispbar_, "displaytoolbar", "Display"}}) {
    auto* tools = addToolBar(title);
    tools->setObjectName(name);
    tools->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    tools->addWidget(bar);
  }

  panels_ = new PropertyPanels(*this);
  link_ = new ViewportLink(*this, *this, *renderscreen_, colors_, *viewOptions_, *panels_);
  outliner_ = new Outliner;
  shelf_ = new TextureShelf;
  QDockWidget* outlinerDock =
      AddDock("outlinerdock", "Outliner", outliner_, Qt::LeftDockWidgetArea);
  QDockWidget* texturesDock = AddDock("texturesdock", "Textures", shelf_, Qt::LeftDockWidgetArea);
  QDockWidget* propertiesDock =
      AddDock("propertiesdock", "Properties", panels_, Qt::RightDockWidgetArea);
  tabifyDockWidget(outlinerDock, texturesDock);
  outlinerDock->raise();
  // The docks start narrow and the viewport takes the rest; the frames scroll within.
  resizeDocks({outlinerDock, propertiesDock}, {200, 440}, Qt::Horizontal);
  BuildViewMenu();

  new EventWatcher(renderscreen_, {QEvent::Resize},
                   [this](QEvent*) { startPage_->setGeometry(StartPageRect()); });

  Form_Load();
  ConnectHandlers();
  ConnectPanels();
  connect(MenuItem("editundomenu"), &QAction::triggered, this, &TamselWindow::editundomenu_Click);
  connect(MenuItem("editredomenu"), &QAction::triggered, this, &TamselWindow::editredomenu_Click);
  connect(MenuItem("quitmenu"), &QAction::triggered, this, &QWidget::close);
  RebuildRecentMenu();
  UpdateCaption();
  ShowProjectState();
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  resize(1280, 800);
  defaultLayout_ = saveState();
  RestoreLayout();
}

TamselWindow::~TamselWindow() = default;

void TamselWindow::Form_Load() {
  std::error_code ec;
  model_.StartFolder = std::filesystem::current_path(ec).string();
  model_.Ids = IdCounters{};
  view_ = ViewState{};
  colors_ = ColorSettings{};
  model_.NormalLength = 30.0;
  for (const char* name : {"saveopzmenu", "optcreatemenu", "optimportmenu", "opzimportmenu",
                           "dxfimportmenu", "threedsimportmenu", "exportmodelmenu"})
    menus_.value(name)->setEnabled(false);
  ApplyStartButtonStates();
}

// The pressed buttons that match the start values of the view state.
void TamselWindow::ApplyStartButtonStates() {
  for (const char* key : {"high level", "mesh", "wireframe", "norm"})
    dispbar_->SetValue(dispbar_->IndexOfKey(key), 1);
  ModelChange start;
  start.everything = true;
  panels_->Refresh(start);  // every control as the start level shows it
}

KeyedToolBar& TamselWindow::PropBar() {
  return panels_->Bar();
}

TextureObjects& TamselWindow::Textures() {
  return link_->Viewport().Textures();
}

void TamselWindow::ApplyViewExtent() {
  link_->Viewport().ApplyViewExtent();
}

CXXX& TamselWindow::Viewport() {
  return link_->Viewport();
}

void TamselWindow::Startup() {
  link_->Start();
  show();
  renderscreen_->SetActive(true);
  random_.seed(static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count()));
}

void TamselWindow::ShowStatus(const QString& text) {
  statusBar()->showMessage(text, 10000);
}

BusyPointer::BusyPointer() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyPointer::~BusyPointer() {
  QApplication::restoreOverrideCursor();
}

}  // namespace tamsel
