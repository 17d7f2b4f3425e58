#include <QAction>
#include <QLineEdit>

#include "app/panels/geometry_frame.h"
#include "app/panels/property_panels.h"
#include "gui/project_fixture.h"
#include "viewport/gl_viewport_widget.h"
#include "viewport/viewport_controller.h"

namespace tamsel::test {
namespace {

class GeometryTest : public ProjectTest {
 protected:
  void Type(const char* box, const QString& text) { Find<QLineEdit>(box)->setText(text); }
  void Update() { QTest::mouseClick(Find<QWidget>("updategeogeobut"), Qt::LeftButton); }
  const MeshRec& Mesh(int m) { return window->Model().Meshes[static_cast<std::size_t>(m)]; }
};

TEST_F(GeometryTest, MeshListSelectionRenameAndDelete) {
  Open();
  ClickRow("meshlist", 1, Qt::ControlModifier);
  EXPECT_TRUE(Mesh(0).LODs[0].Selected && Mesh(1).LODs[0].Selected);
  EXPECT_EQ(L("facelist")->ListCount(), 4);
  EXPECT_EQ(Text("meshloddisttext"), "0");

  dialogs.Push(std::monostate{});
  QTest::mouseDClick(L("meshlist")->viewport(), Qt::LeftButton, {},
                     L("meshlist")->visualRect(L("meshlist")->model()->index(1, 0)).center());
  EXPECT_EQ(Mesh(1).Name, "Right") << "Cancel keeps the name";
  EXPECT_EQ(dialogs.asked().back().text, "Rename mesh to:");
  dialogs.Push(QString("Wing"));
  window->Panels().Geometry().RenameFocusedMesh();
  EXPECT_EQ(Mesh(1).Name, "Wing");
  EXPECT_EQ(L("meshlist")->List(1), "Wing");

  ClickRow("meshlist", 0);  // only mesh 0 selected now
  QTest::mouseClick(Find<QWidget>("meshdeletebut"), Qt::LeftButton);
  ASSERT_EQ(window->Model().MeshCount(), 1);
  EXPECT_EQ(L("meshlist")->ListCount(), 1);
  EXPECT_EQ(L("meshlist")->List(0), "Wing");
  EXPECT_EQ(L("facelist")->ListCount(), 0) << "no rows of the deleted mesh remain";
}

TEST_F(GeometryTest, MeshUpdateMovesScalesAndRefusesTextThatIsNotANumber) {
  Open();  // mesh 0 selected
  Type("Xmeshtext", "1,5");
  Update();
  EXPECT_EQ(Mesh(0).LODs[0].Faces[0].Vertices[1].X, 10.0f) << "nothing changed";
  EXPECT_TRUE(Find<QLineEdit>("Xmeshtext")->styleSheet().contains("red"));
  Type("Xmeshtext", "1.5");
  Type("meshsizetext", "200");
  Type("meshloddisttext", "3E-1");
  Update();
  EXPECT_EQ(Mesh(0).LODs[0].Faces[0].Vertices[1].X, 23.0f);  // 2 x (10 + 1.5)
  EXPECT_EQ(Mesh(0).LODs[0].Distance, 0.3f);
  EXPECT_TRUE(Find<QLineEdit>("Xmeshtext")->styleSheet().isEmpty());
  EXPECT_EQ(Mesh(1).LODs[0].Faces[0].Vertices[1].X, -10.0f);
  EXPECT_EQ(window->Model().ModelSpan.x, 63.0f);  // -20 .. 43
  EXPECT_TRUE(Find<QLineEdit>("Xmeshangletext")->isReadOnly());
}

// The camera stays where the modeller put it through edits and their undo; only the depth of
// the view grows, so that what an edit moved away is not cut off.
TEST_F(GeometryTest, EditsAndUndoKeepTheTurnPanAndZoom) {
  Open();  // mesh 0 selected
  Camera& camera = window->ViewportWidget().Camera();
  camera.RotateY(25);
  camera.RotateX(-10);
  camera.Pan(2, -3);
  window->Viewport().Navigation().Wheel(2, {});
  const auto view = [&] {
    return std::tuple{camera.Orientation(), camera.PanOffset(), camera.Ortho(),
                      window->Model().ViewExtent};
  };
  const auto before = view();
  Type("Xmeshtext", "500");
  Update();
  ASSERT_EQ(Mesh(0).LODs[0].Faces[0].Vertices[0].X, 500.0f);
  EXPECT_EQ(view(), before) << "Mesh UPDATE";
  QTest::mouseClick(Find<QWidget>("turnbut"), Qt::LeftButton);
  EXPECT_EQ(view(), before) << "Turn";
  Find<QAction>("editundomenu")->trigger();
  Find<QAction>("editundomenu")->trigger();
  Find<QAction>("editredomenu")->trigger();
  EXPECT_EQ(view(), before) << "Undo and Redo";
  EXPECT_EQ(Mesh(0).LODs[0].Faces[0].Vertices[0].X, 500.0f);
  // Every corner lies between the near and the far plane.
  const Matrix4 m = camera.ModelView();
  for (const MeshRec& mesh : window->Model().Meshes)
    for (const FaceRec& f : mesh.LODs[0].Faces)
      for (const VertexRec& v : f.Vertices) {
        const double z = m[2] * v.X + m[6] * v.Y + m[10] * v.Z + m[14];
        EXPECT_GT(-z, camera.NearPlane);
        EXPECT_LT(-z, camera.FarPlane);
      }
}

TEST_F(GeometryTest, CornerListsMoveTogetherAndVertexUpdateWeldsTheSelection) {
  Open();
  Press("face");
  ClickRow("facelist", 1);
  EXPECT_TRUE(Mesh(0).LODs[0].Faces[1].Selected);
  EXPECT_EQ(L("Xvertexlist")->ListCount(), 4);
  Press("vertex");
  ClickRow("Kvertnormlist", 2);
  ClickRow("Kvertnormlist", 3, Qt::ControlModifier);
  EXPECT_TRUE(L("Xvertexlist")->Selected(2) && L("Ucoordlist")->Selected(3));
  EXPECT_EQ(L("Yvertexlist")->ListIndex(), 3);
  EXPECT_EQ(Text("Xvertextext"), "10");
  EXPECT_EQ(Text("Yvertextext"), "20");
  Type("Xvertextext", "11");
  Type("Kvertnormtext", "-1");
  Update();
  const FaceRec& face = Mesh(0).LODs[0].Faces[1];
  EXPECT_EQ(face.Vertices[2].X, 11.0f);
  EXPECT_EQ(face.Vertices[3].X, 11.0f);
  EXPECT_EQ(face.Vertices[3].K, -1.0f);  // the focused corner
  EXPECT_EQ(face.Vertices[2].K, 1.0f);
  EXPECT_EQ(L("Xvertexlist")->List(2), "(M:1 F:2 V:3)  11");
}

TEST_F(GeometryTest, HitzoneExtentBoxesKeepSpanAndCentre) {
  Type("Xmintext", "-2");
  QTest::keyClicks(Find<QLineEdit>("Xmaxtext"), "6");
  EXPECT_EQ(Text("Xspantext"), "8");
  EXPECT_EQ(Text("Xcentertext"), "2");
}

TEST_F(GeometryTest, AssignLodFixAndCalculateCommands) {
  Open();
  ClickRow("meshlist", 1, Qt::ControlModifier);
  ClickRow("meshlist", 0, Qt::ControlModifier);
  ClickRow("meshlist", 0, Qt::ControlModifier);  // focus mesh 0, both selected
  ASSERT_EQ(L("meshlist")->ListIndex(), 0);
  ASSERT_TRUE(Mesh(1).LODs[0].Selected);
  QTest::mouseClick(Find<QWidget>("lodassignmentbut"), Qt::LeftButton);
  ASSERT_EQ(window->Model().MeshCount(), 1);
  EXPECT_EQ(L("meshlist")->ListCount(), 1);
  EXPECT_EQ(Mesh(0).LODCount(), 2);
  EXPECT_EQ(Mesh(0).LODs[1].Distance, 1000.0f);

  Action("quad2trimenu")->trigger();
  EXPECT_EQ(Mesh(0).LODs[0].FaceCount(), 4);
  EXPECT_EQ(L("facelist")->ListCount(), 4) << "the rows follow the new faces";
  Action("vertexordermenu")->trigger();
  Action("facenormalmenu")->trigger();
  EXPECT_EQ(Mesh(0).LODs[0].Faces[0].Normal, (Single3{0, 0, 1}));
  Action("vertexnormalmenu")->trigger();
  EXPECT_EQ(Mesh(0).LODs[0].Faces[0].Vertices[0].K, 1.0f);
  Action("softwarevectormenu")->trigger();
  EXPECT_NE(Mesh(0).LODs[0].Faces[0].Vector1, Single3{});
}

}  // namespace
}  // namespace tamsel::test
