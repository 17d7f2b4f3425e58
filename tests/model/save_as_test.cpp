// Save As: the project file and its bitmaps in another folder, all or none, nothing of
// the user's replaced unasked; the history's file effects stay with the old folder.
#include "model/project_save_as.h"

#include <gtest/gtest.h>

#include "editing/document.h"
#include "editing/selection_summary.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/opz.h"
#include "model/project.h"
#include "support/model_builders.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The rich model's project in `folder`, with its bitmaps (any bytes: they are copied as
// they are).
Model SavedProject(const fs::path& folder) {
  fs::create_directories(folder);
  Model model = RichModel();
  NewProject(model, folder);
  model.Meshes = RichModel().Meshes;
  model.Textures = RichModel().Textures;
  for (const TextureRec& t : model.Textures) WriteFileAtomic(folder / t.Name, "bitmap " + t.Name);
  SaveProject(model);
  return model;
}

TEST(SaveAs, TheChosenFileNamesTheFolder) {
  const fs::path base = fs::absolute("/tmp/x");
  EXPECT_EQ(SaveAsFolder(base / "craft2" / "craft2.opz"), base / "craft2");
  EXPECT_EQ(SaveAsFolder(base / "craft2.opz"), base / "craft2");
  EXPECT_EQ(SaveAsFolder(base / "craft2.OPZ"), base / "craft2");
  EXPECT_EQ(SaveAsFolder(base / "craft2"), base / "craft2");
  EXPECT_EQ(SaveAsFolder(base / "other" / "craft2.opz"), base / "other" / "craft2");
}

TEST(SaveAs, WritesEveryFileAndMovesTheProjectLeavingTheOldFolderWhole) {
  TempDir dir;
  Model model = SavedProject(dir / "old");
  const auto before = dir.Snapshot();
  const SaveAsPlan plan = PlanSaveAs(model, dir / "new");
  EXPECT_TRUE(plan.replaced.empty());
  EXPECT_TRUE(plan.missing.empty());
  SaveProjectAs(model, dir / "new");
  EXPECT_EQ(fs::path(model.ProjectPath), fs::absolute(dir / "new"));
  for (const TextureRec& t : model.Textures)
    EXPECT_EQ(ReadFileText(dir / "new" / t.Name), "bitmap " + t.Name);
  Model reopened;
  OpenProject(reopened, dir / "new" / "new.opz");
  EXPECT_EQ(reopened.MeshCount(), model.MeshCount());
  // The old folder is as it was; only new files were added.
  for (const auto& entry : before) EXPECT_TRUE(dir.Snapshot().count(entry)) << entry.first;
}

TEST(SaveAs, NamesFilesItWouldReplaceAndSkipsIdenticalOnes) {
  TempDir dir;
  Model model = SavedProject(dir / "old");
  fs::create_directories(dir / "new");
  WriteFileAtomic(dir / "new" / model.Textures[0].Name, std::string("the user's picture"));
  WriteFileAtomic(dir / "new" / model.Textures[1].Name, "bitmap " + model.Textures[1].Name);
  const SaveAsPlan plan = PlanSaveAs(model, dir / "new");
  ASSERT_EQ(plan.replaced.size(), 1u);
  EXPECT_EQ(plan.replaced[0].filename(), model.Textures[0].Name);
  // A project file already there is always named.
  WriteFileAtomic(dir / "new" / "new.opz", std::string("x"));
  EXPECT_EQ(PlanSaveAs(model, dir / "new").replaced.size(), 2u);
}

TEST(SaveAs, AFolderInTheWayStopsItBeforeAnythingIsWritten) {
  TempDir dir;
  Model model = SavedProject(dir / "old");
  fs::create_directories(dir / "new" / model.Textures[1].Name);
  EXPECT_THROW(PlanSaveAs(model, dir / "new"), FileError);
  const auto before = dir.Snapshot();
  EXPECT_THROW(SaveProjectAs(model, dir / "new"), FileError);
  EXPECT_EQ(dir.Snapshot(), before);
  EXPECT_EQ(fs::path(model.ProjectPath), fs::absolute(dir / "old"));
}

