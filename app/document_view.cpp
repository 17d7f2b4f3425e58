// The window's side of the document: every model change arrives here once, and the lists,
// panels, texture objects, caption and Edit menu follow it before the viewport syncs
// with the model.
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
#include "app/viewport_link.h"
#include "app/window_shell.h"
#include "editing/selection.h"
#include "editing/ship_features.h"
#include "model/project.h"
#include "viewport/viewport_controller.h"

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
  if (!change.recordsUnchanged) statusBar()->clearMessage();  // an earlier error no longer applies
  if (change.everything) panels_->Clear();
  if (change.everything || change.textureList || !change.textures.empty())
    link_->FollowTextures(change);
  panels_->Refresh(change);
  shell_->Refresh(change);
  // An edit (or its undo) recomputes the model's extent: the view keeps its own.
  Viewport().SyncWithModel(change);
  link_->FollowAnimation();
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
