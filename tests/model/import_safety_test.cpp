// No import costs the user a file: the folder's bytes before and after imports that fail,
// succeed, take free names, are undone and redone; commits that fail halfway; temporaries
// of live and dead writers; the lock that keeps a second writer out.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "dxf/dxf_import.h"
#include "editing/document.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/file_transaction.h"
#include "model/project.h"
#include "model/project_lock.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"
#include "support/error_of.h"
#include "support/rich_project.h"
#include "support/temp_dir.h"

namespace tamsel {
namespace {

using namespace test;
namespace fs = std::filesystem;

// The rich project written as an OPT file, and the bitmap names its import brings.
struct OptSource {
  TempDir dir;
  fs::path opt;
  std::vector<std::string> names;
  OptSource() {
    Model model = RichProject(dir);
    SaveProject(model);
    opt = CreateOpt(model, 7);
    IdCounters ids;
    for (const auto& [name, bitmap] :
         ReadOptImport(ReadFileBytes(opt), opt.string(), ids, 0).bitmaps)
      names.push_back(name);
  }
};

TEST(ImportFiles, AnImportBlockedHalfwayLeavesTheFolderByteForByteAndNamesWhatBlockedIt) {
  OptSource source;
  ASSERT_GE(source.names.size(), 2u);
  TempDir project;
  Model model;
  NewProject(model, project.path());
  // A file with the name of the first bitmap, a folder with the name of the last.
  WriteFileAtomic(project / source.names.front(), std::string("the user's own picture"));
  fs::create_directories(project / source.names.back());
  const auto before = project.Snapshot();

  Document doc;
  NewProject(doc.model(), project.path());
  FileTransaction files(project.path());
  const auto error = doc.Apply(
      "import .OPT", [&](Model& m) { ImportOpt(m, source.opt, &files); }, &files);
  ASSERT_TRUE(error);
  EXPECT_NE(error->find(source.names.back()), std::string::npos) << *error;
  EXPECT_NE(error->find("in the way"), std::string::npos) << *error;
  EXPECT_EQ(project.Snapshot(), before);
  EXPECT_EQ(doc.model().MeshCount(), 0);
  EXPECT_FALSE(doc.CanUndo());
}

TEST(ImportFiles, ATakenNameKeepsTheUsersFileAndTheImportTakesAFreeNameEverywhere) {
  OptSource source;
  TempDir project;
  const std::string first = source.names.front();
  WriteFileAtomic(project / first, std::string("the user's own picture"));
  Model model;
  NewProject(model, project.path());
  FileTransaction files(project.path());
  ImportOpt(model, source.opt, &files);
  files.Commit(false);

  const fs::path stem = fs::path(first).stem();
  const std::string free = stem.string() + "_2" + fs::path(first).extension().string();
  EXPECT_EQ(ReadFileText(project / first), "the user's own picture");
  ASSERT_TRUE(fs::exists(project / free));
  ASSERT_EQ(files.Notes().size(), 1u);
  EXPECT_NE(files.Notes()[0].find(free), std::string::npos) << files.Notes()[0];
  bool named = false;
  for (const TextureRec& t : model.Textures) {
    EXPECT_NE(t.Name, first);
    named = named || t.Name == free;
  }
  EXPECT_TRUE(named);
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& level : mesh.LODs)
      for (const FaceRec& face : level.Faces)
        for (const std::string& slot : face.TextureNames) EXPECT_NE(slot, first);

  // The same file again: every bitmap is found with its bytes, nothing new is written.
  const auto once = project.Snapshot();
  FileTransaction again(project.path());
  ImportOpt(model, source.opt, &again);
  again.Commit(false);
  EXPECT_EQ(project.Snapshot(), once);
  EXPECT_TRUE(again.Notes().empty());
}

TEST(ImportFiles, UndoRemovesWhatTheImportAddedAndRedoBringsItBackByteForByte) {
  OptSource source;
  TempDir project;
  WriteFileAtomic(project / "notes.txt", std::string("mine"));
  WriteFileAtomic(project / source.names.front(), std::string("taken"));
  const auto before = project.Snapshot();
  Document doc;
  NewProject(doc.model(), project.path());
  FileTransaction files(project.path());
  ASSERT_FALSE(doc.Apply(
      "import .OPT", [&](Model& m) { ImportOpt(m, source.opt, &files); }, &files));
  const auto after = project.Snapshot();
  EXPECT_NE(after, before);

  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(project.Snapshot(), before);
  EXPECT_EQ(doc.model().MeshCount(), 0);
  ASSERT_TRUE(doc.Redo());
  EXPECT_EQ(project.Snapshot(), after);
  EXPECT_GT(doc.model().MeshCount(), 0);
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(project.Snapshot(), before);
}

TEST(ImportFiles, UndoLeavesABitmapTheSavedProjectNamesAndRedoFindsItThere) {
  OptSource source;
  TempDir project;
  Document doc;
  NewProject(doc.model(), project.path());
  FileTransaction files(project.path());
  ASSERT_FALSE(doc.Apply(
      "import .OPT", [&](Model& m) { ImportOpt(m, source.opt, &files); }, &files));
  SaveProject(doc.model());  // the saved project names the imported bitmaps now
  doc.MarkSaved();
  const auto saved = project.Snapshot();
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.model().MeshCount(), 0);
  for (const std::string& name : source.names) EXPECT_TRUE(fs::exists(project / name)) << name;
  EXPECT_EQ(project.Snapshot(), saved);  // were the session discarded, the file still opens
  ASSERT_TRUE(doc.Redo());
  EXPECT_EQ(project.Snapshot(), saved);
}

