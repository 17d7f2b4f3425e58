#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QToolButton>
#include <filesystem>

#include <QToolButton>
#include "app/panels/property_panels.h"
#include "app/row_list.h"
#include "gui/window_fixture.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"

namespace tamsel::test {
namespace {

TEST_F(WindowTest, CaptionAndStartValues) {
  EXPECT_EQ(window->windowTitle(), "Tamsel v0.4");
  EXPECT_EQ(window->objectName(), "tamsel");
  EXPECT_EQ(window->Model().StartFolder, std::filesystem::current_path().string());
  EXPECT_EQ(window->Model().Ids.NextMeshId, 1000);
  EXPECT_EQ(window->Model().Ids.NextFaceId, 2000);
  EXPECT_EQ(window->Model().Ids.NextVertexId, 20000);
  EXPECT_EQ(window->Model().NormalLength, 30.0);
  EXPECT_EQ(window->Model().ViewExtent, 10.0);  // set by InitGL
  const ViewState& v = window->View();
  EXPECT_EQ(v.DisplayMode, Display::Wire);
  EXPECT_EQ(v.GeometryLevel, Geometry::Mesh);
  EXPECT_EQ(v.CurrentLOD, Detail::High);
  EXPECT_EQ(v.NormalsShown, true);
  EXPECT_EQ(v.PropertyPanel, Panel::Geometry);
  EXPECT_EQ(v.GeometrySubPanel, GeometrySub::Face);
  EXPECT_EQ(v.TextureSubPanel, TextureSub::Transparency);
  EXPECT_EQ(v.FlightGroupColor, 0);
  EXPECT_EQ(window->Colors().SecondarySelectTexColor, (ColorTriple{127, 127, 229}));
}

TEST_F(WindowTest, MenusHaveTheirCaptionsAndOnlyNewAndOpenAreEnabledAtStart) {
  struct Expect {
    const char* name;
    const char* caption;
    bool enabled;
  };
  // Title case, a mnemonic each, and "…" where a dialog follows.
  const Expect items[] = {{"opznewmenu", "&New .OPZ…", true},
                          {"opzopenmenu", "&Open .OPZ…", true},
                          {"saveopzmenu", "&Save .OPZ", false},
                          {"saveasopzmenu", "Save .OPZ &As…", false},
                          {"optimportmenu", "Import .OP&T…", false},
                          {"dxfimportmenu", "Import .&DXF…", false},
                          {"threedsimportmenu", "Import &Model…", false},
                          {"opzimportmenu", "Import .OP&Z…", false},
                          {"optcreatemenu", "&Create .OPT…", false},
                          {"exportmodelmenu", "&Export Model…", false},
                          {"facenormalmenu", "&Face Normals", true},
                          {"vertexnormalmenu", "&Vertex Normals", true},
                          {"hitzonemenu", "&Hitzones", true},
                          {"rotationmenu", "&Rotations", true},
                          {"texturecoordinatemenu", "&Texture Coordinates", true},
                          {"softwarevectormenu", "&Software Vectors", true},
                          {"vertexordermenu", "&Vertex Order", true},
                          {"quad2trimenu", "&Quad2Tri", true},
                          {"tri2quadmenu", "&Tri2Quad", true},
                          {"duplicatemenu", "&Duplicate", true},
                          {"pastemenu", "&Paste", false},
                          {"newboxmenu", "New &Box…", false},
                          {"mergemeshesmenu", "&Merge Meshes", true},
                          {"primaryselecttexmenu", "Primary Select (Textured)…", true},
                          {"rotationdegreecolormenu", "Rotations (Scale)…", true},
                          {"facecountmenu", "&Face Count", true},
                          {"shortcutsmenu", "&Keyboard Shortcuts", true},
                          {"aboutmenu", "&About Tamsel", true}};
  for (const Expect& e : items) {
    QAction* action = Action(e.name);
    ASSERT_NE(action, nullptr) << e.name;
    EXPECT_EQ(action->text(), e.caption) << e.name;
    EXPECT_EQ(action->isEnabled(), e.enabled) << e.name;
  }
  QStringList menus;
  for (QAction* a : window->menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&View", "&Mesh", "&Calculate", "Fi&x",
                                "&Options", "&Info", "&Help"}));
  // Every item of a menu has its own mnemonic.
  for (QMenu* menu : window->menuBar()->findChildren<QMenu*>()) {
    QSet<QChar> keys;
    for (QAction* a : menu->actions()) {
      const auto amp = a->text().indexOf('&');
      if (a->isSeparator() || menu->objectName() == "colormenu" ||
          menu->objectName() == "editmenu" || menu->objectName() == "recentmenu" ||
          menu->objectName() == "viewmenu")
        continue;
      ASSERT_GE(amp, 0) << a->text().toStdString();
      const QChar key = a->text().at(amp + 1).toLower();
      EXPECT_FALSE(keys.contains(key)) << a->text().toStdString();
      keys.insert(key);
    }
  }
  auto* colors = Find<QMenu>("colormenu");
  ASSERT_NE(colors, nullptr);
  EXPECT_EQ(colors->title(), "&Colors");
  QStringList colorItems;
  for (QAction* a : colors->actions()) colorItems << a->text();
  EXPECT_EQ(colorItems,
            (QStringList{"Primary Select (Textured)…", "Primary Select (Wire)…",
                         "Secondary Select (Textured)…", "Secondary Select (Wire)…", "Normals…",
                         "Software Vectors (1)…", "Software Vectors (2)…", "Hitzones (Mesh)…",
                         "Hitzones (Target)…", "Rotations (Rotate)…", "Rotations (Translate)…",
                         "Rotations (Scale)…"}));
  QStringList fileItems;
  for (QAction* a : Find<QMenu>("filemenu")->actions()) fileItems << a->objectName();
  EXPECT_EQ(fileItems,
            (QStringList{"opznewmenu", "opzopenmenu", "recentmenu", "", "saveopzmenu",
                         "saveasopzmenu", "", "optimportmenu", "dxfimportmenu", "threedsimportmenu",
                         "opzimportmenu", "", "optcreatemenu", "exportmodelmenu", "", "quitmenu"}));
}

