#include "app/shaping_commands.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <cmath>

#include "app/dialogs.h"
#include "app/panels/panel_input.h"
#include "app/tamsel_window.h"
#include "app/viewport_link.h"
#include "editing/clipboard_text.h"
#include "editing/edit_target.h"
#include "editing/element_edits.h"
#include "editing/ship_features.h"
#include "editing/surface_place.h"
#include "editing/transforms.h"
#include "editing/tri2quad.h"
#include "model/number_text.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/scene.h"
#include "viewport/screen_space.h"

namespace tamsel {
namespace {

QString Noun(TargetKind kind, int count) {
  return QString::number(count) + " " + QString::fromStdString(TargetNoun(kind, count));
}

QString Point(const Single3& p) {
  return QString("(%1, %2, %3)")
      .arg(QString::fromStdString(FormatSingle(p.x)), QString::fromStdString(FormatSingle(p.y)),
           QString::fromStdString(FormatSingle(p.z)));
}

}  // namespace

ShapingCommands::ShapingCommands(TamselWindow& window) : QObject(&window), window_(window) {}

void ShapingCommands::Delete() {
  Model& model = window_.Model();
  const EditTarget target = TargetOf(window_.View(), window_.Doc().focus(), model);
  const int count = TargetCount(model, target);
  if (target.kind == TargetKind::Corners)
    return window_.Status("Corners are not deleted alone: delete their faces at the face level");
  if (count == 0) return window_.Status("Nothing selected to delete");
  const std::vector<int> meshes = SelectedMeshes(model, target.level);
  const int before = model.MeshCount();
  int removed = 0;
  if (!window_.Edit("Delete " + Noun(target.kind, count),
                    [&](Model& m) { removed = DeleteTarget(m, target); }))
    return;
  Focus& focus = window_.Doc().focus();
  if (target.kind == TargetKind::Meshes) FollowMeshes(focus, IndicesAfterRemoval(before, meshes));
  if (target.kind == TargetKind::Faces) focus.face.reset(), focus.corner.reset();
  if (target.kind == TargetKind::Hardpoint) focus.hardpoint.reset();
  if (target.kind == TargetKind::EngineGlow) focus.engineGlow.reset();
  window_.SelectionChanged(true);
  window_.Status("Deleted " + Noun(target.kind, removed));
}

bool ShapingCommands::Duplicate() {
  Model& model = window_.Model();
  EditTarget target = TargetOf(window_.View(), window_.Doc().focus(), model);
  const int count = TargetCount(model, target);
  if (count == 0 || target.kind == TargetKind::Corners) {
    window_.Status(target.kind == TargetKind::Corners
                       ? "Corners are not duplicated alone: duplicate their faces"
                       : "Nothing selected to duplicate");
    return false;
  }
  int copied = 0;
  if (!window_.Edit("Duplicate " + Noun(target.kind, count),
                    [&](Model& m) { copied = DuplicateTarget(m, target); }))
    return false;
  Focus& focus = window_.Doc().focus();
  if (target.kind == TargetKind::Hardpoint) focus.hardpoint = target.item;
  if (target.kind == TargetKind::EngineGlow) focus.engineGlow = target.item;
  if (target.kind == TargetKind::Meshes) focus.mesh = window_.Model().MeshCount() - 1;
  window_.SelectionChanged(true);
  window_.Status("Duplicated " + Noun(target.kind, copied) + "; the copy is selected");
  return copied > 0;
}

int ShapingCommands::CopyTarget(const QString& verb) {
  const Model& model = window_.Model();
  const EditTarget target = TargetOf(window_.View(), window_.Doc().focus(), model);
  const int count = TargetCount(model, target);
  if (target.kind == TargetKind::Corners) {
    window_.Status("Corners cannot be copied or cut alone: select their faces");
    return 0;
  }
  const std::string text = count > 0 ? CopyText(model, target) : std::string();
  if (text.empty()) {
    window_.Status("Nothing selected to " + verb);
    return 0;
  }
  auto* data = new QMimeData;
  const QByteArray bytes = QByteArray::fromStdString(text);
  data->setData(kClipboardMime, bytes);
  data->setText(QString::fromUtf8(bytes));
  QGuiApplication::clipboard()->setMimeData(data);
  return count;
}

void ShapingCommands::Copy() {
  const EditTarget target = TargetOf(window_.View(), window_.Doc().focus(), window_.Model());
  if (const int count = CopyTarget("copy"); count > 0)
    window_.Status("Copied " + Noun(target.kind, count));
}

void ShapingCommands::Cut() {
  const EditTarget target = TargetOf(window_.View(), window_.Doc().focus(), window_.Model());
  const int count = CopyTarget("cut");
  if (count == 0) return;
  Delete();
  window_.Status("Cut " + Noun(target.kind, count));
}

void ShapingCommands::Paste() {
  Model& model = window_.Model();
  if (model.ProjectPath.empty()) return window_.Status("Paste: open or make a project first");
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  QByteArray bytes;
  if (data && data->hasFormat(kClipboardMime))
    bytes = data->data(kClipboardMime);
  else if (data && data->hasText())
    bytes = data->text().toUtf8();
  const std::string text = bytes.toStdString();
  if (!IsClipboardText(text))
    return window_.Status(
        "Paste: the clipboard holds no meshes, faces, hardpoints or engine glows");
  const EditTarget here = TargetOf(window_.View(), window_.Doc().focus(), model);
  int into = window_.Doc().focus().mesh;
  if (into < 0 || into >= model.MeshCount()) {
    const auto selected = SelectedMeshes(model, here.level);
    into = selected.empty() ? -1 : selected.front();
  }
  FileTransaction files(model.ProjectPath);
  PasteResult pasted;
  const auto error = window_.Doc().Apply(
      "Paste", [&](Model& m) { pasted = PasteText(m, text, here.level, into, files); }, &files);
  if (error) return window_.Ask().MessageBox(QString::fromStdString(*error), "Paste");
  Focus& focus = window_.Doc().focus();
  focus.mesh = pasted.mesh;
  if (pasted.kind == TargetKind::Hardpoint)
    focus.hardpoint = ItemRef{pasted.mesh, pasted.firstItem};
  if (pasted.kind == TargetKind::EngineGlow)
    focus.engineGlow = ItemRef{pasted.mesh, pasted.firstItem};
  window_.SelectionChanged(true);
  QString said = "Pasted " + Noun(pasted.kind, pasted.count);
  for (const std::string& note : pasted.notes) said += "; " + QString::fromStdString(note);
  window_.Status(said);
}

Single3 ShapingCommands::PointerOnGrid() {
  const Model& model = window_.Model();
  GlViewportWidget& widget = window_.ViewportWidget();
  const QPointF at = window_.Link().PointerInViewport();
  const Ray ray =
      RayThrough(ScreenView::Of(widget.Camera(), widget.width(), widget.height()), at.x(), at.y());
  const bool empty = model.ModelSpan.x == 0 && model.ModelSpan.y == 0 && model.ModelSpan.z == 0;
  const std::array<double, 3> centre =
      empty ? std::array<double, 3>{0, 0, 0}
            : std::array<double, 3>{model.ModelCenter.x, model.ModelCenter.y, model.ModelCenter.z};
  // The plane through the centre square to the line of sight.
  double t = 0;
  for (std::size_t i = 0; i < 3; ++i) t += (centre[i] - ray.origin[i]) * ray.direction[i];
  const double spacing = GridSpacing(model.ViewExtent);
  const auto snap = [&](double v) {
    return static_cast<float>(spacing > 0 ? std::round(v / spacing) * spacing : v);
  };
  return {snap(ray.origin[0] + t * ray.direction[0]), snap(ray.origin[1] + t * ray.direction[1]),
          snap(ray.origin[2] + t * ray.direction[2])};
}

void ShapingCommands::NewMeshOf(NewShape shape) {
  Model& model = window_.Model();
  if (model.ProjectPath.empty()) return window_.Status("New Mesh: open or make a project first");
  static const char* const kNames[] = {"Mesh", "Box", "Cylinder", "Plane"};
  const QString name = kNames[static_cast<int>(shape)];
  const Single3 at = PointerOnGrid();
  double size = GridSpacing(model.ViewExtent);
  if (shape != NewShape::Empty) {
    const auto asked = AskNumber(
        window_.Ask(), "Size of the new " + name.toLower() + ":", "New " + name, size,
        [](double s) { return s > 0; }, "a size above 0");
    if (!asked) return;
    size = *asked;
  }
  const std::string texture = model.Textures.empty() ? std::string() : model.Textures[0].Name;
  int index = -1;
  if (!window_.Edit("New " + name, [&](Model& m) { index = NewMesh(m, shape, size, at, texture); }))
    return;
  Focus& focus = window_.Doc().focus();
  focus = Focus{};
  focus.mesh = index;
  window_.SelectionChanged(true);
  window_.Status("New " + name + " \"" +
                 QString::fromStdString(model.Meshes[static_cast<std::size_t>(index)].Name) +
                 "\" at " + Point(at) +
                 (shape == NewShape::Empty ? QString() : ", size " + QString::number(size)));
}

void ShapingCommands::MergeSelectedMeshes() {
  Model& model = window_.Model();
  const int level = window_.View().LevelIndex();
  const auto selected = SelectedMeshes(model, level);
  if (selected.size() < 2)
    return window_.Status("Merge Meshes: select two meshes or more (Shift adds)");
  const int before = model.MeshCount();
  std::vector<int> removed;
  if (!window_.Edit(QString("Merge %1 meshes").arg(selected.size()),
                    [&](Model& m) { removed = MergeMeshes(m, level); }))
    return;
  FollowMeshes(window_.Doc().focus(), IndicesAfterRemoval(before, removed));
  window_.Doc().focus().mesh = selected.front();
  window_.SelectionChanged(true);
  window_.Status(QString("Merged %1 meshes into \"%2\"")
                     .arg(selected.size())
                     .arg(QString::fromStdString(
                         model.Meshes[static_cast<std::size_t>(selected.front())].Name)));
}

void ShapingCommands::SeparateSelectedFaces() {
  const int level = window_.View().LevelIndex();
  int moved = 0;
  if (!window_.Edit("Separate", [&](Model& m) { moved = SeparateFaces(m, level); })) return;
  if (moved == 0) return window_.Status("Separate: select faces at the face level first");
  Focus& focus = window_.Doc().focus();
  focus = Focus{};
  focus.mesh = window_.Model().MeshCount() - 1;
  window_.SelectionChanged(true);
  window_.Status(QString("Separated %1 faces into \"%2\"")
                     .arg(moved)
                     .arg(QString::fromStdString(window_.Model().Meshes.back().Name)));
}

void ShapingCommands::MoveFocusedMesh(int by) {
  Model& model = window_.Model();
  const int from = window_.Doc().focus().mesh, to = from + by;
  if (from < 0 || from >= model.MeshCount())
    return window_.Status("Move Mesh: choose a mesh in the list first");
  if (to < 0 || to >= model.MeshCount())
    return window_.Status(by < 0 ? "The mesh is first already" : "The mesh is last already");
  MoveMeshTo(from, to);
}

void ShapingCommands::MoveMeshTo(int from, int to) {
  Model& model = window_.Model();
  const int count = model.MeshCount();
  if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
  if (!window_.Edit(to < from ? "Move Mesh Up" : "Move Mesh Down",
                    [&](Model& m) { MoveMesh(m, from, to); }))
    return;
  FollowMeshes(window_.Doc().focus(), IndicesAfterMove(count, from, to));
  window_.SelectionChanged(true);
  window_.Status(QString("Moved \"%1\" to place %2")
                     .arg(QString::fromStdString(model.Meshes[static_cast<std::size_t>(to)].Name))
                     .arg(to + 1));
}

void ShapingCommands::MergeTriangles() {
  const ViewState& view = window_.View();
  const EditTarget target = TargetOf(view, window_.Doc().focus(), window_.Model());
  const bool selectedOnly =
      target.kind == TargetKind::Faces && TargetCount(window_.Model(), target) > 0;
  int made = 0;
  if (!window_.Edit("Tri2Quad",
                    [&](Model& m) { made = Tri2Quad(m, view.LevelIndex(), selectedOnly); }))
    return;
  window_.Status(QString("Tri2Quad made %1 quads from pairs of triangles%2")
                     .arg(made)
                     .arg(selectedOnly ? " of the selected faces" : ""));
}

void ShapingCommands::CentreTheCraft() {
  Single3 offset;
  if (!window_.Edit("Centre Craft", [&](Model& m) { offset = CentreCraft(m); })) return;
  window_.Status("Centre Craft moved everything by " + Point(offset));
}

void ShapingCommands::ScaleTheCraft() {
  const auto factor = AskNumber(
      window_.Ask(), "Scale the whole craft by the factor:", "Scale Craft", 1,
      [](double f) { return f != 0; }, "a factor other than 0");
  if (!factor) return;
  if (!window_.Edit("Scale Craft", [&](Model& m) { ScaleCraft(m, *factor); })) return;
  window_.Status("Scaled the whole craft by " + QString::number(*factor));
}

void ShapingCommands::SetPlaceOnSurface(bool on) {
  placing_ = on;
  window_.Status(on ? "Place on Surface: click the model to put a hardpoint there (an engine glow "
                      "while the engine glow panel shows); the focused one moves"
                    : "Place on Surface is off");
}

bool ShapingCommands::PlaceAt(QPoint at) {
  Model& model = window_.Model();
  const ViewState& view = window_.View();
  GlViewportWidget& widget = window_.ViewportWidget();
  const Ray ray =
      RayThrough(ScreenView::Of(widget.Camera(), widget.width(), widget.height()), at.x(), at.y());
  const auto hit = HitSurface(model, view.LevelIndex(), ray, view.BackFacesShown);
  if (!hit) {
    window_.Status("Place on Surface: no face under the pointer");
    return false;
  }
  Focus& focus = window_.Doc().focus();
  const bool glow = view.PropertyPanel == Panel::EngineGlow;
  std::optional<ItemRef> focused = glow ? focus.engineGlow : focus.hardpoint;
  const bool move = focused && (glow ? EngineGlowAt(model, *focused) != nullptr
                                     : HardpointAt(model, *focused) != nullptr);
  const int mesh = move ? focused->mesh : hit->mesh;
  const std::optional<int> item = move ? std::optional(focused->item) : std::nullopt;
  std::optional<ItemRef> placed;
  const QString what = glow ? "engine glow" : "hardpoint";
  if (!window_.Edit("Place " + what,
                    [&](Model& m) {
                      placed = glow ? PlaceEngineGlow(m, mesh, view.LevelIndex(), item, hit->point,
                                                      hit->normal)
                                    : PlaceHardpoint(m, mesh, item, hit->point);
                      // Its mesh is selected, so that the panel's list shows it.
                      MeshRec& owner = m.Meshes.Edit(static_cast<std::size_t>(mesh));
                      if (owner.HasLevel(view.LevelIndex()))
                        owner.LODs[static_cast<std::size_t>(view.LevelIndex())].Selected = kTrue;
                    }) ||
      !placed)
    return false;
  (glow ? focus.engineGlow : focus.hardpoint) = placed;
  focus.mesh = mesh;
  window_.SelectionChanged(true);
  window_.Status(QString(move ? "Moved" : "Placed") + " " + what + " " +
                 QString::number(placed->item + 1) + " of \"" +
                 QString::fromStdString(model.Meshes[static_cast<std::size_t>(mesh)].Name) +
                 "\" at " + Point(hit->point));
  return true;
}

void ShapingCommands::MirrorToOtherSide() {
  Model& model = window_.Model();
  const EditTarget target = TargetOf(window_.View(), window_.Doc().focus(), model);
  if (target.kind != TargetKind::Hardpoint && target.kind != TargetKind::EngineGlow)
    return window_.Status(
        "Mirror to Other Side: choose a hardpoint or an engine glow in its panel first");
  const bool glow = target.kind == TargetKind::EngineGlow;
  std::optional<ItemRef> copy;
  if (!window_.Edit(glow ? "Mirror engine glow" : "Mirror hardpoint",
                    [&](Model& m) {
                      copy =
                          glow ? MirrorEngineGlow(m, target.item) : MirrorHardpoint(m, target.item);
                    }) ||
      !copy)
    return;
  (glow ? window_.Doc().focus().engineGlow : window_.Doc().focus().hardpoint) = copy;
  window_.SelectionChanged(true);
  window_.Status(QString("Mirrored %1 across x = %2")
                     .arg(glow ? "the engine glow" : "the hardpoint")
                     .arg(QString::fromStdString(FormatSingle(model.ModelCenter.x))));
}

}  // namespace tamsel
