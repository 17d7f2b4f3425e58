#include "app/menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/craft_commands.h"
#include "app/direct_shaping.h"
#include "app/project_commands.h"
#include "app/shaping_commands.h"
#include "app/tamsel_window.h"
#include "app/viewport_link.h"
#include "app/window_shell.h"

namespace tamsel {
namespace {

// One action of a menu; an entry without a field is a separator.
struct Entry {
  QAction* MenuActions::*field = nullptr;
  const char* name = nullptr;
  const char* caption = nullptr;
  QList<QKeySequence> keys;
  void (*run)(TamselWindow&) = nullptr;
  const char* tip = nullptr;
};

struct Menu {
  const char* name;
  const char* caption;
  QMenu* MenuActions::*field;
  std::vector<Entry> entries;
  // Builds what plain entries cannot say: submenus, checkable items.
  void (*fill)(QMenu*, MenuActions&, TamselWindow&) = nullptr;
};

void BuildOptions(QMenu* options, MenuActions& actions, TamselWindow& window);
void BuildEditModes(QMenu* edit, MenuActions& actions, TamselWindow& window);

const Entry kSeparator{};
// Where the recent projects' submenu goes.
const Entry kRecentProjects = [] {
  Entry entry;
  entry.name = "recentmenu";
  return entry;
}();

std::vector<Menu> Menus() {
  using W = TamselWindow;
  return {
      {"filemenu",
       "&File",
       nullptr,
       {{&MenuActions::newProject,
         "opznewmenu",
         "&New .OPZ…",
         {QKeySequence::New},
         [](W& w) { w.Files().NewProject(); }},
        {&MenuActions::openProject,
         "opzopenmenu",
         "&Open .OPZ…",
         {QKeySequence::Open},
         [](W& w) { w.Files().OpenProject(); }},
        kRecentProjects,
        kSeparator,
        {&MenuActions::saveProject,
         "saveopzmenu",
         "&Save .OPZ",
         {QKeySequence::Save},
         [](W& w) { w.Files().SaveProject(); }},
        {&MenuActions::saveProjectAs,
         "saveasopzmenu",
         "Save .OPZ &As…",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
         [](W& w) { w.Files().SaveProjectAs(); }},
        kSeparator,
        {&MenuActions::importOpt,
         "optimportmenu",
         "Import .OP&T…",
         {},
         [](W& w) { w.Files().ImportOpt(); }},
        {&MenuActions::importDxf,
         "dxfimportmenu",
         "Import .&DXF…",
         {},
         [](W& w) { w.Files().ImportDxf(); }},
        {&MenuActions::importModel,
         "threedsimportmenu",
         "Import &Model…",
         {},
         [](W& w) { w.Files().ImportModel(); }},
        {&MenuActions::importOpz,
         "opzimportmenu",
         "Import .OP&Z…",
         {},
         [](W& w) { w.Files().ImportOpz(); }},
        kSeparator,
        {&MenuActions::writeOpt,
         "optcreatemenu",
         "&Create .OPT…",
         {},
         [](W& w) { w.Files().WriteOpt(); }},
        {&MenuActions::exportModel,
         "exportmodelmenu",
         "&Export Model…",
         {},
         [](W& w) { w.Files().ExportModel(); }},
        kSeparator,
        {&MenuActions::quit,
         "quitmenu",
         "&Quit",
         {QKeySequence(Qt::CTRL | Qt::Key_Q)},
         [](W& w) { w.close(); }}}},
      {"editmenu",
       "&Edit",
       nullptr,
       {{&MenuActions::undo,
         "editundomenu",
         "Undo",
         {QKeySequence::Undo},
         [](W& w) { w.Shell().UndoLastStep(); }},
        {&MenuActions::redo,
         "editredomenu",
         "Redo",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
         [](W& w) { w.Shell().RedoNextStep(); }},
        // Of the meshes, faces or corners of the level being edited; a text box with the
        // keyboard keeps Ctrl+A for its own text.
        {&MenuActions::selectAll,
         "selectallmenu",
         "Select &All",
         {QKeySequence::SelectAll},
         [](W& w) { w.Commands().SelectEverything(); }},
        {&MenuActions::selectNone,
         "selectnonemenu",
         "Select &None",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)},
         [](W& w) { w.Commands().SelectNothing(); }},
        {&MenuActions::invertSelection,
         "invertselectionmenu",
         "&Invert Selection",
         {QKeySequence(Qt::CTRL | Qt::Key_I)},
         [](W& w) { w.Commands().InvertTheSelection(); }},
        {&MenuActions::findFace,
         "findfacemenu",
         "&Find Face…",
         {QKeySequence::Find},
         [](W& w) { w.Shell().FindFaceByName(); }},
        kSeparator,
        // Of the selection at the level being edited, or the hardpoint or engine glow in
        // focus while its panel shows; a text box with the keyboard keeps these keys.
        {&MenuActions::cut,
         "cutmenu",
         "Cu&t",
         {QKeySequence::Cut},
         [](W& w) { w.Shaping().Cut(); }},
        {&MenuActions::copy,
         "copymenu",
         "&Copy",
         {QKeySequence::Copy},
         [](W& w) { w.Shaping().Copy(); }},
        {&MenuActions::paste,
         "pastemenu",
         "&Paste",
         {QKeySequence::Paste},
         [](W& w) { w.Shaping().Paste(); }},
        {&MenuActions::duplicate,
         "duplicatemenu",
         "&Duplicate",
         {QKeySequence(Qt::CTRL | Qt::Key_D)},
         [](W& w) { w.Shaping().Duplicate(); }},
        {&MenuActions::deleteSelection,
         "deletemenu",
         "De&lete",
         {QKeySequence::Delete},
         [](W& w) { w.Shaping().Delete(); }},
        kSeparator,
        {&MenuActions::moveSelection,
         "movemenu",
         "&Move",
         {QKeySequence(Qt::ALT | Qt::Key_G)},
         [](W& w) { w.Link().Shaping().Begin(TransformKind::Move, w.Link().PointerInViewport()); },
         "Move the selection with the pointer: X, Y, Z constrain, type an amount, Enter or a "
         "click commits, Esc or a right click cancels (G in the modelling tools' scheme)"},
        {&MenuActions::rotateSelection,
         "rotatemenu",
         "&Rotate",
         {QKeySequence(Qt::ALT | Qt::Key_R)},
         [](W& w) {
           w.Link().Shaping().Begin(TransformKind::Rotate, w.Link().PointerInViewport());
         },
         "Turn the selection with the pointer (R in the modelling tools' scheme)"},
        {&MenuActions::scaleSelection,
         "scalemenu",
         "&Scale",
         {QKeySequence(Qt::ALT | Qt::Key_S)},
         [](W& w) { w.Link().Shaping().Begin(TransformKind::Scale, w.Link().PointerInViewport()); },
         "Scale the selection with the pointer (S in the modelling tools' scheme)"},
        {&MenuActions::mirrorToOtherSide,
         "mirrorothersidemenu",
         "Mirror to &Other Side",
         {QKeySequence(Qt::CTRL | Qt::Key_M)},
         [](W& w) { w.Shaping().MirrorToOtherSide(); },
         "A copy of the hardpoint or engine glow across the craft's centre plane"}},
       &BuildEditModes},
      {"viewmenu", "&View", &MenuActions::view, {}},
      {"meshmenu",
       "&Mesh",
       nullptr,
       {{&MenuActions::newEmptyMesh,
         "newemptymeshmenu",
         "New &Empty Mesh",
         {},
         [](W& w) { w.Shaping().NewMeshOf(NewShape::Empty); }},
        {&MenuActions::newBox,
         "newboxmenu",
         "New &Box…",
         {QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_B)},
         [](W& w) { w.Shaping().NewMeshOf(NewShape::Box); },
         "A box at the pointer's point on the grid, with the first texture"},
        {&MenuActions::newCylinder,
         "newcylindermenu",
         "New &Cylinder…",
         {},
         [](W& w) { w.Shaping().NewMeshOf(NewShape::Cylinder); }},
        {&MenuActions::newPlane,
         "newplanemenu",
         "New &Plane…",
         {},
         [](W& w) { w.Shaping().NewMeshOf(NewShape::Plane); }},
        kSeparator,
        {&MenuActions::mergeMeshes,
         "mergemeshesmenu",
         "&Merge Meshes",
         {QKeySequence(Qt::CTRL | Qt::Key_J)},
         [](W& w) { w.Shaping().MergeSelectedMeshes(); },
         "The selected meshes into the first of them"},
        {&MenuActions::separateFaces,
         "separatefacesmenu",
         "&Separate Faces",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J)},
         [](W& w) { w.Shaping().SeparateSelectedFaces(); },
         "The selected faces into a new mesh"},
        {&MenuActions::moveMeshUp,
         "movemeshupmenu",
         "Move Mesh &Up",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Up)},
         [](W& w) { w.Shaping().MoveFocusedMesh(-1); }},
        {&MenuActions::moveMeshDown,
         "movemeshdownmenu",
         "Move Mesh &Down",
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Down)},
         [](W& w) { w.Shaping().MoveFocusedMesh(1); }},
        kSeparator,
        {&MenuActions::centreCraft,
         "centrecraftmenu",
         "Cen&tre Craft",
         {},
         [](W& w) { w.Shaping().CentreTheCraft(); },
         "Move everything so that the craft's box is centred on the origin"},
        {&MenuActions::scaleCraft,
         "scalecraftmenu",
         "Sc&ale Craft…",
         {},
         [](W& w) { w.Shaping().ScaleTheCraft(); },
         "Scale everything about the origin by a factor"}}},
      {"calculatemenu",
       "&Calculate",
       nullptr,
       {{&MenuActions::faceNormals,
         "facenormalmenu",
         "&Face Normals",
         {},
         [](W& w) { w.Commands().RecalculateFaceNormals(); }},
        {&MenuActions::vertexNormals,
         "vertexnormalmenu",
         "&Vertex Normals",
         {},
         [](W& w) { w.Commands().RecalculateVertexNormals(); }},
        {&MenuActions::vertexNormalsByAngle,
         "vertexnormalanglemenu",
         "Vertex Normals by &Angle…",
         {},
         [](W& w) { w.Commands().SmoothVertexNormalsByAngle(); },
         "Smooth shading where faces meet at a small angle, sharp edges where they meet at a "
         "larger one (the selected meshes, or every mesh)"},
        {&MenuActions::generateLowDetail,
         "generatelowdetailmenu",
         "Generate &Low Detail…",
         {},
         [](W& w) { w.Commands().GenerateLowDetail(); },
         "The low level of detail of the selected meshes (or every mesh) made from the high "
         "level: fewer faces, the same silhouette"},
        {&MenuActions::hitzones,
         "hitzonemenu",
         "&Hitzones",
         {},
         [](W& w) { w.Commands().RecalculateHitzones(); }},
        {&MenuActions::rotations,
         "rotationmenu",
         "&Rotations",
         {},
         [](W& w) { w.Commands().RecalculateRotations(); }},
        {&MenuActions::textureCoordinates,
         "texturecoordinatemenu",
         "&Texture Coordinates",
         {},
         [](W& w) { w.Commands().RecalculateTextureCoordinates(); }},
        {&MenuActions::softwareVectors,
         "softwarevectormenu",
         "&Software Vectors",
         {},
         [](W& w) { w.Commands().RecalculateSoftwareVectors(); }}}},
      {"fixmenu",
       "Fi&x",
       nullptr,
       {{&MenuActions::vertexOrder,
         "vertexordermenu",
         "&Vertex Order",
         {},
         [](W& w) { w.Commands().ReverseCornerOrder(); }},
        {&MenuActions::quad2Tri,
         "quad2trimenu",
         "&Quad2Tri",
         {},
         [](W& w) { w.Commands().SplitQuadsIntoTriangles(); }},
        {&MenuActions::tri2Quad,
         "tri2quadmenu",
         "&Tri2Quad",
         {},
         [](W& w) { w.Shaping().MergeTriangles(); },
         "Pairs of triangles that make a flat convex quad become that quad (the selected faces "
         "at the face level, else the whole craft)"}}},
      {"optionmenu", "&Options", nullptr, {}, &BuildOptions},
      {"infomenu",
       "&Info",
       nullptr,
       {{&MenuActions::faceCount,
         "facecountmenu",
         "&Face Count",
         {},
         [](W& w) { w.Commands().ShowFaceCount(); }}}},
      {"helpmenu",
       "&Help",
       nullptr,
       {{&MenuActions::shortcuts,
         "shortcutsmenu",
         "&Keyboard Shortcuts",
         {QKeySequence::HelpContents},
         [](W& w) { w.Shell().ShowShortcuts(); }},
        {&MenuActions::about,
         "aboutmenu",
         "&About Tamsel",
         {},
         [](W& w) { w.Shell().ShowAbout(); }}}},
  };
}

