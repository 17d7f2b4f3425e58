#include "app/tamsel_window.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QVBoxLayout>
#include <filesystem>

#include "app/craft_commands.h"
#include "app/direct_shaping.h"
#include "app/panels/property_panels.h"
#include "app/project_commands.h"
#include "app/shaping_commands.h"
#include "app/view_bars.h"
#include "app/view_options.h"
#include "app/viewport_link.h"
#include "app/window_shell.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"

namespace tamsel {

TamselWindow::TamselWindow(Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs) {
  setObjectName("tamsel");
  setDockOptions(AnimatedDocks | AllowTabbedDocks | AllowNestedDocks);
  setAcceptDrops(true);
  std::error_code ec;
  doc_.model().StartFolder = std::filesystem::current_path(ec).string();
  doc_.model().NormalLength = 30.0;
  actions_ = BuildMenus(menuBar(), *this);

  // The viewport fills the centre; the view options sit under it.
  auto* client = new QWidget(this);
  client->setObjectName("client");
  setCentralWidget(client);
  auto* centre = new QVBoxLayout(client);
  centre->setContentsMargins(0, 0, 0, 0);
  centre->setSpacing(0);
  viewportWidget_ = new GlViewportWidget(client);
  viewportWidget_->setObjectName("renderscreen");
  viewportWidget_->setMinimumSize(200, 150);
  centre->addWidget(viewportWidget_, 1);
  auto* viewOptions = new ViewOptions(client);
  centre->addWidget(viewOptions);

  panels_ = new PropertyPanels(*this);
  link_ = new ViewportLink(*this, *this, *viewportWidget_, colors_, *viewOptions, *panels_);
  bars_ = new ViewBars(*this, actions_.view, *this, *panels_, link_->Viewport());
  {
    const QSignalBlocker quiet(actions_.modellingNavigation);  // the scheme is read, not set
    actions_.modellingNavigation->setChecked(link_->ModellingNavigation());
  }
  files_ = new ProjectCommands(*this, dialogs_, actions_.recentProjects);
  craft_ = new CraftCommands(*this, colors_, this);
  shaping_ = new ShapingCommands(*this);
  link_->SetDuplicate([this] { return shaping_->Duplicate(); });
  // In Place on Surface every left click places, or says why it could not.
  link_->SetPlacer([this](QPoint at) {
    if (!shaping_->PlaceOnSurface()) return false;
    shaping_->PlaceAt(at);
    return true;
  });
  shell_ = new WindowShell(*this, viewportWidget_, panels_);
  doc_.AddListener([this](const ModelChange& change) { OnDocumentChanged(change); });

  ModelChange start;
  start.everything = true;
  panels_->Refresh(start);  // every control as the start level shows it
  shell_->UpdateCaption();
  shell_->ShowProjectState();
  setMinimumSize(kMinimumWidth, kMinimumHeight);
  resize(1280, 800);
  shell_->FitLeftDocks();
  shell_->RestoreLayout();
}

// The viewport link goes first, while the control it is wired to is still there: the child
// widgets, the control among them, go only after this body.
TamselWindow::~TamselWindow() {
  delete link_;
}

void TamselWindow::Startup() {
  link_->Start();
  show();
  viewportWidget_->SetActive(true);
}

void TamselWindow::StartWith(const QString& file) {
  Startup();
  QElapsedTimer waited;
  waited.start();
  while (link_->FramesDrawn() == 0 && waited.elapsed() < 3000)
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  files_->OpenFromDesktop(file);
}

ViewportController& TamselWindow::Viewport() {
  return link_->Viewport();
}

TextureObjects& TamselWindow::Textures() {
  return link_->Viewport().Drawing().Textures();
}

void TamselWindow::Status(const QString& text) {
  statusBar()->showMessage(text, 10000);
}

}  // namespace tamsel
