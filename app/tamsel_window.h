// The main window composes the parts: the menus, the view and display tool bars, the
// viewport in the centre with the view options under it, and the docks around it (the
// outliner, the properties, the textures). It owns the document, the view state and the
// colour settings, and is the one listener of the document: every change reaches the
// panels, the docks, the status bar and the viewport from OnDocumentChanged alone.
#pragma once

#include <QMainWindow>

#include "app/menus.h"
#include "app/panels/panel_host.h"
#include "editing/document.h"
#include "model/color_settings.h"
#include "model/view_state.h"

class QProgressBar;

namespace tamsel {

class ViewportController;
class CraftCommands;
class ShapingCommands;
class Dialogs;
class GlViewportWidget;
class ProjectCommands;
class PropertyPanels;
class ViewBars;
class ViewportLink;
class WindowShell;

class TamselWindow : public QMainWindow, public PanelHost {
  Q_OBJECT
 public:
  explicit TamselWindow(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TamselWindow() override;
  static constexpr int kMinimumWidth = 960, kMinimumHeight = 600;

  // The program entry's steps after loading: start the control, show the window, turn
  // drawing on.
  void Startup();
  // Starts, and opens (or imports) the file the desktop handed over once the window has
  // painted its first frame: a large project reads behind an empty viewport and the progress
  // bar, never behind a black window.
  void StartWith(const QString& file);

  // The parts.
  ViewportLink& Link() { return *link_; }
  ProjectCommands& Files() { return *files_; }
  PropertyPanels& Panels() { return *panels_; }
  WindowShell& Shell() { return *shell_; }
  CraftCommands& Commands() { return *craft_; }
  ShapingCommands& Shaping() { return *shaping_; }
  ViewportController& Viewport();
  GlViewportWidget& ViewportWidget() { return *viewportWidget_; }
  ViewBars& Bars() { return *bars_; }
  const MenuActions& Actions() const { return actions_; }
  tamsel::Model& Model() { return doc_.model(); }
  tamsel::ColorSettings& Colors() { return colors_; }

  // PanelHost. Edit runs an edit of the model as one undo step; a refused edit (a result
  // that is not a finite Single, or an error) changes nothing and says why.
  Document& Doc() override { return doc_; }
  ViewState& View() override { return view_; }
  Dialogs& Ask() override { return dialogs_; }
  bool Edit(const QString& label, const Document::Edit& edit) override;
  void Status(const QString& text) override;
  TextureObjects& Textures() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The document's one listener: the texture objects, the panels, the docks, the caption,
  // the Edit menu and the status bar follow the change, then the viewport syncs with it.
  void OnDocumentChanged(const ModelChange& change);

  Dialogs& dialogs_;
  Document doc_;
  tamsel::ViewState view_;
  tamsel::ColorSettings colors_;
  MenuActions actions_;
  GlViewportWidget* viewportWidget_ = nullptr;
  PropertyPanels* panels_ = nullptr;
  ViewportLink* link_ = nullptr;
  ViewBars* bars_ = nullptr;
  WindowShell* shell_ = nullptr;
  ProjectCommands* files_ = nullptr;
  CraftCommands* craft_ = nullptr;
  ShapingCommands* shaping_ = nullptr;
};

}  // namespace tamsel