TEST_F(WindowTest, EveryNamedControlExistsWithItsKind) {
  const char* texts[] = {"Xvertextext",
                         "Yvertextext",
                         "Zvertextext",
                         "Ivertnormtext",
                         "Jvertnormtext",
                         "Kvertnormtext",
                         "Ucoordtext",
                         "Vcoordtext",
                         "Xmeshtext",
                         "Ymeshtext",
                         "Zmeshtext",
                         "Xmeshangletext",
                         "Ymeshangletext",
                         "Zmeshangletext",
                         "meshsizetext",
                         "meshloddisttext",
                         "Xfacetext",
                         "Yfacetext",
                         "Zfacetext",
                         "Xfaceangletext",
                         "Yfaceangletext",
                         "Zfaceangletext",
                         "facesizetext",
                         "Ifacenormtext",
                         "Jfacenormtext",
                         "Kfacenormtext",
                         "X1vectortext",
                         "Y1vectortext",
                         "Z1vectortext",
                         "X2vectortext",
                         "Y2vectortext",
                         "Z2vectortext",
                         "transtinttext",
                         "illumtinttext",
                         "transopacitytext",
                         "illumbrightnesstext",
                         "transcolortolerancetext",
                         "illumcolortolerancetext",
                         "targetidtext",
                         "Xspantext",
                         "Yspantext",
                         "Zspantext",
                         "Xcentertext",
                         "Ycentertext",
                         "Zcentertext",
                         "Xmintext",
                         "Ymintext",
                         "Zmintext",
                         "Xmaxtext",
                         "Ymaxtext",
                         "Zmaxtext",
                         "Xtargettext",
                         "Ytargettext",
                         "Ztargettext",
                         "Xpivottext",
                         "Ypivottext",
                         "Zpivottext",
                         "Xaxistext",
                         "Yaxistext",
                         "Zaxistext",
                         "Xaimtext",
                         "Yaimtext",
                         "Zaimtext",
                         "Xdegreetext",
                         "Ydegreetext",
                         "Zdegreetext",
                         "Xhptext",
                         "Yhptext",
                         "Zhptext",
                         "Reginnertext",
                         "Geginnertext",
                         "Beginnertext",
                         "Aeginnertext",
                         "Regoutertext",
                         "Gegoutertext",
                         "Begoutertext",
                         "Aegoutertext",
                         "Xegtext",
                         "Yegtext",
                         "Zegtext",
                         "Widthegtext",
                         "Heightegtext",
                         "Lengthegtext",
                         "Adensity1egtext",
                         "Bdensity1egtext",
                         "Cdensity1egtext",
                         "Adensity2egtext",
                         "Bdensity2egtext",
                         "Cdensity2egtext",
                         "Adensity3egtext",
                         "Bdensity3egtext",
                         "Cdensity3egtext",
                         "focustaker"};
  for (const char* name : texts) EXPECT_NE(Find<QLineEdit>(name), nullptr) << name;
  const char* lists[] = {"meshlist",          "facelist",         "Xvertexlist",
                         "Yvertexlist",       "Zvertexlist",      "Ivertnormlist",
                         "Jvertnormlist",     "Kvertnormlist",    "Ucoordlist",
                         "Vcoordlist",        "texturelist",      "transtexturelist",
                         "illumtexturelist",  "transredtintlist", "transgreentintlist",
                         "transbluetintlist", "illumredtintlist", "illumgreentintlist",
                         "illumbluetintlist", "hardpointlist",    "engineglowlist"};
  for (const char* name : lists) EXPECT_NE(Find<RowList>(name), nullptr) << name;
  const char* buttons[] = {
      "updategeogeobut",  "meshdeletebut",    "lodassignmentbut",  "smartstitchbut",
      "frontstitchbut",   "topstitchbut",     "sidestitchbut",     "updategeotexbut",
      "transremovecolor", "illumremovecolor", "updatetextransbut", "updatetexillumbut",
      "updatehitbut",     "updaterotbut",     "hpaddbut",          "hpdeletebut",
      "hpsetfacebut",     "hpsetvertexbut",   "updatehpbut",       "egaddbut",
      "egsetfacebut",     "egdeletebut",      "updateegbut"};
  for (const char* name : buttons) EXPECT_NE(Find<QPushButton>(name), nullptr) << name;
  for (const char* name : {"texccrotatebut", "texcrotatebut", "texhflipbut", "texvflipbut"})
    EXPECT_NE(Find<QToolButton>(name), nullptr) << name;
  for (const char* name :
       {"geometryframe", "textureframe", "hitzoneframe", "rotationframe", "hardpointframe",
        "engineglowframe", "viewopframe", "geometrysubframe", "texturesubframe", "transsubframe",
        "illumsubframe", "fgframe", "stitchframe", "rotationanimframe"})
    EXPECT_NE(Find<QGroupBox>(name), nullptr) << name;
  for (const char* name : {"redfgsel", "yellowfgsel", "bluefgsel", "greenfgsel", "fgonop",
                           "fgoffop", "rotateop", "panop"})
    EXPECT_NE(Find<QRadioButton>(name), nullptr) << name;
  for (const char* name : {"rotanimaxis", "rotanimaim", "rotanimdegree"})
    EXPECT_NE(Find<QCheckBox>(name), nullptr) << name;
  for (const char* name :
       {"textureviewer", "texturepreview", "transtextureviewer", "illumtextureviewer",
        "transtintdisplay", "illumtintdisplay", "transopacitydisplay", "illumbrightnessdisplay",
        "eginnerdisplay", "egouterdisplay", "renderscreen"})
    EXPECT_NE(Find(name), nullptr) << name;
}

