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
#include "app/row_list.h"
#include "app/tamsel_window.h"
#include "editing/selection.h"
#include "editing/ship_features.h"
#include "model/project.h"
#include "viewport/cxxx.h"

namespace tamsel {
namespace {

const char* const kCornerLists[8] = {"Xvertexlist",   "Yvertexlist",   "Zvertexlist",
                                     "Ivertnormlist", "Jvertnormlist", "Kvertnormlist",
                                     "Ucoordlist",    "Vcoordlist"};
constexpr int kRecentCount = 8;
const char* const kRecentKey = "recentProjects";

template <typename Ref>
int RowOf(const std::vector<Ref>& rows, const std::optional<Ref>& ref) {
  if (!ref) return -1;
  const auto at = std::find(rows.begin(), rows.end(), *ref);
  return at == rows.end() ? -1 : static_cast<int>(at - rows.begin());
}

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

void TamselWindow::Redisplay() {
  ShowStartsOfBoxes();  // after a pick or a list click filled the panels
  ModelChange change;
  change.selectionOnly = true;
  doc_.Changed(change);
}

void TamselWindow::OnDocumentChanged(const ModelChange& change) {
  if (!change.selectionOnly) faceRowsCurrent_ = cornerRowsCurrent_ = false;  // texts may differ
  if (!change.selectionOnly) {
    statusBar()->clearMessage();  // an earlier error no longer applies
    if (change.everything) ClearPanels();
    const int level = view_.LevelIndex();
    RowList* meshes = List("meshlist");
    if (change.everything || change.meshList) {
      std::vector<QString> names;
      for (const MeshRec& mesh : model_.Meshes) names.push_back(QString::fromStdString(mesh.Name));
      const int focus = meshes->ListIndex();
      meshes->SetRows(std::move(names));
      if (focus >= 0 && focus < meshes->ListCount()) meshes->SetListIndex(focus);
    } else {
      for (int m : change.meshes)
        meshes->SetList(m, QString::fromStdString(model_.Meshes[static_cast<std::size_t>(m)].Name));
    }
    if (change.everything || change.textureList || !change.textures.empty())
      ShowTextureChange(change);

    // The rows come back from the flags; the focus stays on the element it was on.
    const auto face = FocusedFaceRow();
    const auto corner = FocusedCornerRow();
    const auto hardpoint = FocusedHardpoint();
    const auto glow = FocusedEngineGlow();
    RebuildSelectionLists(level);
    List("facelist")->SetListIndex(RowOf(faceRows_, face));
    for (const char* name : kCornerLists) List(name)->SetListIndex(RowOf(cornerRows_, corner));
    List("hardpointlist")->SetListIndex(RowOf(hardpointRows_, hardpoint));
    List("engineglowlist")->SetListIndex(RowOf(engineGlowRows_, glow));
    ShowFocusedValues();
  }
  UpdateCaption();
  UpdateEditMenu();
  RefreshShell(change);
  cxxx_->CreateCall();
}

void TamselWindow::ShowTextureChange(const ModelChange& change) {
  TextureObjects& objects = cxxx_->Textures();
  if (change.everything) objects.Clear();
  const std::size_t count = model_.Textures.size();
  const std::size_t loaded = std::min(objects.size(), count);
  if (change.everything || change.textureList) {
    std::vector<QString> rows;
    for (std::size_t t = 0; t < count; ++t)
      rows.push_back(QString::fromStdString(model_.Textures[t].Name));  // as the file list names it
    for (const char* name : {"transtexturelist", "illumtexturelist"}) {
      RowList* list = List(name);
      const int focus = list->ListIndex();
      list->SetRows(rows);
      if (focus >= 0 && focus < list->ListCount()) list->SetListIndex(focus);
    }
    objects.Resize(count);
    LoadTextureObjects(loaded);
    RefreshTextureList();
  }
  for (int t : change.textures)
    if (static_cast<std::size_t>(t) < loaded)
      objects.Rekey(static_cast<std::size_t>(t),
                    model_.Textures[static_cast<std::size_t>(t)].TransTolerance);
  for (std::size_t t = 0; t < count; ++t) {
    List("transtexturelist")
        ->SetSelected(static_cast<int>(t), model_.Textures[t].TransOpacity < 255);
    List("illumtexturelist")
        ->SetSelected(static_cast<int>(t), model_.Textures[t].IllumColorCount() != 0);
  }
}

// Every panel shows the model's values for the element its list focuses.
void TamselWindow::ShowFocusedValues() {
  const int level = view_.LevelIndex();
  const int mesh = List("meshlist")->ListIndex();
  if (mesh >= 0 && mesh < model_.MeshCount()) FillMeshBoxes(mesh, level, false);
  if (model_.MeshCount() == 0)  // a new project: no values of the last one stay on show
    for (const char* frame : {"hitzoneframe", "rotationframe", "hardpointframe", "engineglowframe"})
      for (QLineEdit* box : Control(frame)->findChildren<QLineEdit*>()) box->clear();
  if (const auto face = FocusedFaceRow())
    FillFaceBoxes(face->mesh, level, face->face, view_.FlightGroupColor);
  if (const auto corner = FocusedCornerRow())
    FillCornerBoxes(corner->mesh, level, corner->face, corner->corner);
  if (const auto hp = FocusedHardpoint()) HardpointScreens(hp->mesh, hp->item);
  if (const auto eg = FocusedEngineGlow()) EngineGlowScreens(eg->mesh, eg->item);
  const int texture = List("transtexturelist")->ListIndex();
  if (texture >= 0 && texture < model_.TextureCount()) TextureScreens(texture);
  ShowStartsOfBoxes();
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
