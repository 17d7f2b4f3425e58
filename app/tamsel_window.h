// The main window: menus, tool bars, the six property frames, the viewport and the view
// options, laid out proportionally to the window's size. It owns the model, the view
// state and the colour settings, and forwards the host control's events and its own keys
// to the viewport object.
#pragma once

#include <QByteArray>
#include <QMainWindow>
#include <QUrl>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <random>

#include "app/dialogs.h"
#include "app/menus.h"
#include "app/panels/panel_host.h"
#include "editing/document.h"
#include "editing/list_rows.h"
#include "model/color_settings.h"
#include "model/file_transaction.h"
#include "model/model.h"
#include "model/project_lock.h"
#include "model/view_state.h"

class QDockWidget;
class QGroupBox;
class QLabel;
class QLineEdit;
class QStackedWidget;
class QMenu;
class QProgressBar;
class QTimer;

namespace tamsel {

class CXXX;
class GlxCtl;
class KeyedToolBar;
class Outliner;
class PropertyPanels;
class ViewOptions;
class StartPage;
class TextureShelf;
class ViewportLink;

class TamselWindow : public QMainWindow, public PanelHost {
  Q_OBJECT
 public:
  explicit TamselWindow(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TamselWindow() override;
  static constexpr int kMinimumWidth = 960, kMinimumHeight = 600;

  // The program entry's steps after loading: start the control, show the window, turn
  // drawing on and seed the random generator.
  void Startup();
  // The viewport's side of the window: its events, keys, scene inputs and picks.
  ViewportLink& Link() { return *link_; }

  tamsel::Model& Model() { return model_; }
  tamsel::ColorSettings& Colors() { return colors_; }
  CXXX& Viewport();
  GlxCtl& Renderscreen() { return *renderscreen_; }
  QAction* MenuItem(const QString& name) const { return menus_.value(name); }
  KeyedToolBar& ViewBar() { return *viewbar_; }
  KeyedToolBar& DispBar() { return *dispbar_; }
  KeyedToolBar& PropBar();
  PropertyPanels& Panels() { return *panels_; }
  std::mt19937& Random() { return random_; }
  // How long a command runs before its progress shows (tests show it at once).
  void SetProgressDelay(int ms) { progressDelayMs_ = ms; }

  Outliner& OutlinerPanel() { return *outliner_; }
  TextureShelf& TexturesPanel() { return *shelf_; }
  StartPage& Start() { return *startPage_; }
  // What the status bar shows: the level and mode, and what is selected.
  QString ModeStatus() const;
  QString SelectionStatus() const;

  // Opens a project file as "open .OPZ" does after its dialog. On a bad file a message
  // names the file and the line, and nothing changes. Returns whether it opened.
  bool OpenProjectFile(const QString& path);

  // PanelHost. Edit runs an edit of the model as one undo step; a refused edit (a result
  // that is not a finite Single, or an error) changes nothing and says why.
  Document& Doc() override { return doc_; }
  ViewState& View() override { return view_; }
  Dialogs& Ask() override { return dialogs_; }
  bool Edit(const QString& label, const Document::Edit& edit) override;
  void Status(const QString& text) override { ShowStatus(text); }
  TextureObjects& Textures() override;
  void ApplyViewExtent() override;
  // Asks to save unsaved changes; false when the user cancelled or the save failed.
  bool MaybeSave();
  // The Edit menu.
  void editundomenu_Click();
  void editredomenu_Click();
  // Files dropped on the window: a project opens (after the unsaved-changes question), an
  // OPT or DXF file is imported.
  void OpenDroppedFiles(const QList<QUrl>& urls);
  // Recent projects, kept in the settings, newest first.
  QStringList RecentProjects() const;

  // The File, Options and Info menus.
  void opznewmenu_Click();
  void opzopenmenu_Click();
  void saveopzmenu_Click();
  void optimportmenu_Click();
  void opzimportmenu_Click();
  void dxfimportmenu_Click();
  void optcreatemenu_Click();
  // "import model": the file is read by tamsel-cli in a process of its own (the import
  // library is not ours to harden), into a scratch project that is then merged as one
  // step. "export model" writes glTF or OBJ.
  void threedsimportmenu_Click();
  void exportmodelmenu_Click();
  // "Save .OPZ As…": the project and its bitmaps written into another folder, which
  // becomes the project's folder. Nothing is overwritten there without asking.
  void saveasopzmenu_Click();
  // Opens the sample fighter, made once in the user's data folder and kept there.
  void OpenSampleFighter();
  // The Help menu.
  void shortcutsmenu_Click();
  void aboutmenu_Click();
  // The model import of a chosen file with chosen options; false when cancelled or failed.
  bool ImportModelFile(const QString& path, const Dialogs::ModelImportChoice& choice);
  void colormenu_Click(const QString& item);
  void facecountmenu_Click();

  // The model-wide commands of the Calculate, Fix and Options menus.
  void quad2trimenu_Click();
  void vertexordermenu_Click();
  void facenormalmenu_Click();
  void vertexnormalmenu_Click();
  void softwarevectormenu_Click();
  void texturecoordinatemenu_Click();
  void hitzonemenu_Click();
  void rotationmenu_Click();

  // Tool bar and view-option handlers.
  void viewbar_ButtonClick(int index);
  void dispbar_ButtonClick(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Form_Load();
  // The document listener: lists, panels, texture objects, the caption and the Edit menu
  // follow the model, then one CreateCall.
  void OnDocumentChanged(const ModelChange& change);
  // The texture objects follow the texture records.
  void ShowTextureChange(const ModelChange& change);
  void UpdateCaption();
  void UpdateEditMenu();
  void AddRecentProject(const QString& path);
  void RebuildRecentMenu();
  // The window's shell around the panels: status bar, docks, View menu, the layout kept
  // between runs, the start page, and the docks' refresh after a change.
  void BuildStatusBar();
  QDockWidget* AddDock(const QString& name, const QString& title, QWidget* content,
                       Qt::DockWidgetArea area);
  void BuildViewMenu();
  void RestoreLayout();
  void SaveLayout();
  QRect StartPageRect() const;
  void ShowProjectState();
  void ConnectPanels();
  void RefreshShell(const ModelChange& change);
  // Every panel empty: no value of an earlier project stays on show.
  void ClearPanels();
  // Frames the whole craft in the current direction (after a project opened).
  void FrameCraft();
  void ApplyStartButtonStates();
  void ConnectHandlers();
  // Focuses the first mesh (after an open or an import that selected it).
  void FocusFirstMesh();
  // Texture objects of the records from `first` on, keyed at their transparency tolerance.
  void LoadTextureObjects(std::size_t first);
  void ShowStatus(const QString& text);
  void ShowProjectControls();
  // The lock of the project folder `folder`, or a message naming its holder and null.
  std::unique_ptr<ProjectLock> LockProject(const std::filesystem::path& folder,
                                           const QString& title);
  struct ImportKind {
    QString title, dialogTitle, extension, filter;
    bool selectFirstMesh;
    std::function<std::size_t(tamsel::Model&, const std::string&, FileTransaction&)> run;
  };
  // The dialog, then ImportFile.
  void RunImport(const ImportKind& kind);
  // Where tamsel-cli is: TAMSEL_CLI, beside this program, in the build's cli folder, or PATH.
  static QString CliProgram();
  // Imports a file as one undo step; a failed import changes nothing and returns false.
  bool ImportFile(const ImportKind& kind, const QString& path);
  // "Imported 4 meshes, 1 200 faces, 6 textures" in the status bar.
  void ShowImported(int meshesBefore, int texturesBefore);
  static ImportKind OptImportKind();
  static ImportKind OpzImportKind();
  static ImportKind DxfImportKind();
  // Runs a command that may fail with a FileError: the message names the file and what
  // was wrong, and nothing of the failed command shows.
  bool Attempt(const QString& title, const std::function<void()>& command);

  Dialogs& dialogs_;
  Document doc_;
  tamsel::Model& model_ = doc_.model();
  tamsel::ViewState view_;
  tamsel::ColorSettings colors_;
  std::mt19937 random_;

  QWidget* client_ = nullptr;
  KeyedToolBar* viewbar_ = nullptr;
  KeyedToolBar* dispbar_ = nullptr;
  GlxCtl* renderscreen_ = nullptr;
  ViewOptions* viewOptions_ = nullptr;
  PropertyPanels* panels_ = nullptr;
  Outliner* outliner_ = nullptr;
  TextureShelf* shelf_ = nullptr;
  StartPage* startPage_ = nullptr;
  QLabel* modeStatus_ = nullptr;
  QLabel* selectionStatus_ = nullptr;
  QByteArray defaultLayout_;
  MenuItems menus_;
  ViewportLink* link_ = nullptr;
  // Held while a project is open: no other process writes into its folder meanwhile.
  std::unique_ptr<ProjectLock> projectLock_;
  QMenu* recentMenu_ = nullptr;
  QProgressBar* progress_ = nullptr;
  int progressDelayMs_ = 500;
};

}  // namespace tamsel