TEST_F(WindowTest, CaptionsTipsAndStartValuesOfThePanelControls) {
  EXPECT_EQ(Find<QPushButton>("updategeogeobut")->text(), "UPDATE");
  EXPECT_EQ(Find<QPushButton>("lodassignmentbut")->text(), "Assign LOD");
  EXPECT_EQ(Find<QPushButton>("transremovecolor")->text(), "Remove selected");
  EXPECT_EQ(Find<QPushButton>("hpsetvertexbut")->text(), "Set to Vertex");
  EXPECT_EQ(Find<QPushButton>("egaddbut")->text(), "Add EG");
  EXPECT_EQ(Find<QPushButton>("frontstitchbut")->text(), "Front/Back");
  EXPECT_FALSE(Find<QPushButton>("smartstitchbut")->isEnabled());
  EXPECT_EQ(Find<QGroupBox>("hardpointframe")->title(), "Hardpoint");
  EXPECT_EQ(Find<QGroupBox>("engineglowframe")->title(), "Engine Glow");
  EXPECT_EQ(Find<QGroupBox>("fgframe")->title(), "FG Color");
  EXPECT_EQ(Find<QGroupBox>("rotationanimframe")->title(), "Animate");
  EXPECT_EQ(Find<QCheckBox>("rotanimaim")->text(), "Translation");
  EXPECT_EQ(Find<QLineEdit>("meshloddisttext")->toolTip(), "cloaking distance (km)");
  EXPECT_EQ(Find<QLineEdit>("Ymeshtext")->toolTip(), "mesh translation Y");
  EXPECT_EQ(Find<QLineEdit>("Z2vectortext")->toolTip(), "Z2 software vector");
  EXPECT_EQ(Find<QLineEdit>("Xaxistext")->toolTip(), "X rotation");
  EXPECT_EQ(Find<QLineEdit>("Cdensity2egtext")->toolTip(), "density 2C");
  EXPECT_EQ(Find<QLineEdit>("Aegoutertext")->toolTip(), "outer A");
  EXPECT_EQ(Find<RowList>("Ucoordlist")->toolTip(), "U texture vertex coords");
  EXPECT_TRUE(Find<QRadioButton>("redfgsel")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("fgoffop")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>("rotateop")->isChecked());

  auto* meshTypes = Find<QComboBox>("meshtypetext");
  ASSERT_EQ(meshTypes->count(), 32);
  EXPECT_EQ(meshTypes->itemText(0), "0- Default");
  EXPECT_EQ(meshTypes->itemText(7), "Bridge");
  EXPECT_EQ(meshTypes->itemText(31), "Custom6");
  auto* explosions = Find<QComboBox>("exptypetext");
  ASSERT_EQ(explosions->count(), 11);
  EXPECT_EQ(explosions->itemText(10), "10-BreakAndExplode4");
  auto* hardpoints = Find<QComboBox>("hardpointtypetext");
  ASSERT_EQ(hardpoints->count(), 32);
  EXPECT_EQ(hardpoints->itemText(0), "NONE ");
  EXPECT_EQ(hardpoints->itemText(31), "COCKPIT ");

  const struct {
    const char* name;
    int min, max, value;
  } bars[] = {{"transopacitybar", 0, 255, 0},
              {"illumbrightnessbar", 1, 16, 8},
              {"transcolortolerancebar", 0, 255, 32},
              {"illumcolortolerancebar", 0, 255, 32}};
  for (const auto& b : bars) {
    auto* bar = Find<QScrollBar>(b.name);
    ASSERT_NE(bar, nullptr) << b.name;
    EXPECT_EQ(bar->minimum(), b.min) << b.name;
    EXPECT_EQ(bar->maximum(), b.max) << b.name;
    EXPECT_EQ(bar->value(), b.value) << b.name;
  }
}

