#include "app/project_commands.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <filesystem>

#include "app/command_progress.h"
#include "app/event_watcher.h"
#include "app/panels/property_panels.h"
#include "app/start_page.h"
#include "app/tamsel_window.h"
#include "app/tool_bars.h"
#include "app/view_bars.h"
#include "app/window_shell.h"
#include "dxf/dxf_import.h"
#include "editing/sample_fighter.h"
#include "editing/select_many.h"
#include "interchange/model_export.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "model/project_lock.h"
#include "model/project_save_as.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"
#include "viewport/viewport_controller.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

const char* const kOpzFilter = "OPZ file (*.opz)|*.opz";
constexpr int kRecentCount = 8;
const char* const kRecentKey = "recentProjects";

}  // namespace

ProjectCommands::ProjectCommands(TamselWindow& window, Dialogs& dialogs, QMenu* recentMenu)
    : QObject(&window),
      window_(window),
      dialogs_(dialogs),
      doc_(window.Doc()),
      model_(window.Doc().model()),
      recentMenu_(recentMenu) {
  random_.seed(static_cast<std::mt19937::result_type>(
      std::chrono::system_clock::now().time_since_epoch().count()));
  RebuildRecentMenu();
}

ProjectCommands::~ProjectCommands() = default;

bool ProjectCommands::OpenProjectFile(const QString& path) {
  CommandProgress progress(window_.Shell().ProgressBar(), window_.Shell().ProgressDelay());
  auto lock =
      LockProject(std::filesystem::absolute(path.toStdString()).parent_path(), "open .OPZ file");
  if (!lock) return false;
  try {
    tamsel::OpenProject(model_, path.toStdString());
  } catch (const FileError& e) {
    dialogs_.MessageBox(QString::fromStdString(e.what()), "open .OPZ file");
    return false;
  }
  projectLock_ = std::move(lock);
  window_.Panels().ShowFrames(true);
  window_.Bars().ShowDisplayButtons(true);
  window_.Panels().Bar().show();
  for (QAction* action : window_.Actions().ImportsAndWriters()) action->setEnabled(true);
  for (QAction* action : window_.Actions().ProjectMakers()) action->setEnabled(true);
  doc_.Reset();
  FocusFirstMesh();
  window_.Viewport().Navigation().FitWhole();
  AddRecentProject(path);
  return true;
}

void ProjectCommands::FocusFirstMesh() {
  if (model_.MeshCount() == 0) return;
  // The first mesh joins whatever the project had selected: rows past the one given stay.
  const ModelChange change = SelectMeshRows(model_, 0, {true});
  doc_.focus().mesh = 0;
  doc_.Changed(change);
}

bool ProjectCommands::MaybeSave() {
  if (!doc_.IsModified() || model_.ProjectPath.empty()) return true;
  const QString name =
      QString::fromStdString(ProjectFilePath(model_.ProjectPath).filename().string());
  switch (dialogs_.AskSave("Save changes to " + name + "?", "Tamsel v0.4")) {
    case Dialogs::SaveAnswer::Save:
      SaveProject();
      return !doc_.IsModified();
    case Dialogs::SaveAnswer::Discard:
      return true;
    case Dialogs::SaveAnswer::Cancel:
      break;
  }
  return false;
}

QStringList ProjectCommands::RecentProjects() const {
  return QSettings().value(kRecentKey).toStringList();
}

void ProjectCommands::AddRecentProject(const QString& path) {
  QStringList recent = RecentProjects();
  const QString absolute = QFileInfo(path).absoluteFilePath();
  recent.removeAll(absolute);
  recent.prepend(absolute);
  while (recent.size() > kRecentCount) recent.removeLast();
  QSettings().setValue(kRecentKey, recent);
  RebuildRecentMenu();
}

void ProjectCommands::RebuildRecentMenu() {
  recentMenu_->clear();
  const QStringList recent = RecentProjects();
  for (const QString& path : recent) {
    QAction* item = recentMenu_->addAction(path);
    connect(item, &QAction::triggered, this, [this, path] {
      if (!QFileInfo(path).isFile()) {
        QStringList kept = RecentProjects();
        kept.removeAll(path);
        QSettings().setValue(kRecentKey, kept);
        RebuildRecentMenu();
        dialogs_.MessageBox(path + " no longer exists; it was removed from the recent projects.",
                            "open .OPZ file");
        return;
      }
      if (MaybeSave()) OpenProjectFile(path);
    });
  }
  recentMenu_->setEnabled(!recent.isEmpty());
}