TEST(ImportFiles, UndoOfAReplacingCommandPutsThePreviousFileBack) {
  TempDir dir;
  WriteFileAtomic(dir / "p.opz", std::string("the saved project"));
  Document doc;
  NewProject(doc.model(), dir.path());
  FileTransaction files(dir.path());
  ASSERT_FALSE(doc.Apply(
                   "rewrite",
                   [&](Model& m) {
                     m.Meshes.push_back(MeshRec{});
                     files.Write(dir / "p.opz", "rewritten");
                     files.Remove(dir / "gone.txt");
                   },
                   &files) == std::nullopt);  // gone.txt does not exist: the commit fails whole
  EXPECT_EQ(ReadFileText(dir / "p.opz"), "the saved project");
  EXPECT_EQ(doc.model().MeshCount(), 0);

  WriteFileAtomic(dir / "gone.txt", std::string("old notes"));
  FileTransaction second(dir.path());
  ASSERT_FALSE(doc.Apply(
      "rewrite",
      [&](Model& m) {
        m.Meshes.push_back(MeshRec{});
        second.Write(dir / "p.opz", "rewritten");
        second.Remove(dir / "gone.txt");
      },
      &second));
  EXPECT_EQ(ReadFileText(dir / "p.opz"), "rewritten");
  EXPECT_FALSE(fs::exists(dir / "gone.txt"));
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(ReadFileText(dir / "p.opz"), "the saved project");
  EXPECT_EQ(ReadFileText(dir / "gone.txt"), "old notes");
  ASSERT_TRUE(doc.Redo());
  EXPECT_EQ(ReadFileText(dir / "p.opz"), "rewritten");
  EXPECT_FALSE(fs::exists(dir / "gone.txt"));
}

