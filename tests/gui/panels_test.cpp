// The panels follow the document and nothing else: a pick, a list click or an undo reaches
// every panel through the document's one notification.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <memory>

#include "app/panels/property_panels.h"
#include "gui/project_fixture.h"

namespace tamsel::test {
namespace {

class PanelsTest : public ProjectTest {
 protected:
  QString Status(const char* name) { return Find<QLabel>(name)->text(); }
  void Type(const char* box, const QString& text) { Find<QLineEdit>(box)->setText(text); }
};

TEST_F(PanelsTest, APickReachesEveryPanelThroughOneNotification) {
  Open();
  auto heard = std::make_shared<std::vector<ModelChange>>();
  window->Doc().AddListener([heard](const ModelChange& c) { heard->push_back(c); });
  Press("face");
  heard->clear();
  Click(PixelOf(15, 10, 0));  // the centre point of mesh 0's second face
  ASSERT_EQ(heard->size(), 1u) << "one notification for the pick";
  EXPECT_TRUE(heard->front().recordsUnchanged);
  EXPECT_TRUE(heard->front().focus);
  const Focus& focus = window->Doc().focus();
  ASSERT_TRUE(focus.face);
  EXPECT_EQ(*focus.face, (FaceRef{0, 1}));
  // The face list, the geometry boxes, the colour panels, the hitzone and the status bar all
  // show the picked face or its mesh.
  EXPECT_EQ(L("facelist")->ListIndex(), 1);
  EXPECT_EQ(Text("Xfacetext"), "15");
  EXPECT_EQ(L("transtexturelist")->ListIndex(), 0);
  EXPECT_EQ(L("illumtexturelist")->ListIndex(), 0);
  EXPECT_EQ(Find<QGroupBox>("hitzoneframe")->title(), "Hitzone: Left");
  EXPECT_EQ(Status("selectionstatus"), "1 mesh, 1 face selected of 4");
}

TEST_F(PanelsTest, TypedChangesStayUntilAnotherMeshIsChosen) {
  Open();
  Type("Xmeshtext", "3");
  Press("texture");  // a change of view keeps what was typed
  EXPECT_EQ(Text("Xmeshtext"), "3");
  ClickRow("meshlist", 0);  // the same mesh again
  EXPECT_EQ(Text("Xmeshtext"), "3");
  ClickRow("meshlist", 1);
  EXPECT_EQ(Text("Xmeshtext"), "0") << "a newly chosen mesh starts afresh";
  EXPECT_EQ(window->Doc().focus().mesh, 1);
  EXPECT_EQ(Find<QGroupBox>("rotationframe")->title(), "Rotation: Right");
}

TEST_F(PanelsTest, UndoAndRedoRefillTheFramesFromTheModel) {
  Open();
  Button("propbar_hitzone")->click();  // hitzone
  const QString before = Text("Xspantext");
  Type("Xspantext", "77");
  Find<QPushButton>("updatehitbut")->click();
  EXPECT_EQ(window->Model().Meshes[0].Span.x, 77.0f);
  Type("Xspantext", "5");  // typed, not applied: undo shows the model's value again
  Action("editundomenu")->trigger();
  EXPECT_EQ(Text("Xspantext"), before);
  Action("editredomenu")->trigger();
  EXPECT_EQ(Text("Xspantext"), "77");
}

TEST_F(PanelsTest, AHardpointRowFocusesTheHardpointAloneAndKeepsTheMeshBoxes) {
  Open();
  Button("propbar_hardpoint")->click();  // hardpoints
  Find<QPushButton>("hpaddbut")->click();
  ASSERT_EQ(L("hardpointlist")->ListCount(), 1);
  EXPECT_EQ(L("hardpointlist")->ListIndex(), 0) << "the new hardpoint is focused";
  Type("Xmeshtext", "4");
  Type("Xhptext", "9");
  Find<QPushButton>("updatehpbut")->click();
  EXPECT_EQ(window->Model().Meshes[0].Hardpoints[0].Position.x, 9.0f);
  ClickRow("hardpointlist", 0);
  EXPECT_EQ(Text("Xhptext"), "9");
  EXPECT_EQ(Text("Xmeshtext"), "4") << "the mesh's boxes are not another panel's to reset";
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

TEST_F(PanelsTest, TurnAndMirrorAreUndoStepsOfTheSelection) {
  Open();  // mesh 0 selected
  const MeshRec before = window->Model().Meshes[0];
  const MeshRec other = window->Model().Meshes[1];
  Find<QComboBox>("transformaxis")->setCurrentIndex(2);  // Z
  EXPECT_EQ(Text("turndegreestext"), "90") << "a quarter turn, ready after opening";
  Find<QPushButton>("turnbut")->click();
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Turn 90\u00b0 about Z");
  EXPECT_NE(window->Model().Meshes[0].LODs[0].Faces, before.LODs[0].Faces);
  EXPECT_EQ(window->Model().Meshes[1], other) << "an unselected mesh stays";
  for (int i = 0; i < 3; ++i) Find<QPushButton>("turnbut")->click();
  EXPECT_EQ(window->Model().Meshes[0].LODs[0].Faces, before.LODs[0].Faces);
  Find<QPushButton>("mirrorbut")->click();
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Mirror across Z");
  Action("editundomenu")->trigger();
  EXPECT_EQ(window->Model().Meshes[0].LODs[0].Faces, before.LODs[0].Faces);
  Type("turndegreestext", "ninety");
  Find<QPushButton>("turnbut")->click();
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Turn 90\u00b0 about Z")
      << "a box that holds no number turns nothing";
}

}  // namespace
}  // namespace tamsel::test
