// The imports, "create .OPT" and the model export, as ProjectCommands runs them. "import
// model" runs tamsel-cli in a separate process: a malformed file that takes the import
// library down takes only that process with it, never the window with the user's work.
#include "app/project_commands.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QProgressDialog>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>
#include <filesystem>

#include "app/check_panel.h"
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
const char* const kModelFilter =
    "3D models (*.gltf *.glb *.obj *.fbx *.3ds *.dae *.ply *.stl *.x3d *.off)|*.gltf";

}  // namespace

// The three imports: a dialog, the core's command as one undo step, then the appended
// meshes framed. A merged project selects its first mesh, as opening one does.
void ProjectCommands::RunImport(const ImportKind& kind) {
  const auto path = dialogs_.OpenFile(kind.dialogTitle, kind.extension, kind.filter);
  if (path && !path->isEmpty()) ImportFile(kind, *path);
}

void ProjectCommands::ShowImported(int meshesBefore, int texturesBefore) {
  std::int64_t faces = 0;
  for (int m = meshesBefore; m < model_.MeshCount(); ++m)
    for (const LODRec& level : model_.Meshes[static_cast<std::size_t>(m)].LODs)
      faces += level.FaceCount();
  window_.Status(QString("Imported %1 meshes, %2 faces, %3 textures")
                     .arg(model_.MeshCount() - meshesBefore)
                     .arg(faces)
                     .arg(model_.TextureCount() - texturesBefore));
}

bool ProjectCommands::ImportFile(const ImportKind& kind, const QString& path) {
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
  if (kind.selectFirstMesh) FocusFirstMesh();
  window_.Viewport()
      .Navigation()
      .FitWhole();  // an imported craft is framed whole, as an opened one is
  return true;
}

ProjectCommands::ImportKind ProjectCommands::OptImportKind() {
  return {"import .OPT",
          "import .OPT file",
          "*.opt",
          "OPT file (*.opt)|*.opt",
          false,
          [](tamsel::Model& m, const std::string& p, FileTransaction& f) {
            return tamsel::ImportOpt(m, p, &f);
          }};
}

ProjectCommands::ImportKind ProjectCommands::OpzImportKind() {
  return {"import .OPZ",
          "open .OPZ file",
          "*.opz",
          kOpzFilter,
          true,
          [](tamsel::Model& m, const std::string& p, FileTransaction& f) {
            return MergeProject(m, p, &f);
          }};
}

ProjectCommands::ImportKind ProjectCommands::DxfImportKind() {
  return {"import .DXF",
          "import .DXF file",
          "*.dxf",
          "DXF file (*.dxf)|*.dxf",
          false,
          [](tamsel::Model& m, const std::string& p, FileTransaction& f) {
            return tamsel::ImportDxf(m, p, &f);
          }};
}

void ProjectCommands::ImportOpt() {
  RunImport(OptImportKind());
}

void ProjectCommands::ImportOpz() {
  RunImport(OpzImportKind());
}

void ProjectCommands::ImportDxf() {
  RunImport(DxfImportKind());
}

void ProjectCommands::WriteOpt() {
  // What the game cannot load is said before the file is written; the user may write it
  // all the same (a work in progress to look at in another tool).
  CheckPanel& check = window_.Shell().Checks();
  std::vector<std::string> errors;
  for (const Finding& f : check.CheckNow())
    if (f.severity == Severity::Error) errors.push_back(f.text);
  if (!errors.empty()) {
    QString text =
        QString("The check found %1 the %2 game cannot load:\n")
            .arg(errors.size() == 1 ? QString("1 error") : QString("%1 errors").arg(errors.size()))
            .arg(QString::fromUtf8(ProfileName(check.CurrentProfile()).data()));
    for (std::size_t i = 0; i < errors.size() && i < 8; ++i)
      text += "\n• " + QString::fromStdString(errors[i]);
    if (errors.size() > 8) text += QString("\n… and %1 more").arg(errors.size() - 8);
    text += "\n\nWrite the OPT file anyway?";
    if (dialogs_.OkCancel(text, "create .OPT") != Dialogs::Answer::Ok) {
      window_.Shell().ShowChecks();
      return;
    }
  }
  std::filesystem::path written;
  if (!Attempt("create .OPT", [&] { written = CreateOpt(model_, random_); })) return;
  std::error_code ec;
  const double mb = static_cast<double>(std::filesystem::file_size(written, ec)) / 1e6;
  window_.Status(QString("Created %1 (%2 MB) in %3")
                     .arg(QString::fromStdString(written.filename().string()))
                     .arg(mb, 0, 'f', 1)
                     .arg(QString::fromStdString(written.parent_path().string())));
  dialogs_.Beep();
}

QString ProjectCommands::CliProgram() {
  const QString chosen = qEnvironmentVariable("TAMSEL_CLI");
  if (!chosen.isEmpty()) return chosen;
  const QString here = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {here + "/tamsel-cli", here + "/../cli/tamsel-cli"})
    if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
  return QStandardPaths::findExecutable("tamsel-cli");
}

void ProjectCommands::ImportModel() {
  const auto path = dialogs_.OpenFile("import model", "*.gltf", kModelFilter);
  if (!path || path->isEmpty()) return;
  const auto choice = dialogs_.ChooseModelImport();
  if (choice) ImportModelFile(*path, *choice);
}

