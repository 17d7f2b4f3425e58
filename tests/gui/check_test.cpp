// The Check dock through the real window: findings after opening and after each edit, the
// count on the tab and in the status bar, a click that chooses the finding's element, a fix
// that is one undo step, and Create .OPT stopping to ask when the game could not load it.
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>

#include "app/check_panel.h"
#include "gui/project_fixture.h"
#include "opt/opt_writer.h"

namespace tamsel::test {
namespace {

class CheckTest : public ProjectTest {
 protected:
  CheckPanel& Panel() { return window->Shell().Checks(); }
  void Settle() {
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Panel().Busy(); }, 10000));
  }
  int Count(const std::string& code) {
    int n = 0;
    for (const Finding& f : Panel().Findings()) n += f.code == code;
    return n;
  }
  // The row of the first finding with this code, as the list shows it.
  QTreeWidgetItem* RowOf(const std::string& code) {
    auto* list = window->findChild<QTreeWidget*>("checklist");
    for (QTreeWidgetItemIterator it(list); *it; ++it) {
      const QVariant i = (*it)->data(0, Qt::UserRole);
      if (i.isValid() && Panel().Findings()[static_cast<std::size_t>(i.toInt())].code == code)
        return *it;
    }
    return nullptr;
  }
  // Clicks a fix button: it leaves `after` findings of `code`, and one undo brings back
  // `before`, so the fixes were one step.
  void ExpectOneStepAndItsUndo(QPushButton* button, const std::string& code, int after,
                               int before) {
    button->click();
    Settle();
    EXPECT_EQ(Count(code), after);
    Action("editundomenu")->trigger();
    Settle();
    EXPECT_EQ(Count(code), before);
  }
  void ClickRow(QTreeWidgetItem* row) {
    auto* list = window->findChild<QTreeWidget*>("checklist");
    window->Shell().ShowChecks();
    list->scrollToItem(row);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
  }
};

// The test project's faces are wound one way and their normals set the other; its
// hitzones are empty; its transparent red is not a colour of the game's 16-bit palette.
TEST_F(CheckTest, OpeningAProjectListsItsFindingsWithCountsOnTheTabAndTheStatusBar) {
  Open();
  Settle();
  EXPECT_EQ(Count("face-normal-backward"), 2) << "one per mesh";
  EXPECT_EQ(Count("hitzone-box"), 2);
  EXPECT_EQ(Count("transparent-colour-unused"), 1);
  const FindingCounts c = CountFindings(Panel().Findings());
  EXPECT_EQ(c.errors, 0);
  EXPECT_EQ(window->findChild<QDockWidget*>("checkdock")->windowTitle(),
            QString("Check (%1)").arg(c.warnings));
  EXPECT_EQ(window->findChild<QLabel*>("checkstatus")->text(),
            QString("Check: 0 errors, %1 warnings").arg(c.warnings));
}

TEST_F(CheckTest, ClickingAFindingChoosesItsFacesAndTheFixIsOneUndoStep) {
  Open();
  Settle();
  QTreeWidgetItem* row = RowOf("face-normal-backward");
  ASSERT_NE(row, nullptr);
  const Finding finding =
      Panel().Findings()[static_cast<std::size_t>(row->data(0, Qt::UserRole).toInt())];
  ClickRow(row);
  EXPECT_EQ(window->View().GeometryLevel, Geometry::Face);
  const int m = finding.element.mesh;
  for (int other = 0; other < window->Model().MeshCount(); ++other)
    EXPECT_EQ(window->Model().Meshes[static_cast<std::size_t>(other)].LODs[0].Selected != 0,
              other == m);
  for (const int f : finding.element.faces)
    EXPECT_TRUE(window->Model()
                    .Meshes[static_cast<std::size_t>(m)]
                    .LODs[0]
                    .Faces[static_cast<std::size_t>(f)]
                    .Selected);
  ASSERT_TRUE(window->Doc().focus().face);
  EXPECT_EQ(window->Doc().focus().face->mesh, m);

  auto* fix = window->findChild<QPushButton*>("checkfix");
  ASSERT_TRUE(fix->isEnabled());
  EXPECT_EQ(fix->text(), "Calculate face normals and software vectors");
  // The other mesh's faces are left alone.
  ExpectOneStepAndItsUndo(fix, "face-normal-backward", 1, 2);
}

// Every finding of a kind at once: both empty hitzones fitted in one undo step, the button
// saying how many; two chosen rows fixed together by the Fix button.
TEST_F(CheckTest, FixAllFixesEveryFindingOfTheChosenKindInOneStep) {
  Open();
  Settle();
  ASSERT_EQ(Count("hitzone-box"), 2);
  ClickRow(RowOf("hitzone-box"));
  auto* all = window->findChild<QPushButton*>("checkfixall");
  ASSERT_TRUE(all->isEnabled());
  EXPECT_EQ(all->text(), "Fit the hitzone box to the mesh: all 2");
  ExpectOneStepAndItsUndo(all, "hitzone-box", 0, 2);

  // The list takes several rows; Fix applies to the chosen ones of the kind.
  auto* list = window->findChild<QTreeWidget*>("checklist");
  list->clearSelection();
  for (QTreeWidgetItemIterator it(list); *it; ++it) {
    const QVariant i = (*it)->data(0, Qt::UserRole);
    if (i.isValid() &&
        Panel().Findings()[static_cast<std::size_t>(i.toInt())].code == "face-normal-backward")
      (*it)->setSelected(true);
  }
  list->setCurrentItem(RowOf("face-normal-backward"), 0, QItemSelectionModel::NoUpdate);
  ExpectOneStepAndItsUndo(window->findChild<QPushButton*>("checkfix"), "face-normal-backward", 0,
                          2);
}

