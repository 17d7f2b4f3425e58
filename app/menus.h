// The menu bar: File, Edit, View, Calculate, Fix, Options (with Colors), Info and Help. Every
// action is described once (object name, caption, shortcuts, tip, handler) and reached
// through its field of MenuActions, never by a string. Object names stay the controls'
// names, by which tests and automation find them.
#pragma once

#include <QList>
#include <array>
#include <vector>

#include "model/color_settings.h"

class QAction;
class QMenu;
class QMenuBar;

namespace tamsel {

class TamselWindow;

// The colour settings Options > Colors chooses, in menu order.
struct ColorMenuItem {
  const char* name;
  const char* caption;
  ColorTriple ColorSettings::*setting;
};
inline constexpr ColorMenuItem kColorMenuItems[] = {
    {"primaryselecttexmenu", "Primary Select (Textured)", &ColorSettings::PrimarySelectTexColor},
    {"primaryselectwiremenu", "Primary Select (Wire)", &ColorSettings::PrimarySelectWireColor},
    {"secondaryselecttexmenu", "Secondary Select (Textured)",
     &ColorSettings::SecondarySelectTexColor},
    {"secondaryselectwiremenu", "Secondary Select (Wire)",
     &ColorSettings::SecondarySelectWireColor},
    {"normalcolormenu", "Normals", &ColorSettings::NormalColor},
    {"softvector1colormenu", "Software Vectors (1)", &ColorSettings::SoftVector1Color},
    {"softvector2colormenu", "Software Vectors (2)", &ColorSettings::SoftVector2Color},
    {"hitzonemeshcolormenu", "Hitzones (Mesh)", &ColorSettings::HitzoneMeshColor},
    {"hitzonetargetcolormenu", "Hitzones (Target)", &ColorSettings::HitzoneTargetColor},
    {"rotationaxiscolormenu", "Rotations (Rotate)", &ColorSettings::RotationAxisColor},
    {"rotationaimcolormenu", "Rotations (Translate)", &ColorSettings::RotationAimColor},
    {"rotationdegreecolormenu", "Rotations (Scale)", &ColorSettings::RotationDegreeColor},
};
inline constexpr std::size_t kColorMenuItemCount = std::size(kColorMenuItems);

struct MenuActions {
  // File.
  QAction* newProject = nullptr;
  QAction* openProject = nullptr;
  QMenu* recentProjects = nullptr;
  QAction* saveProject = nullptr;
  QAction* saveProjectAs = nullptr;
  QAction* importOpt = nullptr;
  QAction* importDxf = nullptr;
  QAction* importModel = nullptr;
  QAction* importOpz = nullptr;
  QAction* writeOpt = nullptr;
  QAction* exportModel = nullptr;
  QAction* quit = nullptr;
  // Edit.
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  QAction* selectAll = nullptr;
  QAction* selectNone = nullptr;
  QAction* invertSelection = nullptr;
  QAction* findFace = nullptr;
  QAction* cut = nullptr;
  QAction* copy = nullptr;
  QAction* paste = nullptr;
  QAction* duplicate = nullptr;
  QAction* deleteSelection = nullptr;
  QAction* moveSelection = nullptr;
  QAction* rotateSelection = nullptr;
  QAction* scaleSelection = nullptr;
  QAction* placeOnSurface = nullptr;  // checkable
  QAction* mirrorToOtherSide = nullptr;
  QAction* showGizmo = nullptr;  // checkable
  // Mesh.
  QAction* newEmptyMesh = nullptr;
  QAction* newBox = nullptr;
  QAction* newCylinder = nullptr;
  QAction* newPlane = nullptr;
  QAction* mergeMeshes = nullptr;
  QAction* separateFaces = nullptr;
  QAction* moveMeshUp = nullptr;
  QAction* moveMeshDown = nullptr;
  QAction* centreCraft = nullptr;
  QAction* scaleCraft = nullptr;
  // View: filled by the window's shell and the view bars.
  QMenu* view = nullptr;
  // Calculate.
  QAction* faceNormals = nullptr;
  QAction* vertexNormals = nullptr;
  QAction* vertexNormalsByAngle = nullptr;
  QAction* generateLowDetail = nullptr;
  QAction* hitzones = nullptr;
  QAction* rotations = nullptr;
  QAction* textureCoordinates = nullptr;
  QAction* softwareVectors = nullptr;
  // Fix.
  QAction* vertexOrder = nullptr;
  QAction* quad2Tri = nullptr;
  QAction* tri2Quad = nullptr;
  // Options.
  std::array<QAction*, kColorMenuItemCount> colors{};
  QAction* modellingNavigation = nullptr;
  // Info and Help.
  QAction* faceCount = nullptr;
  QAction* shortcuts = nullptr;
  QAction* about = nullptr;

  // What reads into a project or writes from it: enabled while one is open.
  std::vector<QAction*> ImportsAndWriters() const {
    return {saveProject, writeOpt, exportModel, importOpt, importOpz, importDxf, importModel};
  }
  // What makes files or meshes in the project: enabled while one is open, too.
  std::vector<QAction*> ProjectMakers() const {
    return {paste, newEmptyMesh, newBox, newCylinder, newPlane};
  }
  // The imports alone, which also fill a project just made.
  std::vector<QAction*> Imports() const { return {importOpt, importOpz, importDxf, importModel}; }
};

// Builds the menu bar with every action connected to its handler on `window`; the window's
// parts are reached when an action runs, so they may be made after the menus.
MenuActions BuildMenus(QMenuBar* bar, TamselWindow& window);

}  // namespace tamsel
