#include "app/menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace tamsel {
namespace {

struct Item {
  const char* name;
  const char* caption;
};

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption, MenuItems& items,
               std::initializer_list<Item> entries) {
  QMenu* menu = bar->addMenu(caption);
  menu->setObjectName(name);
  for (const Item& entry : entries) {
    QAction* action = menu->addAction(entry.caption);
    action->setObjectName(entry.name);
    items.insert(entry.name, action);
  }
  return menu;
}

}  // namespace

MenuItems BuildMenus(QMenuBar* bar) {
  MenuItems items;
  AddMenu(bar, "filemenu", "&File", items,
          {{"opznewmenu", "&New .OPZ…"},
           {"opzopenmenu", "&Open .OPZ…"},
           {"saveopzmenu", "&Save .OPZ"},
           {"saveasopzmenu", "Save .OPZ &As…"},
           {"optimportmenu", "Import .OP&T…"},
           {"dxfimportmenu", "Import .&DXF…"},
           {"threedsimportmenu", "Import &Model…"},
           {"opzimportmenu", "Import .OP&Z…"},
           {"optcreatemenu", "&Create .OPT…"},
           {"exportmodelmenu", "&Export Model…"}});
  QMenu* file = bar->findChild<QMenu*>("filemenu");
  QMenu* recent = new QMenu("Recent &Projects", file);
  recent->setObjectName("recentmenu");
  recent->menuAction()->setObjectName("recentmenu");
  file->insertMenu(items.value("saveopzmenu"), recent);
  file->insertSeparator(items.value("saveopzmenu"));
  file->insertSeparator(items.value("optimportmenu"));
  file->insertSeparator(items.value("optcreatemenu"));
  file->addSeparator();
  QAction* quit = file->addAction("&Quit");
  quit->setObjectName("quitmenu");
  items.insert("quitmenu", quit);
  AddMenu(bar, "editmenu", "&Edit", items,
          {{"editundomenu", "Undo"},
           {"editredomenu", "Redo"},
           {"selectallmenu", "Select &All"},
           {"selectnonemenu", "Select &None"},
           {"invertselectionmenu", "&Invert Selection"},
           {"findfacemenu", "&Find Face…"}});
  AddMenu(bar, "viewmenu", "&View", items, {});
  AddMenu(bar, "calculatemenu", "&Calculate", items,
          {{"facenormalmenu", "&Face Normals"},
           {"vertexnormalmenu", "&Vertex Normals"},
           {"hitzonemenu", "&Hitzones"},
           {"rotationmenu", "&Rotations"},
           {"texturecoordinatemenu", "&Texture Coordinates"},
           {"softwarevectormenu", "&Software Vectors"}});
  AddMenu(bar, "fixmenu", "Fi&x", items,
          {{"vertexordermenu", "&Vertex Order"}, {"quad2trimenu", "&Quad2Tri"}});
  QMenu* options = AddMenu(bar, "optionmenu", "&Options", items, {});
  QMenu* colors = options->addMenu("&Colors");
  colors->setObjectName("colormenu");
  for (const ColorMenuItem& entry : kColorMenuItems) {
    QAction* action = colors->addAction(QString(entry.caption) + "…");
    action->setObjectName(entry.name);
    items.insert(entry.name, action);
  }
  QAction* modelling = options->addAction("&Modelling Tool Navigation");
  modelling->setObjectName("modellingnavmenu");
  modelling->setCheckable(true);
  modelling->setStatusTip(
      "Middle-drag turns, Shift+middle-drag pans, Ctrl+middle-drag zooms, a left click picks");
  items.insert("modellingnavmenu", modelling);
  AddMenu(bar, "infomenu", "&Info", items, {{"facecountmenu", "&Face Count"}});
  AddMenu(bar, "helpmenu", "&Help", items,
          {{"shortcutsmenu", "&Keyboard Shortcuts"}, {"aboutmenu", "&About Tamsel"}});
  items.value("opznewmenu")->setShortcut(QKeySequence::New);
  items.value("opzopenmenu")->setShortcut(QKeySequence::Open);
  items.value("saveopzmenu")->setShortcut(QKeySequence::Save);
  items.value("saveasopzmenu")->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  items.value("quitmenu")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  items.value("editundomenu")->setShortcut(QKeySequence::Undo);
  items.value("editredomenu")
      ->setShortcuts(
          {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  items.value("shortcutsmenu")->setShortcut(QKeySequence::HelpContents);
  // Of the meshes, faces or corners of the level being edited; a text box with the keyboard
  // keeps Ctrl+A for its own text.
  items.value("selectallmenu")->setShortcut(QKeySequence::SelectAll);
  items.value("selectnonemenu")->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  items.value("invertselectionmenu")->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
  items.value("findfacemenu")->setShortcut(QKeySequence::Find);
  items.value("editundomenu")->setEnabled(false);
  items.value("editredomenu")->setEnabled(false);
  return items;
}

}  // namespace tamsel