TEST_F(CheckTest, TheProfileIsKeptAndChangesWhatIsAnError) {
  Open();
  Settle();
  // A texture of 512 x 512: past the original game's 256, fine for the patched game.
  Bitmap big;
  big.width = big.height = 512;
  big.palette[4 * 1 + 2] = 248;
  big.texels.assign(512 * 512, 1);
  WriteFileAtomic(dir / "red.BMP", EncodeBitmap(big));
  auto* profile = window->findChild<QComboBox*>("checkprofile");
  profile->setCurrentIndex(profile->findData("original"));
  Panel().Schedule();
  Settle();
  EXPECT_EQ(Count("texture-size"), 1);
  profile->setCurrentIndex(profile->findData("patched"));
  Settle();
  EXPECT_EQ(Count("texture-size"), 0);
  EXPECT_EQ(TamselWindow(dialogs).Shell().Checks().CurrentProfile(), Profile::Patched)
      << "the next window checks against the same game";
  profile->setCurrentIndex(profile->findData("original"));
}

TEST_F(CheckTest, CreateOptAsksBeforeWritingACraftTheGameCannotLoad) {
  Bitmap odd;
  odd.width = 8;
  odd.height = 6;  // not a power of two
  odd.texels.assign(48, 1);
  WriteFileAtomic(dir / "red.BMP", EncodeBitmap(odd));
  Open();
  const std::filesystem::path opt = OptFilePath(window->Model());
  dialogs.Push(Dialogs::Answer::Cancel);
  Action("optcreatemenu")->trigger();
  ASSERT_FALSE(dialogs.asked().empty());
  EXPECT_TRUE(dialogs.asked().back().text.contains("1 error the original game cannot load"))
      << dialogs.asked().back().text.toStdString();
  EXPECT_TRUE(dialogs.asked().back().text.contains("8 x 6"));
  EXPECT_FALSE(std::filesystem::exists(opt)) << "cancelled: nothing written";
  EXPECT_TRUE(window->findChild<QDockWidget*>("checkdock")->isVisible());
  dialogs.Push(Dialogs::Answer::Ok);
  Action("optcreatemenu")->trigger();
  EXPECT_TRUE(std::filesystem::exists(opt)) << "written when the user says so";
}

}  // namespace
}  // namespace tamsel::test

namespace tamsel::test {
namespace {

// A sphere of 800 faces with one level: the check notes it, and its fix, like the Calculate
// menu's command, makes the low level in one step.
TEST_F(CheckTest, AManyFacedMeshWithoutALowLevelGetsOneFromTheFixOrTheMenu) {
  Model sphere;
  sphere.Meshes.push_back(UvSphere(10, 20, 40, "red.BMP"));
  TextureRec red;
  red.Name = "red.BMP";
  sphere.Textures.push_back(red);
  WriteFileAtomic(dir / "p.opz", WriteOpzText(sphere));
  Open();
  Settle();
  ASSERT_EQ(Count("level-low-missing"), 1);
  ClickRow(RowOf("level-low-missing"));
  auto* fix = window->findChild<QPushButton*>("checkfix");
  ASSERT_TRUE(fix->isEnabled());
  EXPECT_EQ(fix->text(), "Generate the low level");
  fix->click();
  Settle();
  EXPECT_EQ(Count("level-low-missing"), 0);
  ASSERT_EQ(window->Model().Meshes[0].LODCount(), 2);
  // A quarter where 1 % of the sphere's size allows it; this coarse sphere allows fewer cuts.
  EXPECT_LT(window->Model().Meshes[0].LODs[1].FaceCount(), 800 * 3 / 4);
  Action("editundomenu")->trigger();
  Settle();
  EXPECT_EQ(window->Model().Meshes[0].LODCount(), 1);

  dialogs.Push(QString("0.5"));
  Action("generatelowdetailmenu")->trigger();
  ASSERT_EQ(window->Model().Meshes[0].LODCount(), 2);
  EXPECT_NEAR(window->Model().Meshes[0].LODs[1].FaceCount(), 400, 40);
  EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(
      "Generate Low Detail: 1 meshes, 800 faces at the high level"))
      << window->statusBar()->currentMessage().toStdString();
  EXPECT_EQ(Action("editundomenu")->text(), "Undo Generate Low Detail");
}

}  // namespace
}  // namespace tamsel::test
