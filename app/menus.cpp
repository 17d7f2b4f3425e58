#include "app/menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include "app/craft_commands.h"
#include "app/project_commands.h"
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
         [](W& w) { w.Shell().FindFaceByName(); }}}},
      {"viewmenu", "&View", &MenuActions::view, {}},
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
         [](W& w) { w.Commands().SplitQuadsIntoTriangles(); }}}},
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
  return actions;
}

}  // namespace tamsel
