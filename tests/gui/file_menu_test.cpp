#include <QAction>
#include <QUrl>
#include <filesystem>
#include <random>

#include "gui/project_fixture.h"
#include "model/project.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"

namespace tamsel::test {
namespace {

namespace fs = std::filesystem;

class FileMenuTest : public ProjectTest {
 protected:
  void SetUp() override {
    ProjectTest::SetUp();
    window->Model().StartFolder = dir.path().string();
  }
  void Trigger(const char* item) { Action(item)->trigger(); }
  bool Enabled(const char* item) { return Action(item)->isEnabled(); }
  QString LastMessage() {
    return dialogs.asked().empty() ? QString() : dialogs.asked().back().text;
  }
};

TEST_F(FileMenuTest, NewProjectAsksForANameAndRefusesUnsafeOnes) {
  dialogs.Push(std::monostate{});  // Cancel
  Trigger("opznewmenu");
  EXPECT_TRUE(window->Model().ProjectPath.empty());
  EXPECT_FALSE(Enabled("optimportmenu"));
  for (const char* bad : {"..", "a/b", "."}) {
    dialogs.Push(QString(bad));
    Trigger("opznewmenu");
    EXPECT_TRUE(LastMessage().contains("cannot be a folder name")) << bad;
  }
  EXPECT_TRUE(window->Model().ProjectPath.empty());
  EXPECT_EQ(dialogs.asked()[0].text, "Name new project");
  EXPECT_EQ(dialogs.asked()[0].title, "New Project");

  // A bare name: the folder it goes into is asked for, never the folder the program started in.
  dialogs.Push(QString("ship"));
  dialogs.Push(QString::fromStdString(dir.path().string()));
  Trigger("opznewmenu");
  EXPECT_EQ(dialogs.asked().back().kind, "folder");
  EXPECT_EQ(dialogs.asked().back().title, "Where to make the project 'ship'");
  EXPECT_EQ(fs::path(window->Model().ProjectPath), dir / "ship");
  EXPECT_TRUE(fs::is_directory(dir / "ship"));
  EXPECT_FALSE(Enabled("saveopzmenu"));
  EXPECT_FALSE(Enabled("optcreatemenu"));
  EXPECT_TRUE(Enabled("optimportmenu") && Enabled("opzimportmenu") && Enabled("dxfimportmenu"));
  EXPECT_FALSE(Find("geometryframe")->isVisible());
  // The tool bar lays its buttons out, hidden ones too, as events come.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Button("dispbar_mesh")->isVisible(); }, 3000));
}

TEST_F(FileMenuTest, OverwritingAFolderRemovesOnlyThePreviousProjectAndCancelChangesNothing) {
  Open();
  fs::create_directories(dir / "old" / "keep");
  WriteFileAtomic(dir / "old" / "x.txt", std::string("x"));
  WriteFileAtomic(dir / "old" / "photo.png", std::string("the user's"));
  // A previous project there: its file and the bitmap it names are its own.
  Model previous;
  previous.ProjectPath = (dir / "old").string();
  MeshRec mesh;
  mesh.LODs.resize(1);
  mesh.LODs[0].Faces.resize(1);
  mesh.LODs[0].Faces[0].TextureNames = {"hull.BMP", kBlank, kBlank, kBlank, ""};
  previous.Meshes.push_back(mesh);
  SaveProject(previous);
  WriteFileAtomic(dir / "old" / "hull.BMP", std::string("bitmap"));
  dialogs.Push(QString("old"));
  dialogs.Push(QString::fromStdString(dir.path().string()));
  dialogs.Push(Dialogs::Answer::Cancel);
  Trigger("opznewmenu");
  // The chooser starts in the last project's parent folder.
  EXPECT_EQ(fs::path(dialogs.asked()[1].text.toStdString()), dir.path().parent_path());
  EXPECT_EQ(dialogs.asked()[2].text, "The folder 'old' already exists.  Overwrite?");
  EXPECT_EQ(dialogs.asked()[2].title, "Folder Overwrite");
  EXPECT_EQ(window->Model().MeshCount(), 2);
  EXPECT_TRUE(Enabled("saveopzmenu"));
  EXPECT_TRUE(Find("geometryframe")->isVisible());
  EXPECT_TRUE(fs::exists(dir / "old" / "x.txt"));

  dialogs.Push(QString("old"));
  dialogs.Push(QString::fromStdString(dir.path().string()));
  dialogs.Push(Dialogs::Answer::Ok);
  Trigger("opznewmenu");
  EXPECT_EQ(window->Model().MeshCount(), 0);
  EXPECT_FALSE(fs::exists(dir / "old" / "old.opz"));
  EXPECT_FALSE(fs::exists(dir / "old" / "hull.BMP"));
  EXPECT_EQ(ReadFileText(dir / "old" / "x.txt"), "x");
  EXPECT_EQ(ReadFileText(dir / "old" / "photo.png"), "the user's");
  EXPECT_FALSE(fs::exists(dir / "old" / "temp.txt"));
  EXPECT_TRUE(fs::is_directory(dir / "old" / "keep"));
  EXPECT_EQ(L("meshlist")->ListCount(), 0);
  EXPECT_EQ(L("facelist")->ListCount(), 0);
  EXPECT_EQ(L("transtexturelist")->ListCount(), 0);
}

TEST_F(FileMenuTest, OpenSaveOpenGivesTheSameProjectAndSavingBeeps) {
  dialogs.Push(QString::fromStdString((dir / "p.opz").string()));
  Trigger("opzopenmenu");
  EXPECT_EQ(dialogs.asked()[0].title, "open .OPZ file");
  EXPECT_TRUE(dialogs.asked()[0].text.contains("OPZ file (*.opz)|*.opz"));
  ASSERT_EQ(window->Model().MeshCount(), 2);
  window->Model().Meshes.Edit(1).LODs[0].Distance = 2.5f;
  Trigger("saveopzmenu");
  EXPECT_EQ(dialogs.beeps(), 1);
  const fs::path saved = ProjectFilePath(dir.path());
  ASSERT_TRUE(fs::exists(saved));
  dialogs.Push(QString::fromStdString(saved.string()));
  Trigger("opzopenmenu");
  EXPECT_EQ(window->Model().Meshes[1].LODs[0].Distance, 2.5f);
  EXPECT_EQ(L("meshlist")->List(0), "Left");
}

TEST_F(FileMenuTest, ImportsAppendCreateWritesTheFolderNamedFileAndBadFilesChangeNothing) {
  Open();
  Trigger("optcreatemenu");
  EXPECT_EQ(dialogs.beeps(), 1);
  const fs::path opt = dir / (dir.path().filename().string() + ".opt");
  ASSERT_TRUE(fs::exists(opt));
  EXPECT_EQ(dialogs.asked().size(), 0u) << "no message after create";

  for (int i = 0; i < 2; ++i) {
    dialogs.Push(QString::fromStdString(opt.string()));
    Trigger("optimportmenu");
  }
  EXPECT_EQ(window->Model().MeshCount(), 6);
  EXPECT_EQ(L("meshlist")->List(5), "MESH 6");
  EXPECT_EQ(L("transtexturelist")->ListCount(), 3);
  EXPECT_EQ(L("illumtexturelist")->List(2),
            QString::fromStdString(window->Model().Textures[2].Name));  // by file name
  EXPECT_EQ(dialogs.asked().back().title, "import .OPT file");

  Bytes broken = ReadFileBytes(opt);
  broken.resize(broken.size() / 2);
  WriteFileAtomic(dir / "broken.opt", broken);
  const auto before = dir.Snapshot();
  dialogs.Push(QString::fromStdString((dir / "broken.opt").string()));
  Trigger("optimportmenu");
  EXPECT_TRUE(LastMessage().contains("broken.opt, byte")) << LastMessage().toStdString();
  EXPECT_EQ(window->Model().MeshCount(), 6);
  EXPECT_EQ(L("meshlist")->ListCount(), 6);
  EXPECT_EQ(dir.Snapshot(), before);

  dialogs.Push(QString::fromStdString((dir / "p.opz").string()));
  Trigger("opzimportmenu");
  EXPECT_EQ(window->Model().MeshCount(), 8);
  EXPECT_EQ(L("transtexturelist")->List(3), "red.BMP");
  EXPECT_TRUE(window->Model().Meshes[0].LODs[0].Selected);

  const std::string dxf =
      "0\nSECTION\n2\nENTITIES\n0\n3DFACE\n8\nFIN\n10\n0\n20\n0\n30\n5\n11\n1\n21\n0\n31\n5\n12\n1"
      "\n22\n1\n32\n5\n0\nENDSEC\n";
  WriteFileAtomic(dir / "fin.dxf", dxf);
  dialogs.Push(QString::fromStdString((dir / "fin.dxf").string()));
  Trigger("dxfimportmenu");
  EXPECT_EQ(L("meshlist")->List(8), "FIN");
  EXPECT_EQ(window->Model().Textures.back().Name, "default.bmp");
  EXPECT_TRUE(fs::exists(dir / "default.bmp"));
}

// What the desktop hands over when a file is double-clicked: a path or a file:// URI. A
// project opens and joins the recent projects; an OPT file with no project open becomes a
// new project, named by the New Project prompt, holding its import.
TEST_F(FileMenuTest, FilesFromTheDesktopOpenOrImportIntoANewProject) {
  const QString project = QString::fromStdString((dir / "p.opz").string());
  window->Files().OpenFromDesktop(QUrl::fromLocalFile(project).toString());
  EXPECT_EQ(window->Model().MeshCount(), 2);
  EXPECT_EQ(window->Files().RecentProjects().value(0), project);

  Model craft = PickModel();
  craft.ProjectPath = dir.path().string();
  const std::filesystem::path opt = dir / "craft.opt";
  std::mt19937 random(1);
  WriteFileAtomic(opt, WriteOptBytes(craft, ProjectBitmaps(craft), random));
  TamselWindow fresh(dialogs);
  const std::filesystem::path target = dir / "from-desktop";
  dialogs.Push(QString::fromStdString(target.string()));  // the New Project prompt
  fresh.Files().OpenFromDesktop(QString::fromStdString(opt.string()));
  EXPECT_EQ(std::filesystem::path(fresh.Model().ProjectPath), target);
  EXPECT_EQ(fresh.Model().MeshCount(), 2) << "the OPT file's meshes, imported";

  TamselWindow cancelled(dialogs);
  dialogs.Push(std::monostate{});  // the prompt cancelled: nothing is made
  cancelled.Files().OpenFromDesktop(QString::fromStdString(opt.string()));
  EXPECT_TRUE(cancelled.Model().ProjectPath.empty());
}

TEST_F(FileMenuTest, ColourItemsStartFromTheSettingAndCancelKeepsIt) {
  dialogs.Push(std::monostate{});
  Trigger("normalcolormenu");
  EXPECT_EQ(dialogs.asked()[0].text, QColor(255, 0, 255).name());
  EXPECT_EQ(window->Colors().NormalColor, (ColorTriple{255, 0, 255}));
  dialogs.Push(QColor(1, 2, 3));
  Trigger("rotationdegreecolormenu");
  EXPECT_EQ(window->Colors().RotationDegreeColor, (ColorTriple{1, 2, 3}));
}

TEST_F(FileMenuTest, FaceCountCountsBothLevels) {
  Trigger("facecountmenu");
  EXPECT_EQ(LastMessage(), "0 Faces");
  EXPECT_EQ(dialogs.asked().back().title, "Face Count");
  Open();
  window->Model().Meshes.Edit(0).LODs.push_back(window->Model().Meshes.Edit(1).LODs[0]);
  Trigger("facecountmenu");
  EXPECT_EQ(LastMessage(), "6 Faces");
}

TEST_F(FileMenuTest, AnImportKeepsTheUsersFilesSaysSoAndItsUndoTakesItsFilesBack) {
  Open();
  Trigger("optcreatemenu");
  const fs::path opt = dir / (dir.path().filename().string() + ".opt");
  // A picture of the user's where the import's first bitmap would go.
  IdCounters ids;
  const auto names = ReadOptImport(ReadFileBytes(opt), opt.string(), ids, 0).bitmaps;
  ASSERT_FALSE(names.empty());
  WriteFileAtomic(dir / names[0].first, std::string("the user's own"));
  const auto before = dir.Snapshot();
  dialogs.Push(QString::fromStdString(opt.string()));
  Trigger("optimportmenu");
  EXPECT_EQ(window->Model().MeshCount(), 4);
  EXPECT_EQ(dialogs.asked().back().title, "import .OPT: files kept");
  EXPECT_TRUE(dialogs.asked().back().text.contains("stays as it is"));
  EXPECT_EQ(ReadFileText(dir / names[0].first), "the user's own");
  const auto after = dir.Snapshot();

  Action("editundomenu")->trigger();
  EXPECT_EQ(window->Model().MeshCount(), 2);
  EXPECT_EQ(dir.Snapshot(), before);
  Action("editredomenu")->trigger();
  EXPECT_EQ(window->Model().MeshCount(), 4);
  EXPECT_EQ(dir.Snapshot(), after);
}

}  // namespace
}  // namespace tamsel::test
