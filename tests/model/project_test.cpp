#include "model/project.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model/file_error.h"
#include "model/file_io.h"
#include "model/opz.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

namespace fs = std::filesystem;

void WriteText(const fs::path& p, const std::string& s) {
  std::ofstream(p, std::ios::binary) << s;
}

TEST(ProjectFolder, TheProjectFileIsNamedAfterTheFolder) {
  EXPECT_EQ(ProjectFilePath("/a/ship"), fs::path("/a/ship/ship.opz"));
  EXPECT_EQ(ProjectFilePath("/a/ship/"), fs::path("/a/ship/ship.opz"));
}

TEST(ProjectFolder, AProjectOpenedUnderAnotherNameSavesUnderTheFolderName) {
  test::TempDir dir;
  fs::create_directories(dir / "ship");
  WriteText(dir / "ship" / "old name.opz", WriteOpzText(test::RichModel()));
  Model model;
  OpenProject(model, dir / "ship" / "old name.opz");
  EXPECT_EQ(fs::path(model.ProjectPath), dir / "ship");
  EXPECT_EQ(model.Meshes[0].LODs[0].Selected, kTrue);  // the first level of mesh 0
  EXPECT_EQ(model.Meshes[1].LODs[0].Selected, kFalse);
  EXPECT_GT(model.ViewExtent, 0);
  SaveProject(model);
  EXPECT_TRUE(fs::exists(dir / "ship" / "ship.opz"));
  EXPECT_EQ(ReadFileText(dir / "ship" / "ship.opz"), ReadFileText(dir / "ship" / "old name.opz"));
}

// Reached through a link under another name, a project keeps one file, named after the
// folder's real name.
TEST(ProjectFolder, AFolderReachedThroughALinkKeepsItsOwnProjectFile) {
  test::TempDir dir;
  fs::create_directories(dir / "ship");
  fs::create_directory_symlink(dir / "ship", dir / "alias");
  EXPECT_EQ(ProjectFilePath(dir / "alias"), dir / "alias" / "ship.opz");
  Model model;
  NewProject(model, dir / "alias");
  model.Meshes.push_back(test::MeshWith({}));
  SaveProject(model);
  EXPECT_TRUE(fs::exists(dir / "ship" / "ship.opz"));
  EXPECT_FALSE(fs::exists(dir / "ship" / "alias.opz"));
}

TEST(ProjectFolder, AFailedOpenLeavesTheModelAsItWas) {
  test::TempDir dir;
  Model model = test::RichModel();
  model.ProjectPath = "/somewhere";
  WriteText(dir / "bad.opz", " 1 \r\n 0 \r\nname\r\n 1 \r\n");
  EXPECT_THROW(OpenProject(model, dir / "bad.opz"), FileError);
  EXPECT_THROW(OpenProject(model, dir / "missing.opz"), FileError);
  EXPECT_EQ(model.MeshCount(), 2);
  EXPECT_EQ(model.ProjectPath, "/somewhere");
  EXPECT_EQ(model.Ids.NextMeshId, test::RichModel().Ids.NextMeshId);
}

