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
#include "editing/document.h"
#include "editing/list_rows.h"
#include "model/color_settings.h"
#include "model/file_transaction.h"
#include "model/model.h"
#include "model/project_lock.h"
#include "model/view_state.h"
#include "viewport/glx_events.h"
#include "viewport/viewport_host.h"

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
class RowList;
class StartPage;
class TextureShelf;

class TamselWindow : public QMainWindow, public GlxEvents, public ViewportHost {
  Q_OBJECT
 public:
  explicit TamselWindow(Dialogs& dialogs, QWidget* parent = nullptr);
  ~TamselWindow() override;
  static constexpr int kMinimumWidth = 960, kMinimumHeight = 600;

  // The program entry's steps after loading: start the control, show the window, turn
  // drawing on and seed the random generator.
  void Startup();
  // Quits the application once the first frame has been drawn (for start-up timing).
  void SetQuitAfterFirstFrame(bool quit) { quitAfterFirstFrame_ = quit; }

  tamsel::Model& Model() { return model_; }
  tamsel::Document& Doc() { return doc_; }
  tamsel::ViewState& View() { return view_; }
  tamsel::ColorSettings& Colors() { return colors_; }
  CXXX& Viewport() { return *cxxx_; }
  GlxCtl& Renderscreen() { return *renderscreen_; }
  QAction* MenuItem(const QString& name) const { return menus_.value(name); }
  KeyedToolBar& ViewBar() { return *viewbar_; }
  KeyedToolBar& DispBar() { return *dispbar_; }
  KeyedToolBar& PropBar() { return *propbar_; }
  std::mt19937& Random() { return random_; }
  int FramesDrawn() const { return framesDrawn_; }
  // How long a command runs before its progress shows (tests show it at once).
  void SetProgressDelay(int ms) { progressDelayMs_ = ms; }

  Outliner& OutlinerPanel() { return *outliner_; }
  TextureShelf& TexturesPanel() { return *shelf_; }
  StartPage& Start() { return *startPage_; }
  // What the status bar shows: the level and mode, and what is selected.
  QString ModeStatus() const;
  QString SelectionStatus() const;

  // Shows one property frame (or sub-frame) on top of its siblings.
  void BringToFront(QWidget* frame);
  // Hides or shows the six property frames together; the front one stays the front one.
  void ShowPropertyFrames(bool shown);

  // Opens a project file as "open .OPZ" does after its dialog. On a bad file a message
  // names the file and the line, and nothing changes. Returns whether it opened.
  bool OpenProjectFile(const QString& path);

  // Runs an edit of the model as one undo step. A refused edit (a result that is not a
  // finite Single, or an error) changes nothing and says why; returns whether it applied.
  bool Edit(const QString& label, const Document::Edit& edit);
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

  // The geometry panel, Assign LOD, the Fix and the normal Calculate commands.
  void meshlist_MouseUp();
  void meshlist_DblClick();
  void meshdeletebut_Click();
  void facelist_MouseUp();
  void cornerlist_MouseUp(const QString& list);
  void updategeogeobut_Click();
  void extent_KeyUp(const QString& axis);
  void lodassignmentbut_Click();
  void quad2trimenu_Click();
  void vertexordermenu_Click();
  void facenormalmenu_Click();
  void vertexnormalmenu_Click();
  void softwarevectormenu_Click();

  // The texture sub-panel, flight-group colours, and the transparency and illumination
  // panels (prefix "trans" or "illum").
  void texturelist_Click();
  void updategeotexbut_Click();
  void stitch_Click(int view);
  void texrotate_Click(bool clockwise);
  void texflip_Click(bool mirrorU);
  void texturecoordinatemenu_Click();
  void fgsel_Click(int color);
  void fgoffop_Click();
  void texturepanel_MouseUp(const QString& prefix);
  void viewer_MouseMove(const QString& prefix, int x, int y);
  void viewer_Click(const QString& prefix);
  void tintlist_MouseUp(const QString& prefix, const QString& list);
  void removecolor_Click(const QString& prefix);
  void strengthbar_Change(const QString& prefix);
  void strengthtext_Change(const QString& prefix);
  void tolerancebar_Change(const QString& prefix);
  void tolerancetext_Change(const QString& prefix);
  void updatetexpanel_Click(const QString& prefix);

  // The hardpoint, engine-glow, hitzone and rotation frames.
  void HardpointScreens(int WhichMesh, int WhichHardpoint);
  void EngineGlowScreens(int WhichMesh, int WhichEngineGlow);
  void hardpointlist_Click();
  void hpaddbut_Click();
  void hpdeletebut_Click();
  void hpset_Click(bool toVertex);
  void updatehpbut_Click();
  void engineglowlist_Click();
  void egaddbut_Click();
  void egdeletebut_Click();
  void egsetfacebut_Click();
  void egdisplay_Click(bool inner);
  void updateegbut_Click();
  void updatehitbut_Click();
  void hitzonemenu_Click();
  void updaterotbut_Click();
  void rotationmenu_Click();

  // A box's text as a number: the whole text, "." as the decimal point. A box that does
  // not hold one is marked and named in the status bar, and the caller changes nothing.
  std::optional<double> Number(const QString& box);

