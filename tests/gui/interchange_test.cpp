// "import model" and "export model" through the window: the import runs in tamsel-cli and
// comes in as one undo step; the export writes what the model holds.
#include <QAction>

#include "gui/project_fixture.h"

namespace tamsel::test {
namespace {

namespace fs = std::filesystem;

class ModelMenuTest : public ProjectTest {};

TEST_F(ModelMenuTest, AnImportedModelIsOneUndoStepAndAnExportReadsBack) {
  Open();
  EXPECT_TRUE(Action("threedsimportmenu")->isEnabled());
  WriteFileAtomic(dir / "wing.obj",
                  "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\no Wing\nf 1 2 3 4\no Fin\nf 1 2 3\n");
  dialogs.Push(QString::fromStdString((dir / "wing.obj").string()));
  dialogs.Push(Dialogs::ModelImportChoice{false, 2, 256, true});
  Action("threedsimportmenu")->trigger();
  ASSERT_EQ(window->Model().MeshCount(), 4)
      << (dialogs.asked().empty() ? "" : dialogs.asked().back().text.toStdString());
  EXPECT_EQ(window->Model().Meshes[2].Name, "Wing");
  EXPECT_EQ(window->Model().Meshes[2].LODs[0].Faces[0].Vertices[2].X, 2.0f);  // scale 2
  EXPECT_EQ(L("meshlist")->ListCount(), 4);
  EXPECT_EQ(Action("editundomenu")->text(), "Undo import model");
  const int textures = window->Model().TextureCount();
  Action("editundomenu")->trigger();
  EXPECT_EQ(window->Model().MeshCount(), 2);
  EXPECT_LT(window->Model().TextureCount(), textures);

  // A file the reader refuses: a message, and nothing changes.
  WriteFileAtomic(dir / "broken.glb", std::string("glTF\x02\0\0\0garbage", 15));
  dialogs.Push(QString::fromStdString((dir / "broken.glb").string()));
  dialogs.Push(Dialogs::ModelImportChoice{});
  Action("threedsimportmenu")->trigger();
  EXPECT_TRUE(dialogs.asked().back().text.contains("broken.glb"))
      << dialogs.asked().back().text.toStdString();
  EXPECT_EQ(window->Model().MeshCount(), 2);

  dialogs.Push(QString::fromStdString((dir / "out.glb").string()));
  Action("exportmodelmenu")->trigger();
  ASSERT_TRUE(fs::exists(dir / "out.glb"));
  dialogs.Push(QString::fromStdString((dir / "out.glb").string()));
  dialogs.Push(Dialogs::ModelImportChoice{});
  Action("threedsimportmenu")->trigger();
  ASSERT_EQ(window->Model().MeshCount(), 4);
  EXPECT_EQ(window->Model().Meshes[2].Name, "Left");
  EXPECT_EQ(window->Model().Meshes[2].LODs[0].Faces[1].Vertices[2].X, 20.0f);

  // A file that hangs the import library is ended at the dialog's time limit.
  WriteFileAtomic(dir / "hang.ply", std::string("ply\nformat ascii \004!.0\nelemeply"));
  dialogs.Push(QString::fromStdString((dir / "hang.ply").string()));
  Dialogs::ModelImportChoice quick;
  quick.timeLimit = 1;
  dialogs.Push(quick);
  Action("threedsimportmenu")->trigger();
  EXPECT_TRUE(dialogs.asked().back().text.contains("did not finish"))
      << dialogs.asked().back().text.toStdString();
  EXPECT_EQ(window->Model().MeshCount(), 4);

  // A .gltf writes a .bin beside it: a file of that name that the user has is not replaced
  // unasked, and Cancel writes nothing.
  WriteFileAtomic(dir / "scene.bin", std::string("the user's own"));
  dialogs.Push(QString::fromStdString((dir / "scene.gltf").string()));
  dialogs.Push(Dialogs::Answer::Cancel);
  Action("exportmodelmenu")->trigger();
  EXPECT_EQ(dialogs.asked().back().kind, "okcancel");
  EXPECT_TRUE(dialogs.asked().back().text.contains("scene.bin"));
  EXPECT_EQ(ReadFileText(dir / "scene.bin"), "the user's own");
  EXPECT_FALSE(fs::exists(dir / "scene.gltf"));
  dialogs.Push(QString::fromStdString((dir / "scene.gltf").string()));
  dialogs.Push(Dialogs::Answer::Ok);
  Action("exportmodelmenu")->trigger();
  EXPECT_TRUE(fs::exists(dir / "scene.gltf"));
  EXPECT_NE(ReadFileText(dir / "scene.bin"), "the user's own");
}

// A file that says nothing of its axes comes in Y up, and the window asks, with the model in
// view, whether to keep it so; Cancel brings it in again Z up, in place of the first.
TEST_F(ModelMenuTest, AFileThatDoesNotSayWhichWayIsUpIsShownAndCanBeTurnedAtOnce) {
  Open();
  WriteFileAtomic(dir / "tall.obj", "v 0 0 0\nv 1 0 0\nv 0 0 4\no Tall\nf 1 2 3\n");
  dialogs.Push(QString::fromStdString((dir / "tall.obj").string()));
  dialogs.Push(Dialogs::ModelImportChoice{});
  dialogs.Push(Dialogs::Answer::Ok);
  Action("threedsimportmenu")->trigger();
  ASSERT_EQ(window->Model().MeshCount(), 3);
  EXPECT_EQ(dialogs.asked().back().kind, "okcancel");
  EXPECT_TRUE(dialogs.asked().back().text.contains("does not say which way is up"));
  // Taken as Y up, the file's Z is the nose: the triangle lies flat.
  float least = 0;
  for (const VertexRec& v : window->Model().Meshes[2].LODs[0].Faces[0].Vertices)
    least = std::min(least, v.Z);
  EXPECT_EQ(least, 0.0f);
  Action("editundomenu")->trigger();
  ASSERT_EQ(window->Model().MeshCount(), 2);

  dialogs.Push(QString::fromStdString((dir / "tall.obj").string()));
  dialogs.Push(Dialogs::ModelImportChoice{});
  dialogs.Push(Dialogs::Answer::Cancel);
  Action("threedsimportmenu")->trigger();
  ASSERT_EQ(window->Model().MeshCount(), 3) << "the Z-up import in place of the Y-up one";
  least = 0;
  for (const VertexRec& v : window->Model().Meshes[2].LODs[0].Faces[0].Vertices)
    least = std::min(least, v.Z);
  EXPECT_EQ(least, -4.0f) << "stands on the craft's top";
  Action("editundomenu")->trigger();
  EXPECT_EQ(window->Model().MeshCount(), 2) << "one step";
}

}  // namespace
}  // namespace tamsel::test
