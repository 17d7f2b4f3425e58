// The File menu's project commands, the imports and "create .OPT", the colour settings
// and the face count. The core does the reading and writing; a command that fails shows
// what was wrong and leaves the model, the lists and the folder as they were.
#include <QAction>
#include <QApplication>
#include <QStatusBar>
#include <filesystem>

#include "app/command_progress.h"
#include "app/event_watcher.h"
#include "app/keyed_toolbar.h"
#include "app/menus.h"
#include "app/panels/property_panels.h"
#include "app/tamsel_window.h"
#include "dxf/dxf_import.h"
#include "editing/list_rows.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

const char* const kOpzFilter = "OPZ file (*.opz)|*.opz";

ColorTriple* SettingOf(ColorSettings& c, const QString& item) {
  static const std::pair<const char*, ColorTriple ColorSettings::*> items[] = {
      {"primaryselecttexmenu", &ColorSettings::PrimarySelectTexColor},
      {"primaryselectwiremenu", &ColorSettings::PrimarySelectWireColor},
      {"secondaryselecttexmenu", &ColorSettings::SecondarySelectTexColor},
      {"secondaryselectwiremenu", &ColorSettings::SecondarySelectWireColor},
      {"normalcolormenu", &ColorSettings::NormalColor},
      {"softvector1colormenu", &ColorSettings::SoftVector1Color},
      {"softvector2colormenu", &ColorSettings::SoftVector2Color},
      {"hitzonemeshcolormenu", &ColorSettings::HitzoneMeshColor},
      {"hitzonetargetcolormenu", &ColorSettings::HitzoneTargetColor},
      {"rotationaxiscolormenu", &ColorSettings::RotationAxisColor},
      {"rotationaimcolormenu", &ColorSettings::RotationAimColor},
      {"rotationdegreecolormenu", &ColorSettings::RotationDegreeColor}};
  for (const auto& [name, member] : items)
    if (item == name) return &(c.*member);
  return nullptr;
}

}  // namespace

bool TamselWindow::Attempt(const QString& title, const std::function<void()>& command) {
  CommandProgress progress(progress_, progressDelayMs_);
  ShowStatus(title + "...");
  statusBar()->repaint();
  try {
    command();
  } catch (const std::exception& e) {
    statusBar()->clearMessage();
    dialogs_.MessageBox(QString::fromStdString(e.what()), title);
    return false;
  }
  statusBar()->clearMessage();
  return true;
}

void TamselWindow::ShowProjectControls() {
  panels_->ShowFrames(true);
  dispbar_->show();
  panels_->Bar().show();
  MenuItem("saveopzmenu")->setEnabled(true);
  MenuItem("optcreatemenu")->setEnabled(true);
  MenuItem("exportmodelmenu")->setEnabled(true);
}

std::unique_ptr<ProjectLock> TamselWindow::LockProject(const fs::path& folder,
                                                       const QString& title) {
  try {
    return std::make_unique<ProjectLock>(folder, "Tamsel");
  } catch (const std::exception& e) {
    dialogs_.MessageBox(QString::fromStdString(e.what()), title);
    return nullptr;
  }
}

