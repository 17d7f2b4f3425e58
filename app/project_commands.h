// The File menu: new, open, save, Save As, the recent projects, dropped files, the sample
// fighter, the imports, "create .OPT" and the model export. The core does the reading and
// writing; a command that fails says what was wrong and leaves the model, the panels and
// the folder as they were.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

#include "app/dialogs.h"
#include "model/file_transaction.h"

class QMenu;

namespace tamsel {

class Document;
class ProjectLock;
class TamselWindow;
struct Model;

class ProjectCommands : public QObject {
 public:
  ProjectCommands(TamselWindow& window, Dialogs& dialogs, QMenu* recentMenu);
  ~ProjectCommands() override;

  // Opens a project file as "open .OPZ" does after its dialog. On a bad file a message
  // names the file and the line, and nothing changes. Returns whether it opened.
  bool OpenProjectFile(const QString& path);
  // Asks to save unsaved changes; false when the user cancelled or the save failed.
  bool MaybeSave();
  // Files dropped on the window: a project opens (after the unsaved-changes question), an
  // OPT or DXF file is imported.
  void OpenDroppedFiles(const QList<QUrl>& urls);
  // A file the desktop passed at launch, as a path or a file:// URI: a project opens and
  // joins the recent projects; an OPT or DXF file is imported into the open project or,
  // with none open, into a new one that the New Project prompt names first.
  void OpenFromDesktop(const QString& argument);
  // Recent projects, kept in the settings, newest first.
  QStringList RecentProjects() const;

  void NewProject();
  void OpenProject();
  void SaveProject();
  // "Save .OPZ As…": the project and its bitmaps written into another folder, which
  // becomes the project's folder. Nothing is overwritten there without asking.
  void SaveProjectAs();
  // Opens the sample fighter, made once in the user's data folder and kept there.
  void OpenSampleFighter();
  void ImportOpt();
  void ImportOpz();
  void ImportDxf();
  void WriteOpt();
  // "import model": the file is read by tamsel-cli in a process of its own (the import
  // library is not ours to harden), into a scratch project that is then merged as one
  // step. "export model" writes glTF or OBJ.
  void ImportModel();
  void ExportModel();
  // The model import of a chosen file with chosen options; false when cancelled or failed.
  bool ImportModelFile(const QString& path, const Dialogs::ModelImportChoice& choice);
  std::mt19937& Random() { return random_; }

 private:
  void AddRecentProject(const QString& path);
  void RebuildRecentMenu();
  void ShowProjectControls();
  // Focuses the first mesh (after an open or an import that selected it).
  void FocusFirstMesh();
  // The lock of the project folder `folder`, or a message naming its holder and null.
  std::unique_ptr<ProjectLock> LockProject(const std::filesystem::path& folder,
                                           const QString& title);
  // Runs a command that may fail with a FileError: the message names the file and what
  // was wrong, and nothing of the failed command shows.
  bool Attempt(const QString& title, const std::function<void()>& command);
  struct ImportKind {
    QString title, dialogTitle, extension, filter;
    bool selectFirstMesh;
    std::function<std::size_t(tamsel::Model&, const std::string&, FileTransaction&)> run;
  };
  // The dialog, then ImportFile.
  void RunImport(const ImportKind& kind);
  // Imports a file as one undo step; a failed import changes nothing and returns false.
  bool ImportFile(const ImportKind& kind, const QString& path);
  // "Imported 4 meshes, 1 200 faces, 6 textures" in the status bar.
  void ShowImported(int meshesBefore, int texturesBefore);
  static ImportKind OptImportKind();
  static ImportKind OpzImportKind();
  static ImportKind DxfImportKind();
  // Where tamsel-cli is: TAMSEL_CLI, beside this program, in the build's cli folder, or PATH.
  static QString CliProgram();

  TamselWindow& window_;
  Dialogs& dialogs_;
  Document& doc_;
  tamsel::Model& model_;
  QMenu* recentMenu_;
  std::mt19937 random_;
  // Held while a project is open: no other process writes into its folder meanwhile.
  std::unique_ptr<ProjectLock> projectLock_;
};

}  // namespace tamsel
