#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <filesystem>

#include "app/project_commands.h"
#include "app/window_shell.h"
#include "gui/project_fixture.h"
#include "model/project.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"

namespace tamsel::test {
namespace {
namespace fs = std::filesystem;

class FeaturesTest : public ProjectTest {
 protected:
  void Click(const char* button) { QTest::mouseClick(Find<QWidget>(button), Qt::LeftButton); }
  void Type(const char* box, const QString& text) { Find<QLineEdit>(box)->setText(text); }
  const MeshRec& Mesh(int m) { return window->Model().Meshes[static_cast<std::size_t>(m)]; }
};

TEST_F(FeaturesTest, HardpointsAreAddedPlacedTypedAndDeleted) {
  Open();  // mesh 1 focused and selected
  Click("hpaddbut");
  Click("hpaddbut");
  ASSERT_EQ(L("hardpointlist")->ListCount(), 2);
  EXPECT_EQ(L("hardpointlist")->List(1), "M:1 HP:2");
  EXPECT_EQ(Text("Xhptext"), "10");  // the level's centre
  Press("face");
  ClickRow("facelist", 1);
  ClickRow("hardpointlist", 0);
  Click("hpsetfacebut");
  EXPECT_EQ(Mesh(0).Hardpoints[0].Position.x, 15.0f);
  Find<QComboBox>("hardpointtypetext")->setCurrentIndex(31);
  Type("Zhptext", "zero");
  Click("updatehpbut");
  EXPECT_EQ(Mesh(0).Hardpoints[0].HardpointType, 0) << "a bad box changes nothing";
  Type("Zhptext", "-2.5");
  Click("updatehpbut");
  EXPECT_EQ(Mesh(0).Hardpoints[0].HardpointType, 31);
  EXPECT_EQ(Mesh(0).Hardpoints[0].Position.z, -2.5f);
  Click("hpdeletebut");
  ASSERT_EQ(Mesh(0).HardpointCount(), 1);
  EXPECT_EQ(L("hardpointlist")->ListCount(), 1);
  EXPECT_EQ(Mesh(0).Hardpoints[0].HardpointType, 0);
}

TEST_F(FeaturesTest, EngineGlowsTakeTheirColoursFromTheDialogAndTheBoxes) {
  Open();
  Click("egaddbut");
  ASSERT_EQ(Mesh(0).EngineGlowCount(), 1);
  EXPECT_EQ(Text("Widthegtext"), "20");
  EXPECT_EQ(Text("Reginnertext"), "128");
  dialogs.Push(std::monostate{});
  QTest::mouseClick(Find<QWidget>("egouterdisplay"), Qt::LeftButton);
  EXPECT_EQ(Text("Regoutertext"), "255") << "Cancel keeps the boxes";
  EXPECT_EQ(dialogs.asked().back().text, QColor(255, 128, 128).name());
  dialogs.Push(QColor(10, 20, 30));
  QTest::mouseClick(Find<QWidget>("egouterdisplay"), Qt::LeftButton);
  EXPECT_EQ(Text("Begoutertext"), "30");
  EXPECT_EQ(Mesh(0).EngineGlows[0].OuterColor.B, 128) << "only UPDATE stores";
  Type("Aegoutertext", "256");
  Click("updateegbut");
  EXPECT_EQ(Mesh(0).EngineGlows[0].OuterColor.B, 128);
  Type("Aegoutertext", "7");
  Type("Cdensity3egtext", "0.25");
  Click("updateegbut");
  EXPECT_EQ(Mesh(0).EngineGlows[0].OuterColor, (RGBA{10, 20, 30, 7}));
  EXPECT_EQ(Mesh(0).EngineGlows[0].Density3.z, 0.25f);
  Click("egdeletebut");
  EXPECT_EQ(Mesh(0).EngineGlowCount(), 0);
}

TEST_F(FeaturesTest, HitzoneAndRotationUpdateTheMeshNamedInTheFrameTitle) {
  Open();
  EXPECT_EQ(Find<QGroupBox>("hitzoneframe")->title(), "Hitzone: Left");
  Button("propbar_hitzone")->click();
  Find<QComboBox>("meshtypetext")->setCurrentIndex(7);
  Type("Xmintext", "-1");
  Type("targetidtext", "4");
  Click("updatehitbut");
  EXPECT_EQ(Mesh(0).MeshType, 7);
  EXPECT_EQ(Mesh(0).Min.x, -1.0f);
  EXPECT_EQ(Mesh(0).TargetId, 4);
  EXPECT_EQ(Mesh(1).MeshType, 0);
  Action("hitzonemenu")->trigger();
  EXPECT_EQ(Mesh(1).Span, (Single3{20, 20, 0}));
  EXPECT_EQ(Mesh(0).MeshType, 7);
  Button("propbar_rotation")->click();
  Type("Yaimtext", "3");
  Click("updaterotbut");
  EXPECT_EQ(Mesh(0).Aim.y, 3.0f);
  Action("rotationmenu")->trigger();
  EXPECT_EQ(Mesh(1).Pivot, (Single3{-10, 10, 0}));
  EXPECT_EQ(Mesh(1).Aim, (Single3{0, 32767, 0}));
}

TEST_F(FeaturesTest, FeaturesSurviveSaveOpenCreateAndImport) {
  Open();
  Click("hpaddbut");
  Find<QComboBox>("hardpointtypetext")->setCurrentIndex(12);
  Click("updatehpbut");
  Click("egaddbut");
  Type("Lengthegtext", "4.5");
  Click("updateegbut");
  Action("hitzonemenu")->trigger();
  Action("rotationmenu")->trigger();
  const MeshRec before = Mesh(0);
  Action("saveopzmenu")->trigger();
  ASSERT_TRUE(window->Files().OpenProjectFile(
      QString::fromStdString(ProjectFilePath(dir.path()).string())));
  Action("optcreatemenu")->trigger();
  fs::create_directories(dir / "again");
  Model again;
  NewProject(again, dir / "again");
  ImportOpt(again, OptFilePath(window->Model()));
  EXPECT_EQ(before.Hardpoints[0].HardpointType, 12);
  EXPECT_EQ(before.EngineGlows[0].Size.z, 4.5f);
  ExpectSameFeatures(Mesh(0), before);
  ExpectSameFeatures(again.Meshes[0], before);
}

}  // namespace
}  // namespace tamsel::test
