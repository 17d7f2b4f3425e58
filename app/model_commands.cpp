// "import model" and "export model". The import runs tamsel-cli in a separate process: a
// malformed file that takes the import library down takes only that process with it, never
// the window with the user's unsaved work.
#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>
#include <QProgressDialog>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>

#include "app/event_watcher.h"
#include "app/tamsel_window.h"
#include "interchange/model_export.h"
#include "model/project.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

const char* const kModelFilter =
    "3D models (*.gltf *.glb *.obj *.fbx *.3ds *.dae *.ply *.stl *.blend *.x3d *.off)|*.gltf";

}  // namespace

QString TamselWindow::CliProgram() {
  const QString chosen = qEnvironmentVariable("TAMSEL_CLI");
  if (!chosen.isEmpty()) return chosen;
  const QString here = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {here + "/tamsel-cli", here + "/../cli/tamsel-cli"})
    if (QFileInfo(candidate).isExecutable()) return QFileInfo(candidate).canonicalFilePath();
  return QStandardPaths::findExecutable("tamsel-cli");
}

void TamselWindow::threedsimportmenu_Click() {
  const auto path = dialogs_.OpenFile("import model", "*.gltf", kModelFilter);
  if (!path || path->isEmpty()) return;
  const auto choice = dialogs_.ChooseModelImport();
  if (choice) ImportModelFile(*path, *choice);
}

bool TamselWindow::ImportModelFile(const QString& path, const Dialogs::ModelImportChoice& choice) {
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
                           "--up",
                           choice.zUp ? "z" : "y",
                           "--scale",
                           QString::number(choice.scale, 'g', 17),
                           "--max-size",
                           QString::number(choice.maxSize),
                           "--avoid-names-in",
                           QString::fromStdString(model_.ProjectPath)};
  if (!choice.dither) arguments << "--no-dither";
  process.start(cli, arguments);
  QProgressDialog progress("Reading " + QFileInfo(path).fileName() + "...", "Cancel", 0, 0, this);
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
      ShowStatus("import model cancelled; nothing changed");
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
  for (const QString& line : out.split('\n'))
    if (line.startsWith("warning: ")) warnings << line.mid(9);
  if (!warnings.isEmpty())
    dialogs_.MessageBox(warnings.join("\n"), title + ": what changed on the way");
  return true;
}

void TamselWindow::exportmodelmenu_Click() {
  const auto path =
      dialogs_.SaveFile("export model", "glTF 2.0 (*.gltf *.glb), OBJ (*.obj)|*.gltf");
  if (!path || path->isEmpty()) return;
  if (Attempt("export model",
              [&] { ExportModel(model_, ProjectBitmaps(model_), path->toStdString()); }))
    ShowStatus("Exported " + *path);
}

}  // namespace tamsel