bool ProjectCommands::ImportModelFile(const QString& path,
                                      const Dialogs::ModelImportChoice& choice) {
  const QString title = "import model";
  const QString cli = CliProgram();
  if (cli.isEmpty()) {
    dialogs_.MessageBox(
        "tamsel-cli, which reads the model, was not found beside the editor or on "
        "the PATH (TAMSEL_CLI names it).",
        title);
    return false;
  }
  QTemporaryDir scratch;
  const QString project = scratch.path() + "/import";
  QProcess process;
  QStringList arguments = {"import-model",
                           path,
                           project,
                           "--scale",
                           QString::number(choice.scale, 'g', 17),
                           "--max-size",
                           QString::number(choice.maxSize),
                           "--avoid-names-in",
                           QString::fromStdString(model_.ProjectPath)};
  if (!choice.dither) arguments << "--no-dither";
  arguments << "--time-limit" << QString::number(choice.timeLimit);
  if (choice.zUp) arguments << "--up" << (*choice.zUp ? "z" : "y");
  if (choice.smoothAngle) arguments << "--smooth-angle" << QString::number(*choice.smoothAngle);
  process.start(cli, arguments);
  QProgressDialog progress("Reading " + QFileInfo(path).fileName() + "...", "Cancel", 0, 0,
                           &window_);
  progress.setWindowTitle(title);
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  // The window stays painted and Cancel stays live while the other process reads; the
  // progress dialog is window-modal, so the rest of the window takes no input meanwhile.
  while (!process.waitForFinished(30)) {
    if (process.state() == QProcess::NotRunning) break;
    QCoreApplication::processEvents();
    progress.setValue(0);
    if (progress.wasCanceled()) {
      process.kill();
      process.waitForFinished();
      window_.Status("import model cancelled; nothing changed");
      return false;
    }
  }
  progress.reset();
  const QString out = QString::fromUtf8(process.readAllStandardOutput());
  const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
  if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
    dialogs_.MessageBox(err.isEmpty() ? "Reading " + path + " failed (the reader stopped)."
                                      : err.section("tamsel-cli: ", -1),
                        title);
    return false;
  }
  // The scratch project comes in as import .OPZ brings in a project, under this command's name.
  ImportKind merge = OpzImportKind();
  merge.title = title;
  merge.selectFirstMesh = false;
  // A message names the model the user chose, never the scratch project it came through.
  merge.run = [run = merge.run, scratchPath = project.toStdString(), model = path.toStdString()](
                  tamsel::Model& m, const std::string& p, FileTransaction& f) {
    try {
      return run(m, p, f);
    } catch (const std::exception& e) {
      std::string message = e.what();
      for (std::size_t at; (at = message.find(scratchPath)) != std::string::npos;)
        message.replace(at, scratchPath.size(), model);
      throw std::runtime_error(message);
    }
  };
  if (!ImportFile(merge, QString::fromStdString(ProjectFilePath(project.toStdString()).string())))
    return false;
  QStringList warnings;
  bool assumed = false;  // the file said nothing of its axes: Y was taken as up
  for (const QString& line : out.split('\n')) {
    if (!line.startsWith("warning: ")) continue;
    if (line.contains("Y was taken as up"))
      assumed = true;
    else
      warnings << line.mid(9);
  }
  // The viewport shows the model as it came in: that is the preview the choice is made on.
  if (assumed && !choice.zUp &&
      dialogs_.OkCancel(QFileInfo(path).fileName() +
                            " does not say which way is up. It came in with Y up (its front "
                            "facing +Z), as the viewport shows it.\n\nOK keeps it; Cancel "
                            "imports it again with Z up (its front facing -Y).",
                        title) == Dialogs::Answer::Cancel &&
      window_.Doc().Undo()) {
    Dialogs::ModelImportChoice zUp = choice;
    zUp.zUp = true;
    return ImportModelFile(path, zUp);
  }
  if (!warnings.isEmpty())
    dialogs_.MessageBox(warnings.join("\n"), title + ": what changed on the way");
  return true;
}

void ProjectCommands::ExportModel() {
  const auto path =
      dialogs_.SaveFile("export model", "glTF 2.0 (*.gltf *.glb), OBJ (*.obj)|*.gltf");
  if (!path || path->isEmpty()) return;
  // The dialog asked about the file chosen; the files written beside it (.bin, .mtl, images)
  // are asked about here when something of their names is there.
  const auto mayReplace = [&](const std::vector<fs::path>& existing) {
    QStringList others;
    for (const fs::path& file : existing)
      if (file != fs::path(path->toStdString())) others << QString::fromStdString(file.string());
    return others.isEmpty() ||
           dialogs_.OkCancel(
               "The export writes these files too, and files of their names are "
               "there already:\n" +
                   others.join("\n") + "\n\nReplace them?",
               "export model") == Dialogs::Answer::Ok;
  };
  ExportReport report;
  if (!Attempt("export model", [&] {
        report =
            tamsel::ExportModel(model_, ProjectBitmaps(model_), path->toStdString(), mayReplace);
      }))
    return;
  if (report.declined)
    window_.Status("Export cancelled; nothing was written");
  else
    window_.Status(QString("Exported %1 (%2 files)").arg(*path).arg(report.written.size()));
}

}  // namespace tamsel