TEST_F(WindowTest, ToolBarsHaveTheirButtonsTipsGroupsAndStartStates) {
  const auto names = [&](const char* bar) {
    std::vector<std::string> out;
    for (QToolButton* b : ButtonsOf(bar)) out.push_back(b->objectName().toStdString());
    return out;
  };
  EXPECT_EQ(names("viewtoolbar"),
            (std::vector<std::string>{"viewbar_perspective", "viewbar_top", "viewbar_right",
                                      "viewbar_front", "viewbar_fit"}));
  EXPECT_TRUE(Button("viewbar_top")->toolTip().startsWith("Top"))
      << Button("viewbar_top")->toolTip().toStdString();
  EXPECT_TRUE(Button("viewbar_fit")->toolTip().endsWith("(F)"));  // says its shortcut

  const struct {
    const char* name;
    const char* tip;
    bool pressed;
  } display[] = {{"dispbar_high_level", "High Level", true},
                 {"dispbar_low_level", "Low Level", false},
                 {"dispbar_mesh", "Mesh", true},
                 {"dispbar_face", "Face", false},
                 {"dispbar_vertex", "Vertex", false},
                 {"dispbar_wireframe", "Wireframe", true},
                 {"dispbar_texture", "Texture", false},
                 {"dispbar_no_norm", "Hide Normals", false},
                 {"dispbar_norm", "Show Normals", true}};
  std::vector<std::string> expected;
  for (const auto& b : display) {
    expected.push_back(b.name);
    EXPECT_TRUE(Button(b.name)->toolTip().startsWith(b.tip)) << b.name;
    EXPECT_EQ(Button(b.name)->isChecked(), b.pressed) << b.name;
  }
  EXPECT_EQ(names("displaytoolbar"), expected);
  EXPECT_EQ(names("propbar"),
            (std::vector<std::string>{
                "propbar_geometry", "propbar_texture", "propbar_hitzone", "propbar_rotation",
                "propbar_hardpoint", "propbar_engine_glow", "propbar_subgeometry",
                "propbar_subtexture", "propbar_subtransparency", "propbar_subillumination"}));
  EXPECT_TRUE(Action("propbar_geometry")->isChecked());
  EXPECT_TRUE(Action("propbar_subgeometry")->isChecked());
  EXPECT_TRUE(Action("propbar_subgeometry")->isVisible());
  EXPECT_TRUE(Action("propbar_subtexture")->isVisible());
  EXPECT_FALSE(Action("propbar_subtransparency")->isVisible());
  EXPECT_FALSE(Action("propbar_subillumination")->isVisible());
  EXPECT_FALSE(Action("propbar_subtexture")->isEnabled());  // meshes have no texture sub-frame

  // The groups are exclusive, and a click on the pressed button keeps it pressed.
  Button("dispbar_face")->click();
  EXPECT_TRUE(Button("dispbar_face")->isChecked());
  EXPECT_FALSE(Button("dispbar_mesh")->isChecked());
  EXPECT_TRUE(Button("dispbar_high_level")->isChecked()) << "another group changed";
  Button("dispbar_face")->click();
  EXPECT_TRUE(Button("dispbar_face")->isChecked());
}