QAction* AddAction(QMenu* menu, const char* name, const QString& caption,
                   const QList<QKeySequence>& keys, const char* tip) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(name);
  if (!keys.isEmpty()) action->setShortcuts(keys);
  if (tip) action->setStatusTip(tip);
  return action;
}

// The Edit menu's modes: placing features by clicking, and the gizmo shown.
void BuildEditModes(QMenu* edit, MenuActions& actions, TamselWindow& window) {
  edit->addSeparator();
  QAction* place =
      AddAction(edit, "placeonsurfacemenu", "Place on &Surface",
                {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)},
                "A left click on the model puts a hardpoint (an engine glow while its panel "
                "shows) on the face under the pointer");
  place->setCheckable(true);
  QObject::connect(place, &QAction::toggled, &window,
                   [&window](bool on) { window.Shaping().SetPlaceOnSurface(on); });
  actions.placeOnSurface = place;
  QAction* gizmo = AddAction(edit, "showgizmomenu", "Transform &Gizmo", {},
                             "Arrows, planes, rings and handles at the selection's centre: drag "
                             "to move, turn or scale; Ctrl snaps, a typed number sets the amount");
  gizmo->setCheckable(true);
  gizmo->setChecked(true);
  QObject::connect(gizmo, &QAction::toggled, &window,
                   [&window](bool on) { window.Link().Shaping().SetGizmoShown(on); });
  actions.showGizmo = gizmo;
}