void ProjectCommands::OpenFromDesktop(const QString& argument) {
  const QUrl url = QUrl::fromUserInput(argument, QDir::currentPath(), QUrl::AssumeLocalFile);
  if (!url.isLocalFile()) {
    dialogs_.MessageBox(argument + " is not a file on this computer.", "Tamsel v0.4");
    return;
  }
  const QString suffix = QFileInfo(url.toLocalFile()).suffix().toLower();
  if ((suffix == "opt" || suffix == "dxf") && model_.ProjectPath.empty()) {
    NewProject();
    if (model_.ProjectPath.empty()) return;  // the prompt was cancelled
  }
  OpenDroppedFiles({url});
}

void ProjectCommands::OpenDroppedFiles(const QList<QUrl>& urls) {
  for (const QUrl& url : urls) {
    if (!url.isLocalFile()) continue;
    const QString path = url.toLocalFile();
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == "opz") {
      if (MaybeSave()) OpenProjectFile(path);
    } else if (suffix == "opt" || suffix == "dxf") {
      if (model_.ProjectPath.empty()) {
        dialogs_.MessageBox("Open or create a project before importing " + path + ".",
                            "import ." + suffix.toUpper());
        continue;
      }
      ImportFile(suffix == "opt" ? OptImportKind() : DxfImportKind(), path);
    } else {
      dialogs_.MessageBox(path + " is not an .opz, .opt or .dxf file.", "Tamsel v0.4");
    }
  }
}

bool ProjectCommands::Attempt(const QString& title, const std::function<void()>& command) {
  CommandProgress progress(window_.Shell().ProgressBar(), window_.Shell().ProgressDelay());
  window_.Status(title + "...");
  window_.statusBar()->repaint();
  try {
    command();
  } catch (const std::exception& e) {
    window_.statusBar()->clearMessage();
    dialogs_.MessageBox(QString::fromStdString(e.what()), title);
    return false;
  }
  window_.statusBar()->clearMessage();
  return true;
}

void ProjectCommands::ShowProjectControls() {
  window_.Panels().ShowFrames(true);
  window_.Bars().ShowDisplayButtons(true);
  window_.Panels().Bar().show();
  for (QAction* action :
       {window_.Actions().saveProject, window_.Actions().writeOpt, window_.Actions().exportModel})
    action->setEnabled(true);
}

std::unique_ptr<ProjectLock> ProjectCommands::LockProject(const fs::path& folder,
                                                          const QString& title) {
  try {
    return std::make_unique<ProjectLock>(folder, "Tamsel");
  } catch (const std::exception& e) {
    dialogs_.MessageBox(QString::fromStdString(e.what()), title);
    return nullptr;
  }
}

