#include <QComboBox>
#include <QLabel>
#include <QPixmap>
#include <QToolButton>

#include <QToolButton>
#include "app/project_commands.h"
#include "app/window_shell.h"
#include "gui/project_fixture.h"

namespace tamsel::test {
namespace {

TEST_F(ProjectTest, OpeningFillsTheListsAndSelectsTheFirstMesh) {
  Open();
  EXPECT_EQ(L("meshlist")->ListCount(), 2);
  EXPECT_EQ(L("meshlist")->List(1), "Right");
  EXPECT_TRUE(L("meshlist")->Selected(0));
  EXPECT_EQ(L("facelist")->ListCount(), 2);
  EXPECT_EQ(L("facelist")->List(1), "M:1 F:2");
  EXPECT_EQ(L("transtexturelist")->List(0), "red.BMP");
  EXPECT_EQ(L("texturelist")->List(0), "red.BMP");
  EXPECT_EQ(Text("meshsizetext"), "100");
  EXPECT_TRUE(Action("saveopzmenu")->isEnabled());
}

TEST_F(ProjectTest, ABadProjectFileShowsAMessageAndChangesNothing) {
  WriteFileAtomic(dir / "bad.opz", std::string(" 1 \r\n 0 \r\nname\r\n"));
  EXPECT_FALSE(window->Files().OpenProjectFile(QString::fromStdString((dir / "bad.opz").string())));
  ASSERT_EQ(dialogs.asked().size(), 1u);
  EXPECT_TRUE(dialogs.asked()[0].text.contains("bad.opz, line"))
      << dialogs.asked()[0].text.toStdString();
  EXPECT_EQ(window->Model().MeshCount(), 0);
  EXPECT_FALSE(Action("saveopzmenu")->isEnabled());
}

TEST_F(ProjectTest, SecondaryClicksSelectMeshesShiftAddsAndEmptySpaceClears) {
  Open();
  // In wire mode a mesh is picked by its edges or its centre point.
  const QPoint left = PixelOf(10, 10, 0), right = PixelOf(-10, 10, 0), empty = PixelOf(0, 30, 0);
  // A primary click selects nothing in the default scheme, before a secondary press and
  // after one.
  Click(right, Qt::LeftButton);
  EXPECT_FALSE(window->Model().Meshes[1].LODs[0].Selected);
  Click(right);
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Selected);
  EXPECT_TRUE(L("meshlist")->Selected(1));
  EXPECT_FALSE(L("meshlist")->Selected(0));
  EXPECT_EQ(L("meshlist")->ListIndex(), 1);
  EXPECT_EQ(L("facelist")->List(0), "M:2 F:1");
  Click(left, Qt::LeftButton);
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Selected);
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  Click(left, Qt::RightButton, Qt::ShiftModifier);
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected);
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  EXPECT_EQ(L("facelist")->ListCount(), 4);
  Click(empty, Qt::RightButton, Qt::ShiftModifier);
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Selected);
  EXPECT_FALSE(window->Model().Meshes[1].LODs[0].Selected);
  EXPECT_EQ(L("facelist")->ListCount(), 0);
}

TEST_F(ProjectTest, FacesAndCornersArePickedWithTheirMesh) {
  Open();  // mesh 0 is selected
  Press("face");
  EXPECT_EQ(window->View().GeometryLevel, Geometry::Face);
  EXPECT_EQ(L("facelist")->ListCount(), 2);
  Click(PixelOf(15, 10, 0));  // the face's centre point
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Faces[1].Selected);
  EXPECT_TRUE(L("facelist")->Selected(1));
  EXPECT_EQ(L("facelist")->ListIndex(), 1);
  EXPECT_EQ(Text("Xfacetext"), "15");
  EXPECT_EQ(Text("Kfacenormtext"), "1");
  EXPECT_EQ(L("Xvertexlist")->ListCount(), 4);
  EXPECT_EQ(L("Xvertexlist")->List(1), "(M:1 F:2 V:2)  20");
  EXPECT_TRUE(Find("fgoffop")->property("checked").toBool());

  Press("vertex");
  Click(PixelOf(20, 20, 0));
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Faces[1].Vertices[2].Selected);
  EXPECT_TRUE(L("Zvertexlist")->Selected(2));
  EXPECT_EQ(L("Vcoordlist")->ListIndex(), 2);
  EXPECT_EQ(Text("Yvertextext"), "20");

  // A face of the mesh not selected: the click chooses the mesh with the face.
  Press("face");
  Click(PixelOf(-20, 10, 0));  // the outer edge of mesh 2's first face
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Faces[0].Selected);
  EXPECT_FALSE(window->Model().Meshes[0].LODs[0].Faces[1].Selected);
  EXPECT_EQ(L("facelist")->ListCount(), 4);
  EXPECT_EQ(Text("Xfacetext"), "-15");
}

