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
#include "model/project.h"
#include "viewport/cxxx.h"
#include "viewport/glx_ctl.h"

namespace tamsel {

int KeyCodeOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Left:
      return 37;
    case Qt::Key_Up:
      return 38;
    case Qt::Key_Right:
      return 39;
    case Qt::Key_Down:
      return 40;
    case Qt::Key_Shift:
      return 16;
    case Qt::Key_Control:
      return 17;
    case Qt::Key_Alt:
      return 18;
    case Qt::Key_Escape:
      return 27;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_Delete:
      return 46;
    default:
      if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z))
        return qtKey;
      return 0;
  }
}

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
  renderscreen_->SetEvents(this);
  renderscreen_->setMinimumSize(200, 150);
  centre->addWidget(renderscreen_, 1);
  viewOptions_ = new ViewOptions(client_);
  centre->addWidget(viewOptions_);
  startPage_ = new StartPage(renderscreen_);
  cxxx_ = std::make_unique<CXXX>(model_, view_, colors_, *renderscreen_, *this);

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

  animation_ = new QTimer(this);
  animation_->setInterval(40);
  // The rotation panel animates: every tick asks for a frame, and Draw advances the angle.
  connect(animation_, &QTimer::timeout, this, [this] {
    if (view_.PropertyPanel != "rotation") return;
    const SceneInputs in = CurrentSceneInputs();
    if (in.animateAxis || in.animateAim || in.animateDegree) renderscreen_->Redraw();
  });
  new EventWatcher(renderscreen_, {QEvent::Resize},
                   [this](QEvent*) { startPage_->setGeometry(StartPageRect()); });
  qApp->installEventFilter(this);

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

TamselWindow::~TamselWindow() {
  qApp->removeEventFilter(this);
  renderscreen_->SetEvents(nullptr);
}

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
  return cxxx_->Textures();
}

void TamselWindow::ApplyViewExtent() {
  cxxx_->ApplyViewExtent();
}

void TamselWindow::Startup() {
  renderscreen_->Start();
  show();
  renderscreen_->SetActive(true);
  animation_->start();
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

void TamselWindow::Init() {
  cxxx_->Init();
}
void TamselWindow::InitGL() {
  cxxx_->InitGL();
}

void TamselWindow::Draw() {
  cxxx_->Draw();
  ++framesDrawn_;
  if (quitAfterFirstFrame_ && framesDrawn_ == 1) QTimer::singleShot(0, qApp, &QApplication::quit);
}

void TamselWindow::DrawForPick() {
  cxxx_->DrawForPick();
}
void TamselWindow::MouseDown(int b, int s, float x, float y) {
  cxxx_->MouseDown(b, s, x, y);
}
void TamselWindow::MouseMove(int b, int s, float x, float y) {
  cxxx_->MouseMove(b, s, x, y);
}
void TamselWindow::Wheel(double steps, int shift) {
  cxxx_->Wheel(steps, shift);
}
bool TamselWindow::Click(int x, int y) {
  cxxx_->Click(x, y);
  return true;
}
void TamselWindow::Pick(const std::vector<std::int32_t>& items) {
  cxxx_->Pick(items);
}
void TamselWindow::ContextLost() {
  cxxx_->ContextLost();
}

void TamselWindow::Form_KeyDown(int keyCode, int shift) {
  cxxx_->KeyDown(keyCode, shift);
}
void TamselWindow::Form_KeyUp(int keyCode, int shift) {
  cxxx_->KeyUp(keyCode, shift);
}

bool TamselWindow::eventFilter(QObject* watched, QEvent* event) {
  // The viewport's focus box is a text box that shows nothing typed: the window's shortcuts
  // (Ctrl+Z above all) go past it to the menus, as they would from the viewport itself.
  const QObject* taker = viewOptions_->KeyTaker();
  if (event->type() == QEvent::ShortcutOverride && watched == taker) return true;
  // The window sees every key before its controls do, then the control gets it too.
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  // An unhandled key travels on to the parents as the same event: take it once, where it
  // starts (the focus widget, or the window itself when nothing has the focus).
  QWidget* focus = QApplication::focusWidget();
  if (focus ? widget != focus : widget != this) return false;
  auto* key = static_cast<QKeyEvent*>(event);
  if (key->isAutoRepeat() && event->type() == QEvent::KeyRelease) return false;
  // Arrows belong to the control that has the keyboard: a text box moves its cursor, a list
  // its row, a slider its value. The viewport (and its focus box) takes them otherwise.
  const bool arrow = key->key() >= Qt::Key_Left && key->key() <= Qt::Key_Down;
  const bool fit = key->key() == Qt::Key_F && key->modifiers() == Qt::NoModifier;
  if ((arrow || fit) && focus && focus != taker &&
      (qobject_cast<QLineEdit*>(focus) || qobject_cast<QAbstractItemView*>(focus) ||
       qobject_cast<QComboBox*>(focus) || qobject_cast<QAbstractSlider*>(focus)))
    return false;
  if (fit && event->type() == QEvent::KeyPress) {
    cxxx_->Fit();
    return focus && focus == taker;  // no 'f' typed into it
  }
  int shift = 0;
  if (key->modifiers() & Qt::ShiftModifier) shift |= 1;
  if (key->modifiers() & Qt::ControlModifier) shift |= 2;
  if (key->modifiers() & Qt::AltModifier) shift |= 4;
  // Releasing Shift itself leaves Shift up, whatever the platform reports.
  if (event->type() == QEvent::KeyRelease && key->key() == Qt::Key_Shift) shift &= ~1;
  if (event->type() == QEvent::KeyPress)
    Form_KeyDown(KeyCodeOf(key->key()), shift);
  else
    Form_KeyUp(KeyCodeOf(key->key()), shift);
  return false;
}

}  // namespace tamsel