TEST(StagedCommit, ARenameThatFailsPutsBackEveryFileAlreadyReplaced) {
  TempDir dir;
  fs::create_directories(dir / "sub");
  WriteFileAtomic(dir / "a.BMP", std::string("old a"));
  StagedWrites staged;
  staged.Write(dir / "a.BMP", std::string("new a"));
  staged.Write(dir / "b.BMP", std::string("new b"));
  staged.Write(dir / "sub" / "c.BMP", std::string("new c"));
  fs::remove_all(dir / "sub");  // the last rename cannot succeed
  const std::string error = ErrorOf([&] { staged.Commit(); });
  EXPECT_NE(error.find("c.BMP"), std::string::npos) << error;
  EXPECT_EQ(ReadFileText(dir / "a.BMP"), "old a");
  EXPECT_FALSE(fs::exists(dir / "b.BMP"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

// A name as long as a name may be (255 bytes) is written like any other: the temporary
// beside it carries only part of it. A replaced file keeps its mode.
TEST(StagedCommit, LongNamesAreWrittenAndReplacedFilesKeepTheirMode) {
  test::TempDir dir;
  const std::string name = std::string(251, 'n') + ".BMP";
  {
    StagedWrites staged;
    staged.Write(dir / name, std::string("first"));
    staged.Write(dir / "kept.opz", std::string("first"));
    staged.Commit();
  }
  EXPECT_EQ(ReadFileText(dir / name), "first");
  ASSERT_EQ(::chmod((dir / "kept.opz").c_str(), 0600), 0);
  {
    StagedWrites staged;
    staged.Write(dir / name, std::string("second"));
    staged.Write(dir / "kept.opz", std::string("second"));
    staged.Commit();
  }
  EXPECT_EQ(ReadFileText(dir / name), "second");
  struct stat st {};
  ASSERT_EQ(::stat((dir / "kept.opz").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  EXPECT_EQ(ReadFileText(dir / "kept.opz"), "second");
}

TEST(StagedCommit, OnlyTemporariesOfWritersThatAreGoneAreRemoved) {
  TempDir dir;
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);  // a process that surely no longer runs
  const std::string dead = ".a.BMP.tamsel-" + std::to_string(child) + "-Ab3dE9";
  const std::string live = ".b.BMP.tamsel-" + std::to_string(getppid()) + "-Ab3dE9";
  const std::string mine = ".c.BMP.tamsel-" + std::to_string(getpid()) + "-Ab3dE9";
  for (const std::string& name : {dead, live, mine}) WriteFileAtomic(dir / name, name);
  EXPECT_EQ(RemoveStaleTemporaries(dir.path()), 1);
  EXPECT_FALSE(fs::exists(dir / dead));
  EXPECT_TRUE(fs::exists(dir / live));
  EXPECT_TRUE(fs::exists(dir / mine));
  // Asked for one target's temporaries, others of dead writers stay.
  const std::string otherDead = ".x.opt.tamsel-" + std::to_string(child) + "-QQQQQQ";
  WriteFileAtomic(dir / otherDead, otherDead);
  EXPECT_EQ(RemoveStaleTemporaries(dir.path(), "y.opt"), 0);
  EXPECT_EQ(RemoveStaleTemporaries(dir.path(), "x.opt"), 1);
}

// Whether another process could take the lock of `folder` (its exit status tells).
bool OtherProcessCanLock(const fs::path& folder) {
  const pid_t child = fork();
  if (child == 0) {
    try {
      { const ProjectLock lock(folder, "the other"); }
      _exit(0);
    } catch (const FileError& e) {
      _exit(std::string(e.what()).find("tamsel-cli import-opt") != std::string::npos ? 2 : 1);
    }
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? true
         : WEXITSTATUS(status) == 2                    ? false
                                    : (ADD_FAILURE() << "no holder named", false);
}

TEST(ProjectLockTest, ASecondProcessIsRefusedWithTheHolderNamedUntilTheFirstLetsGo) {
  TempDir dir;
  const auto before = dir.Snapshot();
  {
    const ProjectLock lock(dir.path(), "tamsel-cli import-opt");
    const ProjectLock again(dir.path(), "tamsel-cli import-opt");  // the same process shares it
    EXPECT_FALSE(OtherProcessCanLock(dir.path()));
  }
  EXPECT_TRUE(OtherProcessCanLock(dir.path()));
  EXPECT_EQ(dir.Snapshot(), before);  // the lock file goes with the lock
}

TEST(NewProjectFiles, OnlyThePreviousProjectsFileAndTheBitmapsItNamesAreItsOwn) {
  TempDir root;
  fs::create_directories(root / "ship");
  Model model = RichModel();
  model.ProjectPath = (root / "ship").string();
  SaveProject(model);
  WriteFileAtomic(root / "ship" / "a.BMP", std::string("a"));
  WriteFileAtomic(root / "ship" / "notes.txt", std::string("mine"));
  WriteFileAtomic(root / "ship" / "photo.png", std::string("mine too"));
  WriteFileAtomic(root / "ship" / "unnamed.bmp", std::string("no record names it"));
  std::vector<std::string> own;
  for (const fs::path& p : ProjectOwnFiles(root / "ship")) own.push_back(p.filename().string());
  std::sort(own.begin(), own.end());
  EXPECT_EQ(own, (std::vector<std::string>{"a.BMP", "ship.opz"}));  // b.BMP is not there

  fs::create_directories(root / "plain");
  WriteFileAtomic(root / "plain" / "notes.txt", std::string("mine"));
  EXPECT_TRUE(ProjectOwnFiles(root / "plain").empty());
}

TEST(DocumentSteps, ZoomIsNoPartOfAStepAndAnEditThatChangesNoValueIsNoStep) {
  Document doc;
  doc.model().Meshes = std::vector<MeshRec>{RichModel().Meshes[0]};
  doc.model().ViewExtent = 10;
  ASSERT_FALSE(doc.Apply("move", [](Model& m) { m.Meshes.Edit(0).Center.x += 1; }));
  doc.model().ViewExtent = 55;  // zoomed after the edit
  ASSERT_TRUE(doc.Undo());
  EXPECT_EQ(doc.model().ViewExtent, 55);
  ASSERT_TRUE(doc.Redo());
  EXPECT_EQ(doc.model().ViewExtent, 55);

  doc.MarkSaved();
  const std::size_t steps = doc.HistorySteps();
  ASSERT_FALSE(doc.Apply("UPDATE", [](Model& m) {
    MeshRec& mesh = m.Meshes.Edit(0);
    mesh.Center.x = mesh.Center.x;  // written, but the same number
    m.Textures.resize(m.Textures.size());
  }));
  EXPECT_EQ(doc.HistorySteps(), steps);
  EXPECT_FALSE(doc.IsModified());
}

}  // namespace
}  // namespace tamsel