TEST_F(ProjectTest, PicksResolveAfterTheIdCountersPassedTheOldKindBoundaries) {
  window->Model().Ids.NextMeshId = 1998;
  window->Model().Ids.NextFaceId = 19998;
  Open();
  EXPECT_GT(window->Model().Meshes[1].LODs[0].Id, 1999);
  EXPECT_GT(window->Model().Meshes[1].LODs[0].Faces[1].Id, 19999);
  Click(PixelOf(-10, 10, 0));
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Selected);
  Press("face");
  Click(PixelOf(-5, 10, 0));  // the face's centre point
  EXPECT_TRUE(window->Model().Meshes[1].LODs[0].Faces[1].Selected);
}

TEST_F(ProjectTest, TextureModeShowsTheTexelsAndTheBlackKeyDropsOut) {
  Open();
  Press("texture");
  EXPECT_EQ(window->View().DisplayMode, Display::Texture);
  const QImage frame = window->ViewportWidget().grabFramebuffer();
  // Mesh 2 is not selected, so its texels show as they are.
  EXPECT_EQ(frame.pixelColor(PixelOf(-6, 10, 0)), QColor(255, 0, 0));
  // Column 0 of the texture is black: the opaque pass keys it out, the blended pass fills
  // it at opacity 255, so it shows black rather than red.
  EXPECT_EQ(frame.pixelColor(PixelOf(-9.7f, 10, 0)), QColor(0, 0, 0));
  // The selected mesh is tinted halfway from white to the primary textured colour (blue):
  // its red texels keep half their red instead of turning black, so the texture can still
  // be read (at least half its contrast against the unselected mesh's same texel).
  const QColor selected = frame.pixelColor(PixelOf(4, 10, 0));
  EXPECT_EQ(selected, QColor(128, 0, 0));
  EXPECT_GE(2 * selected.red(), frame.pixelColor(PixelOf(-6, 10, 0)).red());
  // The blue texel is in the bitmap's second row from the bottom: V runs up from there.
  EXPECT_EQ(frame.pixelColor(PixelOf(-8.5f, 3, 0)), QColor(0, 0, 200));
}

TEST_F(ProjectTest, TextureScreensMarksExactlyThePixelsWithinTolerance) {
  Open();
  window->Doc().focus().texture = 0;  // as a click on the texture's row
  window->SelectionChanged(false);
  const QImage marked = Find<QLabel>("transtextureviewer")->pixmap().toImage();
  ASSERT_EQ(marked.size(), QSize(8, 8));
  // Red texels match the row (255, 0, 0); black and blue ones do not.
  EXPECT_EQ(marked.pixelColor(3, 3), QColor(255, 0, 255));
  EXPECT_EQ(marked.pixelColor(0, 3), QColor(0, 0, 0));
  EXPECT_EQ(marked.pixelColor(1, 6), QColor(0, 0, 200));  // texel 9: second row from the bottom
  EXPECT_EQ(Find<QLabel>("illumtextureviewer")->pixmap().toImage().pixelColor(3, 3),
            QColor(255, 0, 0));
  EXPECT_EQ(L("transredtintlist")->List(0), "255");
  EXPECT_EQ(Text("transopacitytext"), "255");
}

TEST_F(ProjectTest, MeshesWithoutTheCurrentLevelAreNeitherDrawnNorPicked) {
  Open();
  Press("low level");
  EXPECT_EQ(window->View().CurrentLOD, Detail::Low);
  EXPECT_EQ(L("facelist")->ListCount(), 0);
  EXPECT_FALSE(Find("meshsizetext")->isEnabled());  // mesh 0 has no low level
  Click(PixelOf(5, 10, 0));
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected)
      << "an empty click at the low level keeps level 0's selection";
  const QImage frame = window->ViewportWidget().grabFramebuffer();
  EXPECT_EQ(frame.pixelColor(PixelOf(0, 10, 0)), QColor(0, 0, 0));
}

}  // namespace
}  // namespace tamsel::test