// Options: the colours, each with its dialog, and the navigation scheme.
void BuildOptions(QMenu* options, MenuActions& actions, TamselWindow& window) {
  QMenu* colors = options->addMenu("&Colors");
  colors->setObjectName("colormenu");
  for (std::size_t i = 0; i < kColorMenuItemCount; ++i) {
    const ColorMenuItem& item = kColorMenuItems[i];
    QAction* action = AddAction(colors, item.name, QString(item.caption) + "…", {}, nullptr);
    actions.colors[i] = action;
    QObject::connect(action, &QAction::triggered, &window, [&window, setting = item.setting] {
      window.Commands().ChooseSettingColor(setting);
    });
  }
  QAction* modelling =
      AddAction(options, "modellingnavmenu", "&Modelling Tool Navigation", {},
                "Middle-drag turns, Shift+middle-drag pans, Ctrl+middle-drag zooms, a left click "
                "picks");
  modelling->setCheckable(true);
  QObject::connect(modelling, &QAction::toggled, &window,
                   [&window](bool on) { window.Link().SetModellingNavigation(on); });
  actions.modellingNavigation = modelling;
}

}  // namespace

MenuActions BuildMenus(QMenuBar* bar, TamselWindow& window) {
  MenuActions actions;
  for (const Menu& m : Menus()) {
    QMenu* menu = bar->addMenu(m.caption);
    menu->setObjectName(m.name);
    if (m.field) actions.*m.field = menu;
    for (const Entry& e : m.entries) {
      if (e.name && !e.field) {
        actions.recentProjects = new QMenu("Recent &Projects", menu);
        actions.recentProjects->setObjectName(e.name);
        actions.recentProjects->menuAction()->setObjectName(e.name);
        menu->addMenu(actions.recentProjects);
        continue;
      }
      if (!e.field) {
        menu->addSeparator();
        continue;
      }
      QAction* action = AddAction(menu, e.name, e.caption, e.keys, e.tip);
      actions.*e.field = action;
      QObject::connect(action, &QAction::triggered, &window,
                       [&window, run = e.run] { run(window); });
    }
    if (m.fill) m.fill(menu, actions, window);
  }
  actions.undo->setEnabled(false);
  actions.redo->setEnabled(false);
  for (QAction* a : actions.ImportsAndWriters()) a->setEnabled(false);
  for (QAction* a : actions.ProjectMakers()) a->setEnabled(false);
  return actions;
}

}  // namespace tamsel
