// The shell around the panels: the docks (outliner, textures, properties) and the View
// menu that toggles them, the layout kept between runs, the status bar (level and mode,
// what is selected, progress), the caption, the Edit and Help menus, and the start page
// that shows while no project is open.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QRect>
#include <QString>

#include "app/menus.h"

class QDockWidget;
class QLabel;
class QMainWindow;
class QProgressBar;
class QWidget;

namespace tamsel {

class CheckPanel;
class Outliner;
class StartPage;
class TamselWindow;
class TextureShelf;
struct ModelChange;

class WindowShell : public QObject {
 public:
  WindowShell(TamselWindow& window, QWidget* viewport, QWidget* properties);

  // The docks, the status bar, the caption and the Edit menu follow the change.
  void Refresh(const ModelChange& change);
  // The start page shows while no project is open; Save As needs one.
  void ShowProjectState();
  void UpdateCaption();
  // Kept at close, restored at the next start.
  void SaveLayout();
  void RestoreLayout();
  // The stacked docks on the left take the width their tabs need ("Check (99)" among them)
  // where the window has room for it, so that no title hides behind scroll arrows.
  void FitLeftDocks();

  Outliner& OutlinerPanel() { return *outliner_; }
  TextureShelf& TexturesPanel() { return *shelf_; }
  CheckPanel& Checks() { return *check_; }
  void ShowChecks();  // the Check dock shown and in front
  StartPage& Start() { return *startPage_; }
  QProgressBar* ProgressBar() { return progress_; }
  // How long a command runs before its progress shows (tests show it at once).
  int ProgressDelay() const { return progressDelayMs_; }
  void SetProgressDelay(int ms) { progressDelayMs_ = ms; }
  // What the status bar shows: the level and mode, and what is selected.
  QString ModeStatus() const;
  QString SelectionStatus() const;

  void UndoLastStep();
  void RedoNextStep();
  // Asks for a face ("M:3 F:12") and shows it at the face level, selected alone.
  void FindFaceByName();
  void ShowShortcuts();
  void ShowAbout();

 private:
  void BuildStatusBar();
  QDockWidget* AddDock(const QString& name, const QString& title, QWidget* content,
                       Qt::DockWidgetArea area);
  void BuildViewMenu();
  void WholeTabTitles();
  void ConnectMenus();
  void UpdateEditMenu();
  QRect StartPageRect() const;

  TamselWindow& window_;
  QWidget* viewport_;
  Outliner* outliner_ = nullptr;
  TextureShelf* shelf_ = nullptr;
  StartPage* startPage_ = nullptr;
  QLabel* modeStatus_ = nullptr;
  QLabel* selectionStatus_ = nullptr;
  QLabel* checkStatus_ = nullptr;
  CheckPanel* check_ = nullptr;
  QDockWidget* checkDock_ = nullptr;
  static constexpr int kWideWindow = 1200, kNarrowDocks = 200;
  bool wideWindow_ = false;
  QProgressBar* progress_ = nullptr;
  int progressDelayMs_ = 500;
  QByteArray defaultLayout_;
};

}  // namespace tamsel
