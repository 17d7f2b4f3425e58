// The window's side of the document: every model change arrives here once, and the lists,
// panels, texture objects, caption and Edit menu follow it before the one CreateCall.
#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSettings>
#include <QStatusBar>
#include <filesystem>

#include "app/command_progress.h"
#include "app/panels/property_panels.h"
#include "app/tamsel_window.h"
#include "editing/selection.h"
#include "editing/ship_features.h"
#include "model/project.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

constexpr int kRecentCount = 8;
const char* const kRecentKey = "recentProjects";

}  // namespace

bool TamselWindow::Edit(const QString& label, const Document::Edit& edit) {
  std::optional<std::string> error;
  {
    CommandProgress progress(progress_, progressDelayMs_);
    error = doc_.Apply(label.toStdString(), edit);
  }
  if (!error) return true;
  dialogs_.MessageBox(QString::fromStdString(*error), label);
  return false;
}

void TamselWindow::OnDocumentChanged(const ModelChange& change) {
  if (!change.selectionOnly) statusBar()->clearMessage();  // an earlier error no longer applies
  if (change.everything) panels_->Clear();
  if (change.everything || change.textureList || !change.textures.empty())
    ShowTextureChange(change);
  panels_->Refresh(change);
  UpdateCaption();
  UpdateEditMenu();
  RefreshShell(change);
  Viewport().CreateCall(change);
}

void TamselWindow::ShowTextureChange(const ModelChange& change) {
  TextureObjects& objects = Viewport().Textures();
  if (change.everything) objects.Clear();
  const std::size_t count = model_.Textures.size();
  const std::size_t loaded = std::min(objects.size(), count);
  if (change.everything || change.textureList) {
    objects.Resize(count);
    LoadTextureObjects(loaded);
  }
  for (int t : change.textures)
    if (static_cast<std::size_t>(t) < loaded)
      objects.Rekey(static_cast<std::size_t>(t),
                    model_.Textures[static_cast<std::size_t>(t)].TransTolerance);
}

void TamselWindow::UpdateCaption() {
  QString caption = "Tamsel v0.4";
  if (!model_.ProjectPath.empty())
    caption += " - " +
               QString::fromStdString(ProjectFilePath(model_.ProjectPath).filename().string()) +
               "[*]";
  setWindowTitle(caption);
  setWindowModified(doc_.IsModified());
}

void TamselWindow::UpdateEditMenu() {
  QAction* undo = MenuItem("editundomenu");
  QAction* redo = MenuItem("editredomenu");
  undo->setEnabled(doc_.CanUndo());
  redo->setEnabled(doc_.CanRedo());
  undo->setText(doc_.CanUndo() ? "Undo " + QString::fromStdString(doc_.UndoLabel()) : "Undo");
  redo->setText(doc_.CanRedo() ? "Redo " + QString::fromStdString(doc_.RedoLabel()) : "Redo");
}

void TamselWindow::editundomenu_Click() {
  if (!doc_.Undo() && !doc_.FileError().empty())
    dialogs_.MessageBox("Nothing was undone: " + QString::fromStdString(doc_.FileError()), "Undo");
}

void TamselWindow::editredomenu_Click() {
  if (!doc_.Redo() && !doc_.FileError().empty())
    dialogs_.MessageBox("Nothing was redone: " + QString::fromStdString(doc_.FileError()), "Redo");
}

bool TamselWindow::MaybeSave() {
  if (!doc_.IsModified() || model_.ProjectPath.empty()) return true;
  const QString name =
      QString::fromStdString(ProjectFilePath(model_.ProjectPath).filename().string());
  switch (dialogs_.AskSave("Save changes to " + name + "?", "Tamsel v0.4")) {
    case Dialogs::SaveAnswer::Save:
      saveopzmenu_Click();
      return !doc_.IsModified();
    case Dialogs::SaveAnswer::Discard:
      return true;
    case Dialogs::SaveAnswer::Cancel:
      break;
  }
  return false;
}

void TamselWindow::closeEvent(QCloseEvent* event) {
  if (!MaybeSave()) return event->ignore();
  SaveLayout();
  event->accept();
}

QStringList TamselWindow::RecentProjects() const {
  return QSettings().value(kRecentKey).toStringList();
}

void TamselWindow::AddRecentProject(const QString& path) {
  QStringList recent = RecentProjects();
  const QString absolute = QFileInfo(path).absoluteFilePath();
  recent.removeAll(absolute);
  recent.prepend(absolute);
  while (recent.size() > kRecentCount) recent.removeLast();
  QSettings().setValue(kRecentKey, recent);
  RebuildRecentMenu();
}

void TamselWindow::RebuildRecentMenu() {
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

void TamselWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TamselWindow::dropEvent(QDropEvent* event) {
  OpenDroppedFiles(event->mimeData()->urls());
  event->acceptProposedAction();
}

void TamselWindow::OpenDroppedFiles(const QList<QUrl>& urls) {
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

}  // namespace tamsel
