// Opening a project in the window: the core reads the file, the window fills its lists,
// texture objects and panels from the new model.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <filesystem>

#include "app/command_progress.h"
#include "app/event_watcher.h"
#include "app/keyed_toolbar.h"
#include "app/panels/property_panels.h"
#include "app/tamsel_window.h"
#include "editing/list_rows.h"
#include "model/file_error.h"
#include "model/project.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {}  // namespace

void TamselWindow::LoadTextureObjects(std::size_t first) {
  TextureObjects& objects = Viewport().Textures();
  objects.Resize(model_.Textures.size());
  QStringList missing;
  for (std::size_t t = first; t < model_.Textures.size(); ++t) {
    const TextureRec& tex = model_.Textures[t];
    const auto path = std::filesystem::path(model_.ProjectPath) / tex.Name;
    if (!objects.Load(t, QString::fromStdString(path.string()), tex.TransTolerance))
      missing << QString::fromStdString(path.string());
  }
  if (!missing.isEmpty())
    ShowStatus("Missing or unreadable bitmap (drawn untextured): " + missing.join(", "));
}

bool TamselWindow::OpenProjectFile(const QString& path) {
  CommandProgress progress(progress_, progressDelayMs_);
  auto lock =
      LockProject(std::filesystem::absolute(path.toStdString()).parent_path(), "open .OPZ file");
  if (!lock) return false;
  try {
    OpenProject(model_, path.toStdString());
  } catch (const FileError& e) {
    dialogs_.MessageBox(QString::fromStdString(e.what()), "open .OPZ file");
    return false;
  }
  projectLock_ = std::move(lock);
  panels_->ShowFrames(true);
  dispbar_->show();
  panels_->Bar().show();
  for (const char* name : {"saveopzmenu", "optcreatemenu", "optimportmenu", "opzimportmenu",
                           "dxfimportmenu", "threedsimportmenu", "exportmodelmenu"})
    MenuItem(name)->setEnabled(true);
  doc_.Reset();
  Viewport().ApplyViewExtent();
  FocusFirstMesh();
  FrameCraft();
  AddRecentProject(path);
  return true;
}

void TamselWindow::FocusFirstMesh() {
  if (model_.MeshCount() == 0) return;
  const MeshRec& first = model_.Meshes[0];
  if (first.HasLevel(0) && !first.LODs[0].Selected) model_.Meshes.Edit(0).LODs[0].Selected = kTrue;
  doc_.focus().mesh = 0;
  SelectionChanged(true);
}

}  // namespace tamsel
