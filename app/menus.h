// The menu bar: File, Calculate, Fix, Options (with Colors) and Info. Menus and items carry
// their control names as object names.
#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenuBar;

namespace tamsel {

using MenuItems = QHash<QString, QAction*>;

MenuItems BuildMenus(QMenuBar* bar);

// The twelve colour items of Options > Colors, in menu order.
struct ColorMenuItem {
  const char* name;
  const char* caption;
};
inline constexpr ColorMenuItem kColorMenuItems[12] = {
    {"primaryselecttexmenu", "Primary Select (Textured)"},
    {"primaryselectwiremenu", "Primary Select (Wire)"},
    {"secondaryselecttexmenu", "Secondary Select (Textured)"},
    {"secondaryselectwiremenu", "Secondary Select (Wire)"},
    {"normalcolormenu", "Normals"},
    {"softvector1colormenu", "Software Vectors (1)"},
    {"softvector2colormenu", "Software Vectors (2)"},
    {"hitzonemeshcolormenu", "Hitzones (Mesh)"},
    {"hitzonetargetcolormenu", "Hitzones (Target)"},
    {"rotationaxiscolormenu", "Rotations (Rotate)"},
    {"rotationaimcolormenu", "Rotations (Translate)"},
    {"rotationdegreecolormenu", "Rotations (Scale)"},
};

}  // namespace tamsel
