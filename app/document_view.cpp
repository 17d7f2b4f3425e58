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
#include "app/project_commands.h"
#include "app/tamsel_window.h"
#include "app/window_shell.h"
#include "editing/selection.h"
#include "editing/ship_features.h"
#include "model/project.h"
#include "viewport/cxxx.h"

namespace tamsel {

bool TamselWindow::Edit(const QString& label, const Document::Edit& edit) {
  std::optional<std::string> error;
  {
    CommandProgress progress(shell_->ProgressBar(), shell_->ProgressDelay());
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
  shell_->Refresh(change);
  Viewport().CreateCall(change);
}

void TamselWindow::ShowTextureChange(const ModelChange& change) {
  const tamsel::Model& model = doc_.model();
  TextureObjects& objects = Viewport().Textures();
  if (change.everything) objects.Clear();
  const std::size_t count = model.Textures.size();
  const std::size_t loaded = std::min(objects.size(), count);
  if (change.everything || change.textureList) {
    objects.Resize(count);
    QStringList missing;
    for (std::size_t t = loaded; t < count; ++t) {
      const TextureRec& tex = model.Textures[t];
      const auto path = std::filesystem::path(model.ProjectPath) / tex.Name;
      if (!objects.Load(t, QString::fromStdString(path.string()), tex.TransTolerance))
        missing << QString::fromStdString(path.string());
    }
    if (!missing.isEmpty())
      Status("Missing or unreadable bitmap (drawn untextured): " + missing.join(", "));
  }
  for (int t : change.textures)
    if (static_cast<std::size_t>(t) < loaded)
      objects.Rekey(static_cast<std::size_t>(t),
                    model.Textures[static_cast<std::size_t>(t)].TransTolerance);
}

void TamselWindow::closeEvent(QCloseEvent* event) {
  if (!files_->MaybeSave()) return event->ignore();
  shell_->SaveLayout();
  event->accept();
}

void TamselWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TamselWindow::dropEvent(QDropEvent* event) {
  files_->OpenDroppedFiles(event->mimeData()->urls());
  event->acceptProposedAction();
}

}  // namespace tamsel