void ProjectCommands::NewProject() {
  if (!MaybeSave()) return;
  // A name makes a folder in the one the user then chooses (never wherever the program was
  // started); a full path puts it anywhere.
  const auto answer = dialogs_.InputBox("Name new project", "New Project");
  if (!answer || answer->isEmpty()) return;
  const std::string name = answer->toStdString();
  const bool fullPath = fs::path(name).is_absolute();
  if (!fullPath && !IsSafeFileName(name)) {
    dialogs_.MessageBox("\"" + *answer +
                            "\" cannot be a folder name: it must not be \".\" or \"..\" or hold a "
                            "path separator or control character.",
                        "New Project");
    return;
  }
  fs::path folder = name;
  if (!fullPath) {
    // The last project's parent, else the home folder.
    QString start = QDir::homePath();
    if (const QStringList recent = RecentProjects(); !recent.isEmpty())
      start = QFileInfo(QFileInfo(recent.first()).absolutePath()).absolutePath();
    const auto parent = dialogs_.ChooseFolder("Where to make the project '" + *answer + "'", start);
    if (!parent || parent->isEmpty()) return;
    folder = fs::path(parent->toStdString()) / name;
  }
  std::error_code ec;
  std::unique_ptr<ProjectLock> lock;
  if (fs::exists(folder, ec)) {
    if (!fs::is_directory(folder, ec)) {
      dialogs_.MessageBox("'" + *answer + "' exists and is not a folder.", "New Project");
      return;
    }
    if (dialogs_.OkCancel("The folder '" + *answer + "' already exists.  Overwrite?",
                          "Folder Overwrite") != Dialogs::Answer::Ok)
      return;
    if (!(lock = LockProject(folder, "New Project"))) return;
    // Only the previous project's own files go: its project file and the bitmaps it
    // names. Whatever else the folder holds is the user's and stays.
    std::vector<fs::path> previous;
    try {
      previous = ProjectOwnFiles(folder);
      FileTransaction removal(folder);
      for (const fs::path& file : previous) removal.Remove(file);
      removal.Commit(false);
    } catch (const std::exception& e) {
      dialogs_.MessageBox(QString::fromStdString(e.what()), "New Project");
      return;
    }
    if (!previous.empty())
      window_.Status(QString("Removed the previous project's %1 files from %2")
                         .arg(previous.size())
                         .arg(QString::fromStdString(folder.string())));
  } else if (!fs::create_directory(folder, ec)) {
    dialogs_.MessageBox("Cannot create the folder " + QString::fromStdString(folder.string()) +
                            ": " + QString::fromStdString(ec.message()),
                        "New Project");
    return;
  } else if (!(lock = LockProject(folder, "New Project"))) {
    return;
  }
  projectLock_ = std::move(lock);
  window_.Panels().ShowFrames(false);
  window_.Panels().Bar().hide();
  window_.Bars().ShowDisplayButtons(false);
  for (QAction* action :
       {window_.Actions().saveProject, window_.Actions().writeOpt, window_.Actions().exportModel})
    action->setEnabled(false);
  for (QAction* action : window_.Actions().Imports()) action->setEnabled(true);
  for (QAction* action : window_.Actions().ProjectMakers()) action->setEnabled(true);
  tamsel::NewProject(model_, folder);
  doc_.Reset();
}

void ProjectCommands::OpenProject() {
  if (!MaybeSave()) return;
  const auto path = dialogs_.OpenFile("open .OPZ file", "*.opz", kOpzFilter);
  if (path && !path->isEmpty()) OpenProjectFile(*path);
}

void ProjectCommands::SaveProject() {
  if (!Attempt("save .OPZ", [this] { tamsel::SaveProject(model_); })) return;
  doc_.MarkSaved();
  window_.Shell().UpdateCaption();
  window_.Status("Saved " +
                 QString::fromStdString(ProjectFilePath(model_.ProjectPath).filename().string()));
  AddRecentProject(QString::fromStdString(ProjectFilePath(model_.ProjectPath).string()));
  dialogs_.Beep();
}

void ProjectCommands::SaveProjectAs() {
  const QString title = "Save .OPZ As";
  const auto chosen = dialogs_.SaveFile(title, "Project (*.opz)|*.opz");
  if (!chosen || chosen->isEmpty()) return;
  const fs::path folder = SaveAsFolder(chosen->toStdString());
  std::error_code ec;
  if (fs::equivalent(folder, model_.ProjectPath, ec)) return SaveProject();
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
  if (!Attempt(title, [&] { tamsel::SaveProjectAs(model_, folder); })) return;
  projectLock_ = std::move(lock);
  doc_.MovedFolder();
  ModelChange moved;
  moved.recordsUnchanged = true;
  moved.folder = true;  // the texture sub-frame lists the new folder's bitmaps
  doc_.Changed(moved);
  const QString file = QString::fromStdString(ProjectFilePath(model_.ProjectPath).string());
  AddRecentProject(file);
  QString said = "Saved as " + file;
  if (!plan.missing.empty())
    said +=
        QString("; %1 bitmaps the old folder lacked are still missing").arg(plan.missing.size());
  window_.Status(said);
}

void ProjectCommands::OpenSampleFighter() {
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

}  // namespace tamsel