TEST_F(WindowTest, OnlyTheGeometryFrameAndTheMeshControlsShowAtStart) {
  EXPECT_TRUE(Find("geometryframe")->isVisible());
  for (const char* name :
       {"textureframe", "hitzoneframe", "rotationframe", "hardpointframe", "engineglowframe"})
    EXPECT_FALSE(Find(name)->isVisible()) << name;
  EXPECT_TRUE(Find("geometrysubframe")->isVisible());
  EXPECT_TRUE(Find("meshlist")->isVisible());
  EXPECT_TRUE(Find("meshloddisttext")->isVisible());
  EXPECT_FALSE(Find("facelist")->isVisible());
  EXPECT_FALSE(Find("Xvertexlist")->isVisible());

  window->Panels().ShowFrames(false);
  EXPECT_FALSE(Find("geometryframe")->isVisible());
  window->Panels().BringToFront(Find("hitzoneframe"));
  EXPECT_FALSE(Find("hitzoneframe")->isVisible());
  window->Panels().ShowFrames(true);
  EXPECT_TRUE(Find("hitzoneframe")->isVisible());
  EXPECT_FALSE(Find("geometryframe")->isVisible());
}

TEST_F(WindowTest, ArrowsReachTheViewportButStayInATextBox) {
  QTest::mouseClick(Find<QRadioButton>("panop"), Qt::LeftButton);
  const Camera& camera = window->ViewportWidget().Camera();
  auto* taker = Find<QLineEdit>("focustaker");
  taker->setFocus();
  const auto before = camera.PanOffset();
  QTest::keyClick(taker, Qt::Key_Left);
  EXPECT_NE(camera.PanOffset(), before);
  // What is typed into a panel box stays there: its cursor moves, not the view.
  auto* box = Find<QLineEdit>("meshsizetext");
  box->setFocus();
  const auto moved = camera.PanOffset();
  QTest::keyClick(box, Qt::Key_Left);
  EXPECT_EQ(camera.PanOffset(), moved);
}

}  // namespace
}  // namespace tamsel::test