TEST(ProjectFolder, ASaveThatFailsKeepsThePreviousFile) {
  test::TempDir dir;
  Model model = test::RichModel();
  NewProject(model, dir.path());
  model.Meshes = test::RichModel().Meshes;
  SaveProject(model);
  const std::string before = ReadFileText(ProjectFilePath(dir.path()));
  model.Meshes.Edit(0).Name = "broken\r\nname";
  EXPECT_THROW(SaveProject(model), FileError);
  EXPECT_EQ(ReadFileText(ProjectFilePath(dir.path())), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ProjectMerge, AppendsWithFreshIdsAndCopiesTheBitmaps) {
  test::TempDir dir;
  fs::create_directories(dir / "other");
  fs::create_directories(dir / "mine");
  WriteText(dir / "other" / "other.opz", WriteOpzText(test::RichModel()));
  WriteText(dir / "other" / "a.BMP", "new a");
  WriteText(dir / "other" / "c.bmp", "c");
  WriteText(dir / "other" / "notes.txt", "not a bitmap");
  WriteText(dir / "mine" / "a.BMP", "old a");

  Model model;
  NewProject(model, dir / "mine");
  MergeProject(model, dir / "other" / "other.opz");
  const std::int32_t lastId = model.Ids.NextVertexId;
  EXPECT_EQ(MergeProject(model, dir / "other" / "other.opz"), 2u);
  EXPECT_EQ(model.MeshCount(), 4);
  EXPECT_EQ(model.TextureCount(), 4);
  EXPECT_GT(model.Meshes[2].LODs[0].Faces[0].Vertices[0].Id,
            model.Meshes[1].LODs[0].Faces[0].Vertices[3].Id);
  EXPECT_GT(model.Meshes[2].LODs[0].Faces[0].Vertices[0].Id, lastId);
  EXPECT_EQ(model.Meshes[0].LODs[0].Selected, kTrue);
  // The folder's own a.BMP stays; the merged one comes in as a_2.BMP, renamed in the
  // records that name it, and the second merge finds it there with the same bytes.
  EXPECT_EQ(ReadFileText(dir / "mine" / "a.BMP"), "old a");
  EXPECT_EQ(ReadFileText(dir / "mine" / "a_2.BMP"), "new a");
  EXPECT_FALSE(fs::exists(dir / "mine" / "a_3.BMP"));
  EXPECT_EQ(model.Textures[0].Name, "a_2.BMP");
  EXPECT_EQ(model.Textures[2].Name, "a_2.BMP");
  for (const MeshRec& mesh : model.Meshes)
    for (const FaceRec& face : mesh.LODs[0].Faces)
      for (const std::string& slot : face.TextureNames) EXPECT_NE(slot, "a.BMP");
  EXPECT_EQ(ReadFileText(dir / "mine" / "c.bmp"), "c");
  EXPECT_FALSE(fs::exists(dir / "mine" / "notes.txt"));
}

TEST(ProjectMerge, FromTheProjectsOwnFolderCopiesNothingOntoItself) {
  test::TempDir dir;
  Model model;
  NewProject(model, dir.path());
  WriteText(dir / "a.BMP", "picture");
  WriteText(dir / "other.opz", WriteOpzText(test::RichModel()));
  MergeProject(model, dir / "other.opz");
  EXPECT_EQ(ReadFileText(dir / "a.BMP"), "picture");
  EXPECT_EQ(model.MeshCount(), 2);
}

TEST(ProjectMerge, ABrokenFileCopiesNothingAndChangesNothing) {
  test::TempDir dir;
  fs::create_directories(dir / "other");
  fs::create_directories(dir / "mine");
  std::string text = WriteOpzText(test::RichModel());
  text.resize(text.size() / 2);
  WriteText(dir / "other" / "other.opz", text);
  WriteText(dir / "other" / "a.BMP", "new a");
  Model model;
  NewProject(model, dir / "mine");
  const auto before = dir.Snapshot();
  EXPECT_THROW(MergeProject(model, dir / "other" / "other.opz"), FileError);
  EXPECT_EQ(dir.Snapshot(), before);
  EXPECT_EQ(model.MeshCount(), 0);
}

TEST(FileNames, UnsafeNamesAreRefusedOrMadeSafe) {
  for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "tab\there"})
    EXPECT_FALSE(IsSafeFileName(bad)) << bad;
  EXPECT_TRUE(IsSafeFileName("TEX00012.BMP"));
  EXPECT_EQ(SanitizeNamePart("TEX00012"), "TEX00012");
  EXPECT_EQ(SanitizeNamePart("../../x"), ".._.._x");
  EXPECT_EQ(SanitizeNamePart(".."), "_..");
  EXPECT_EQ(SanitizeNamePart(std::string("a\0b/c", 5)), "a_b_c");
  EXPECT_TRUE(HasExtension("x.BMP", ".bmp"));
  EXPECT_FALSE(HasExtension("x.bmpx", ".bmp"));
}

}  // namespace
}  // namespace tamsel