TEST(SaveAs, MissingBitmapsAreNamedAndTheRestIsWritten) {
  TempDir dir;
  Model model = SavedProject(dir / "old");
  fs::remove(dir / "old" / model.Textures[0].Name);
  const SaveAsPlan plan = PlanSaveAs(model, dir / "new");
  ASSERT_EQ(plan.missing.size(), 1u);
  EXPECT_EQ(plan.missing[0], model.Textures[0].Name);
  SaveProjectAs(model, dir / "new");
  EXPECT_FALSE(fs::exists(dir / "new" / model.Textures[0].Name));
  EXPECT_TRUE(fs::exists(dir / "new" / model.Textures[1].Name));
}

// After Save As an undo takes back the records only: the old folder keeps the file the
// undone step had written there.
TEST(SaveAs, UndoAfterAMoveLeavesTheOldFolderAlone) {
  TempDir dir;
  Document doc;
  doc.model() = SavedProject(dir / "old");
  doc.Reset();
  FileTransaction files(doc.model().ProjectPath);
  ASSERT_FALSE(doc.Apply(
      "add",
      [&](Model& m) {
        files.Bring("extra.BMP", Bytes{1, 2, 3});
        TextureRec t;
        t.Name = "extra.BMP";
        m.Textures.push_back(t);
      },
      &files));
  ASSERT_TRUE(fs::exists(dir / "old" / "extra.BMP"));
  SaveProjectAs(doc.model(), dir / "new");
  doc.MovedFolder();
  EXPECT_FALSE(doc.IsModified());
  ASSERT_TRUE(doc.Undo());
  EXPECT_TRUE(fs::exists(dir / "old" / "extra.BMP"));
  EXPECT_TRUE(fs::exists(dir / "new" / "extra.BMP"));
  EXPECT_EQ(doc.model().TextureCount(), RichModel().TextureCount());
}

TEST(SelectionSummary, CountsAndWordsFollowTheLevel) {
  Model model = RichModel();
  ViewState view;
  SelectionCounts none = CountSelection(model, view);
  EXPECT_EQ(none.meshes, 0);
  EXPECT_EQ(SelectionText(none, view),
            "Nothing selected of " + GroupThousands(none.totalFaces) + " faces");
  MeshRec& mesh = model.Meshes.Edit(0);
  mesh.LODs[0].Selected = kTrue;
  const long long faces = mesh.LODs[0].FaceCount();
  EXPECT_EQ(SelectionText(CountSelection(model, view), view),
            "1 mesh, " + std::to_string(faces) + (faces == 1 ? " face" : " faces") +
                " selected of " + GroupThousands(CountSelection(model, view).totalFaces));
  view.GeometryLevel = Geometry::Vertex;
  mesh.LODs[0].Faces[0].Selected = kTrue;
  mesh.LODs[0].Faces[0].Vertices[0].Selected = kTrue;
  mesh.LODs[0].Faces[0].Vertices[1].Selected = kTrue;
  const SelectionCounts c = CountSelection(model, view);
  EXPECT_EQ(c.faces, 1);
  EXPECT_EQ(c.corners, 2);
  EXPECT_NE(SelectionText(c, view).find("1 mesh, 1 face, 2 corners selected"), std::string::npos);
  EXPECT_EQ(ModeText(view), "High level · Vertex · Wireframe");
  EXPECT_EQ(GroupThousands(2505), "2 505");
  EXPECT_EQ(GroupThousands(1234567), "1 234 567");
  EXPECT_EQ(GroupThousands(-100000), "-100 000");
  EXPECT_EQ(GroupThousands(999), "999");
  EXPECT_EQ(GroupThousands(0), "0");
}

}  // namespace
}  // namespace tamsel