  // Display routines: they fill the panels and rebuild the lists from the model.
  void MeshScreens(int WhichMesh, int WhichLOD);
  void FaceScreens(int WhichMesh, int WhichLOD, int WhichFace, int WhichTexture);
  void VertexScreens(int WhichMesh, int WhichLOD, int WhichFace, int WhichVertex);
  void TextureScreens(int WhichTexture);

  // Tool bar and view-option handlers.
  void viewbar_ButtonClick(int index);
  void dispbar_ButtonClick(int index);
  void propbar_ButtonClick(int index);
  void rotanimaxis_Click();
  void rotanimaim_Click();
  void rotanimdegree_Click();

  // ViewportHost.
  SceneInputs CurrentSceneInputs() override;
  bool RotateChosen() override;
  void ApplyPickResult(const PickTarget& picked, bool shift) override;
  void FocusTaker() override;

  template <typename T = QWidget>
  T* Control(const QString& name) const {
    return findChild<T*>(name);
  }
  RowList* List(const QString& name) const;
  QLineEdit* Box(const QString& name) const;

  // GlxEvents, each forwarded one to one.
  void Init() override;
  void InitGL() override;
  void Draw() override;
  void DrawForPick() override;
  bool Click(int x, int y) override;
  void MouseDown(int button, int shift, float x, float y) override;
  void MouseMove(int button, int shift, float x, float y) override;
  void Wheel(double steps, int shift) override;
  void Pick(const std::vector<std::int32_t>& items) override;
  void ContextLost() override;

  void Form_KeyDown(int keyCode, int shift);
  void Form_KeyUp(int keyCode, int shift);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void Form_Load();
  // The document listener: lists, panels, texture objects, the caption and the Edit menu
  // follow the model, then one CreateCall.
  void OnDocumentChanged(const ModelChange& change);
  // After a change of selection flags or view state only: the display follows.
  void Redisplay();
  void ShowTextureChange(const ModelChange& change);
  void ShowFocusedValues();
  void UpdateCaption();
  void UpdateEditMenu();
  void AddRecentProject(const QString& path);
  void RebuildRecentMenu();
  // The boxes of the display routines, without their list rebuilding.
  void FillMeshBoxes(int WhichMesh, int WhichLOD, bool resetChanges);
  void ShowStartsOfBoxes();
  void FillFaceBoxes(int WhichMesh, int WhichLOD, int WhichFace, int WhichTexture);
  void FillCornerBoxes(int WhichMesh, int WhichLOD, int WhichFace, int WhichVertex);
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
  void SetGeometryLevelControls(const QString& level);
  void ConnectHandlers();
  // Face, corner, hardpoint and engine-glow rows, rebuilt from the selection flags.
  // Both rebuild the rows when the rows' elements or texts changed, and otherwise only set
  // which rows are selected: a pick changes flags, not texts.
  void RebuildFaceRows(int level);
  void RebuildCornerRows(int level);
  void RebuildFeatureRows(int level);
  void SyncMeshRows(int level);
  // The mesh list's selection and every list built from the flags, for `level`.
  void RebuildSelectionLists(int level);
  void RefreshTextureList();
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
  void ConnectGeometryHandlers();
  void ConnectTextureHandlers();
  void ConnectFeatureHandlers();
  // The focused rows of the hardpoint and engine-glow lists, when they name an element.
  std::optional<ItemRef> FocusedHardpoint();
  std::optional<ItemRef> FocusedEngineGlow();
  std::optional<FaceRef> FocusedFaceRow();
  std::optional<CornerRef> FocusedCornerRow();
  // The face list's selection copied into the faces' flags; returns the focused row's face.
  std::optional<FaceRef> ReadFaceListSelection();
  void ClearSelectionLists();
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
  KeyedToolBar* propbar_ = nullptr;
  GlxCtl* renderscreen_ = nullptr;
  QGroupBox* viewopframe_ = nullptr;
  QStackedWidget* propertyStack_ = nullptr;
  std::array<QGroupBox*, 6> frames_{};
  Outliner* outliner_ = nullptr;
  TextureShelf* shelf_ = nullptr;
  StartPage* startPage_ = nullptr;
  QLabel* modeStatus_ = nullptr;
  QLabel* selectionStatus_ = nullptr;
  QByteArray defaultLayout_;
  MenuItems menus_;
  std::unique_ptr<CXXX> cxxx_;
  // Held while a project is open: no other process writes into its folder meanwhile.
  std::unique_ptr<ProjectLock> projectLock_;
  QTimer* animation_ = nullptr;
  std::vector<FaceRef> faceRows_;
  std::vector<CornerRef> cornerRows_;
  std::vector<ItemRef> hardpointRows_, engineGlowRows_;
  bool faceRowsCurrent_ = false, cornerRowsCurrent_ = false;  // texts as the model's
  int cornerRowsLevel_ = -1;  // the level whose values the corner rows show
  QMenu* recentMenu_ = nullptr;
  bool quitAfterFirstFrame_ = false;
  int framesDrawn_ = 0;
  QProgressBar* progress_ = nullptr;
  int progressDelayMs_ = 500;
};

// Windows-style key codes for the keys the viewport reads (arrows 37..40, Shift 16 ...).
int KeyCodeOf(int qtKey);

}  // namespace tamsel