void TamselWindow::opznewmenu_Click() {
  if (!MaybeSave()) return;
  // A name makes a folder beside the program's start folder; a full path puts it anywhere.
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
  const fs::path folder = fullPath ? fs::path(name) : fs::path(model_.StartFolder) / name;
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
      ShowStatus(QString("Removed the previous project's %1 files from %2")
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
  panels_->ShowFrames(false);
  panels_->Bar().hide();
  dispbar_->hide();
  MenuItem("saveopzmenu")->setEnabled(false);
  MenuItem("optcreatemenu")->setEnabled(false);
  MenuItem("exportmodelmenu")->setEnabled(false);
  for (const char* item : {"optimportmenu", "opzimportmenu", "dxfimportmenu", "threedsimportmenu"})
    MenuItem(item)->setEnabled(true);
  NewProject(model_, folder);
  doc_.Reset();
}

void TamselWindow::opzopenmenu_Click() {
  if (!MaybeSave()) return;
  const auto path = dialogs_.OpenFile("open .OPZ file", "*.opz", kOpzFilter);
  if (path && !path->isEmpty()) OpenProjectFile(*path);
}

void TamselWindow::saveopzmenu_Click() {
  if (!Attempt("save .OPZ", [this] { SaveProject(model_); })) return;
  doc_.MarkSaved();
  UpdateCaption();
  ShowStatus("Saved " +
             QString::fromStdString(ProjectFilePath(model_.ProjectPath).filename().string()));
  AddRecentProject(QString::fromStdString(ProjectFilePath(model_.ProjectPath).string()));
  dialogs_.Beep();
}

// The three imports: a dialog, the core's command as one undo step, then the appended
// meshes framed. A merged project selects its first mesh, as opening one does.
void TamselWindow::RunImport(const ImportKind& kind) {
  const auto path = dialogs_.OpenFile(kind.dialogTitle, kind.extension, kind.filter);
  if (path && !path->isEmpty()) ImportFile(kind, *path);
}

void TamselWindow::ShowImported(int meshesBefore, int texturesBefore) {
  std::int64_t faces = 0;
  for (int m = meshesBefore; m < model_.MeshCount(); ++m)
    for (const LODRec& level : model_.Meshes[static_cast<std::size_t>(m)].LODs)
      faces += level.FaceCount();
  ShowStatus(QString("Imported %1 meshes, %2 faces, %3 textures")
                 .arg(model_.MeshCount() - meshesBefore)
                 .arg(faces)
                 .arg(model_.TextureCount() - texturesBefore));
}

bool TamselWindow::ImportFile(const ImportKind& kind, const QString& path) {
  const int meshes = model_.MeshCount(), textures = model_.TextureCount();
  bool done = false;
  std::vector<std::string> notes;
  Attempt(kind.title, [&] {
    FileTransaction files(model_.ProjectPath);
    const auto error = doc_.Apply(
        kind.title.toStdString(), [&](tamsel::Model& m) { kind.run(m, path.toStdString(), files); },
        &files);
    if (error) throw std::runtime_error(*error);
    notes = files.Notes();
    done = true;
  });
  if (!done) return false;
  ShowImported(meshes, textures);
  if (!notes.empty()) {
    QStringList lines;
    for (const std::string& note : notes) lines << QString::fromStdString(note);
    dialogs_.Inform(lines.join("\n"), kind.title + ": files kept");
  }
  ShowProjectControls();
  Viewport().ApplyViewExtent();
  if (kind.selectFirstMesh) FocusFirstMesh();
  return true;
}

TamselWindow::ImportKind TamselWindow::OptImportKind() {
  return {"import .OPT",
          "import .OPT file",
          "*.opt",
          "OPT file (*.opt)|*.opt",
          false,
          [](tamsel::Model& m, const std::string& p, FileTransaction& f) {
            return ImportOpt(m, p, &f);
          }};
}

TamselWindow::ImportKind TamselWindow::OpzImportKind() {
  return {"import .OPZ",
          "open .OPZ file",
          "*.opz",
          kOpzFilter,
          true,
          [](tamsel::Model& m, const std::string& p, FileTransaction& f) {
            return MergeProject(m, p, &f);
          }};
}

TamselWindow::ImportKind TamselWindow::DxfImportKind() {
  return {"import .DXF",
          "import .DXF file",
          "*.dxf",
          "DXF file (*.dxf)|*.dxf",
          false,
          [](tamsel::Model& m, const std::string& p, FileTransaction& f) {
            return ImportDxf(m, p, &f);
          }};
}

void TamselWindow::optimportmenu_Click() {
  RunImport(OptImportKind());
}

void TamselWindow::opzimportmenu_Click() {
  RunImport(OpzImportKind());
}

void TamselWindow::dxfimportmenu_Click() {
  RunImport(DxfImportKind());
}

void TamselWindow::optcreatemenu_Click() {
  std::filesystem::path written;
  if (!Attempt("create .OPT", [&] { written = CreateOpt(model_, random_); })) return;
  std::error_code ec;
  const double mb = static_cast<double>(std::filesystem::file_size(written, ec)) / 1e6;
  ShowStatus(QString("Created %1 (%2 MB) in %3")
                 .arg(QString::fromStdString(written.filename().string()))
                 .arg(mb, 0, 'f', 1)
                 .arg(QString::fromStdString(written.parent_path().string())));
  dialogs_.Beep();
}

void TamselWindow::colormenu_Click(const QString& item) {
  ColorTriple* setting = SettingOf(colors_, item);
  if (!setting) return;
  // The dialog starts from the current colour; Cancel keeps it.
  const auto chosen = dialogs_.ChooseColor(QColor(setting->R, setting->G, setting->B));
  if (!chosen) return;
  *setting = {chosen->red(), chosen->green(), chosen->blue()};
  ViewChanged();
}

void TamselWindow::facecountmenu_Click() {
  dialogs_.Inform(QString::number(TotalFaceCount(model_)) + " Faces", "Face Count");
}

}  // namespace tamsel
