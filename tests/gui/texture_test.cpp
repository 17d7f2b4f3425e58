#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <filesystem>

#include "gui/project_fixture.h"
#include "opt/opt_writer.h"
#include "support/opt_bytes.h"

namespace tamsel::test {
namespace {

class TextureTest : public ProjectTest {
 protected:
  void SelectFace(int row) {
    Press("face");
    ClickRow("facelist", row);
  }
  QWidget* W(const char* name) { return Find<QWidget>(name); }
};

TEST_F(TextureTest, AssigningABitmapWritesTheChosenSlotAndRegistersItOnce) {
  Bitmap green = PlainBitmap(4, 4);
  WriteFileAtomic(dir / "green.BMP", EncodeBitmap(green));
  WriteFileAtomic(dir / "broken.bmp", std::string("BMnot really"));
  Open();
  SelectFace(0);
  const int row = [&] {
    for (int i = 0; i < L("texturelist")->ListCount(); ++i)
      if (L("texturelist")->List(i) == "green.BMP") return i;
    return -1;
  }();
  ASSERT_GE(row, 0);
  ClickRow("texturelist", row);
  EXPECT_FALSE(Find<QLabel>("texturepreview")->pixmap().isNull());
  QTest::mouseClick(Find<QRadioButton>("yellowfgsel"), Qt::LeftButton);
  EXPECT_EQ(window->View().FlightGroupColor, 1);
  QTest::mouseClick(W("updategeotexbut"), Qt::LeftButton);
  // Read afresh after each edit: an edit gives the mesh a new record, and the history keeps
  // the old one.
  const auto face = [&]() -> const FaceRec& { return window->Model().Meshes[0].LODs[0].Faces[0]; };
  EXPECT_EQ(face().TextureNames[1], "green.BMP");
  EXPECT_EQ(face().TextureNames[0], "red.BMP");
  ASSERT_EQ(window->Model().TextureCount(), 2);
  EXPECT_EQ(L("transtexturelist")->List(1), "green.BMP");
  QTest::mouseClick(W("updategeotexbut"), Qt::LeftButton);  // again: no second record
  EXPECT_EQ(window->Model().TextureCount(), 2);

  // A file that is no 8-bit bitmap is refused with a message, and nothing is assigned.
  for (int i = 0; i < L("texturelist")->ListCount(); ++i)
    if (L("texturelist")->List(i) == "broken.bmp") ClickRow("texturelist", i);
  QTest::mouseClick(W("updategeotexbut"), Qt::LeftButton);
  EXPECT_TRUE(dialogs.asked().back().text.contains("broken.bmp"))
      << dialogs.asked().back().text.toStdString();
  EXPECT_EQ(window->Model().TextureCount(), 2);
  EXPECT_EQ(face().TextureNames[1], "green.BMP");

  // FG off, clicked by the user, blanks the variants of the selected faces and picks red.
  QTest::mouseClick(Find<QRadioButton>("fgoffop"), Qt::LeftButton);
  EXPECT_EQ(face().TextureNames[1], "BLANK");
  EXPECT_EQ(face().TextureNames[0], "red.BMP");
  EXPECT_TRUE(Find<QRadioButton>("redfgsel")->isChecked());
  EXPECT_EQ(window->View().FlightGroupColor, 0);
}

TEST_F(TextureTest, TransparencyPanelPicksColoursAndUpdateReachesTheOptFile) {
  Open();
  Button("propbar_texture")->click();
  ClickRow("transtexturelist", 0);
  EXPECT_EQ(L("transredtintlist")->ListCount(), 1);  // the project's (255, 0, 0)
  auto* viewer = Find<QLabel>("transtextureviewer");
  // Column 0 is black; (3, 3) is red, shown marked in magenta but picked as red.
  // The pointer's moves go to the viewer itself: a move of the X pointer arrives (or not)
  // as the server pleases.
  const auto moveTo = [&](QPoint at) {
    QMouseEvent move(QEvent::MouseMove, at, viewer->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(viewer, &move);
  };
  moveTo(QPoint(3, 3));
  EXPECT_EQ(Text("transtinttext"), "255, 0, 0");
  moveTo(QPoint(0, 1));
  EXPECT_EQ(Text("transtinttext"), "0, 0, 0");
  QTest::mouseClick(viewer, Qt::LeftButton, {}, QPoint(0, 1));
  EXPECT_EQ(L("transredtintlist")->ListCount(), 2);
  EXPECT_EQ(L("transbluetintlist")->List(1), "0");
  moveTo(QPoint(30, 30));  // outside the 8 x 8 picture
  EXPECT_EQ(Text("transtinttext"), "");
  QTest::mouseClick(viewer, Qt::LeftButton, {}, QPoint(30, 30));
  EXPECT_EQ(L("transredtintlist")->ListCount(), 2);

  ClickRow("transgreentintlist", 0);
  EXPECT_EQ(L("transbluetintlist")->ListIndex(), 0);
  EXPECT_EQ(Text("transtinttext"), "255, 0, 0");
  QTest::mouseClick(W("transremovecolor"), Qt::LeftButton);
  EXPECT_EQ(L("transredtintlist")->ListCount(), 1);
  EXPECT_EQ(L("transgreentintlist")->List(0), "0");

  auto* opacity = Find<QLineEdit>("transopacitytext");
  opacity->clear();
  QTest::keyClicks(opacity, "300");
  // "3" and "30" reach the slider; "300" is out of its range: refused, the box marked.
  EXPECT_EQ(Find<QScrollBar>("transopacitybar")->value(), 30);
  EXPECT_TRUE(opacity->styleSheet().contains("red"));
  opacity->clear();
  QTest::keyClicks(opacity, "100");
  EXPECT_EQ(Find<QScrollBar>("transopacitybar")->value(), 100);
  QTest::mouseClick(W("updatetextransbut"), Qt::LeftButton);
  const TextureRec& t = window->Model().Textures[0];
  EXPECT_EQ(t.TransOpacity, 100);
  ASSERT_EQ(t.TransColors.size(), 1u);
  EXPECT_EQ(t.TransColors[0], (RGB{0, 0, 0}));
  EXPECT_TRUE(L("transtexturelist")->Selected(0));

  // The OPT file: the texture has an alpha node with 100 on the black texels.
  Action("optcreatemenu")->trigger();
  const Bytes b = ReadFileBytes(OptFilePath(window->Model()));
  const std::size_t group = Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0);
  const std::size_t node = Child(b, group, 0);
  ASSERT_EQ(test::L(b, node + 4), 20);
  ASSERT_EQ(test::L(b, node + 8), 1);
  const std::size_t alpha = P(b, node + 33);
  EXPECT_EQ(test::L(b, alpha + 4), 26);
  const std::size_t texels = node + 37 + 24;
  for (std::size_t i = 0; i < 64; ++i)
    EXPECT_EQ(b[alpha + 24 + i], b[texels + i] == 0 ? 100 : 255) << i;
}

TEST_F(TextureTest, ClickingATextureRowKeepsTheMarksOfTheOthers) {
  Model model = PickModel();
  model.Textures.Edit(0).TransOpacity = 100;  // red.BMP has transparent colours
  TextureRec green;
  green.Name = "green.BMP";
  model.Textures.push_back(green);
  WriteFileAtomic(dir / "green.BMP", EncodeBitmap(PlainBitmap(4, 4)));
  WriteFileAtomic(dir / "p.opz", WriteOpzText(model));
  Open();
  Button("propbar_texture")->click();
  ASSERT_EQ(L("transtexturelist")->ListCount(), 2);
  EXPECT_TRUE(L("transtexturelist")->Selected(0));
  ClickRow("transtexturelist", 1);
  EXPECT_EQ(L("transtexturelist")->ListIndex(), 1);  // green.BMP is the one shown
  EXPECT_TRUE(L("transtexturelist")->Selected(0)) << "the click cleared red.BMP's mark";
  EXPECT_FALSE(L("transtexturelist")->Selected(1));
  ClickRow("transtexturelist", 0, Qt::ControlModifier);
  EXPECT_TRUE(L("transtexturelist")->Selected(0));
}

TEST_F(TextureTest, IlluminationUpdateStoresBrightnessAndColours) {
  Open();
  Button("propbar_texture")->click();
  Button("propbar_subillumination")->click();
  ClickRow("illumtexturelist", 0);
  QTest::mouseClick(Find<QLabel>("illumtextureviewer"), Qt::LeftButton, {}, QPoint(3, 3));
  auto* brightness = Find<QLineEdit>("illumbrightnesstext");
  brightness->clear();
  QTest::keyClicks(brightness, "16");
  EXPECT_EQ(Find<QScrollBar>("illumbrightnessbar")->value(), 16);
  QTest::mouseClick(W("updatetexillumbut"), Qt::LeftButton);
  const TextureRec& t = window->Model().Textures[0];
  EXPECT_EQ(t.IllumBrightness, 16);
  ASSERT_EQ(t.IllumColors.size(), 1u);
  EXPECT_EQ(t.IllumColors[0], (RGB{255, 0, 0}));
  EXPECT_EQ(Find("illumbrightnessdisplay")->palette().color(QPalette::Window),
            QColor(255, 255, 255));
  // The palette: red keeps its brightest level (255, 64, 64) at every level.
  Action("optcreatemenu")->trigger();
  const Bytes b = ReadFileBytes(OptFilePath(window->Model()));
  const std::size_t node = Child(b, Child(b, Child(b, Child(b, P(b, 22), 5), 3), 0), 0);
  const std::size_t palette = P(b, node + 33);
  for (int level = 0; level < 16; ++level)
    EXPECT_EQ(U16(b, palette + 512 * static_cast<std::size_t>(level) + 2), 0xFA08);
}

}  // namespace
}  // namespace tamsel::test
