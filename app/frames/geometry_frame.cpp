#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/controls.h"
#include "app/frames/frames.h"
#include "app/row_list.h"

namespace tamsel {
namespace {

QWidget* BuildGeometrySubFrame(QWidget* parent) {
  auto* sub = Frame(parent, "geometrysubframe", "");
  auto* layout = new QVBoxLayout(sub);

  // Positions above normals, three lists a row, so that a row's corner and value can be
  // read; each list has its heading, which shows and hides with it.
  auto* corners = new QGridLayout;
  const char* const lists[6][3] = {{"Xvertexlist", "X vertex coords", "X"},
                                   {"Yvertexlist", "Y vertex coords", "Y"},
                                   {"Zvertexlist", "Z vertex coords", "Z"},
                                   {"Ivertnormlist", "I vertex normal coords", "Normal I"},
                                   {"Jvertnormlist", "J vertex normal coords", "Normal J"},
                                   {"Kvertnormlist", "K vertex normal coords", "Normal K"}};
  for (int i = 0; i < 6; ++i) {
    RowList* list = ListBox(sub, lists[i][0], lists[i][1]);
    auto* heading = new QLabel(lists[i][2], sub);
    heading->setBuddy(list);
    corners->addWidget(heading, 2 * (i / 3), i % 3);
    corners->addWidget(list, 2 * (i / 3) + 1, i % 3);
  }
  corners->setRowStretch(1, 1);
  corners->setRowStretch(3, 1);
  layout->addLayout(corners, 1);

  auto* grid = new QGridLayout;
  int row = 0;
  grid->addWidget(new QLabel("Vertex", sub), row, 0);
  grid->addWidget(TextBox(sub, "Xvertextext", "vertex X"), row, 1);
  grid->addWidget(TextBox(sub, "Yvertextext", "vertex Y"), row, 2);
  grid->addWidget(TextBox(sub, "Zvertextext", "vertex Z"), row, 3);
  ++row;
  grid->addWidget(new QLabel("Vertex normal", sub), row, 0);
  grid->addWidget(TextBox(sub, "Ivertnormtext", "vertex normal I"), row, 1);
  grid->addWidget(TextBox(sub, "Jvertnormtext", "vertex normal J"), row, 2);
  grid->addWidget(TextBox(sub, "Kvertnormtext", "vertex normal K"), row, 3);
  AddXYZRow(grid, ++row, sub, "Mesh translation", "meshtext", "mesh translation @");
  AddXYZRow(grid, ++row, sub, "Mesh rotation", "meshangletext", "mesh rotation @");
  grid->addWidget(new QLabel("Mesh scale / distance", sub), ++row, 0);
  grid->addWidget(TextBox(sub, "meshsizetext", "mesh scale (%)"), row, 1);
  grid->addWidget(TextBox(sub, "meshloddisttext", "cloaking distance (km)"), row, 2);
  AddXYZRow(grid, ++row, sub, "Face translation", "facetext", "face translation @");
  AddXYZRow(grid, ++row, sub, "Face rotation", "faceangletext", "face rotation @");
  grid->addWidget(new QLabel("Face scale", sub), ++row, 0);
  grid->addWidget(TextBox(sub, "facesizetext", "face scale (%)"), row, 1);
  grid->addWidget(new QLabel("Face normal", sub), ++row, 0);
  grid->addWidget(TextBox(sub, "Ifacenormtext", "I face normal"), row, 1);
  grid->addWidget(TextBox(sub, "Jfacenormtext", "J face normal"), row, 2);
  grid->addWidget(TextBox(sub, "Kfacenormtext", "K face normal"), row, 3);
  BuddyRows(grid);
  // UPDATE moves and scales meshes and sets normals; these boxes only show the selection.
  for (const char* name :
       {"Xmeshangletext", "Ymeshangletext", "Zmeshangletext", "Xfacetext", "Yfacetext", "Zfacetext",
        "Xfaceangletext", "Yfaceangletext", "Zfaceangletext", "facesizetext"}) {
    auto* box = sub->findChild<QLineEdit*>(name);
    box->setReadOnly(true);
    box->setStyleSheet("QLineEdit { background: palette(window); }");  // looks shown-only
    box->setToolTip(box->toolTip() + " (shown only: UPDATE does not apply it)");
  }
  layout->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button(sub, "meshdeletebut", "Delete"));
  buttons->addWidget(Button(sub, "lodassignmentbut", "Assign LOD"));
  buttons->addStretch(1);
  buttons->addWidget(Button(sub, "updategeogeobut", "UPDATE"));
  layout->addLayout(buttons);
  return sub;
}

QWidget* BuildTextureSubFrame(QWidget* parent) {
  auto* sub = Frame(parent, "texturesubframe", "");
  auto* layout = new QGridLayout(sub);

  auto* coords = new QGridLayout;
  const char* const lists[2][3] = {{"Ucoordlist", "U texture vertex coords", "U"},
                                   {"Vcoordlist", "V texture vertex coords", "V"}};
  for (int i = 0; i < 2; ++i) {
    RowList* list = ListBox(sub, lists[i][0], lists[i][1]);
    auto* heading = new QLabel(lists[i][2], sub);
    heading->setBuddy(list);
    coords->addWidget(heading, 0, i);
    coords->addWidget(list, 1, i);
  }
  layout->addLayout(coords, 0, 0);
  auto* files = new QVBoxLayout;
  auto* texturelist = new RowList(sub, false);
  texturelist->setObjectName("texturelist");
  // Wide enough for a name an import gives ("sample_TEX00012.BMP") to read whole.
  texturelist->setMinimumWidth(texturelist->fontMetrics().horizontalAdvance("sample_TEX00012.BMP") +
                               texturelist->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 8);
  files->addWidget(texturelist);
  files->addWidget(Picture(sub, "texturepreview"));
  layout->addLayout(files, 0, 1);
  layout->addWidget(Picture(sub, "textureviewer"), 0, 2);

  auto* boxes = new QGridLayout;
  boxes->addWidget(new QLabel("U, V", sub), 0, 0);
  boxes->addWidget(TextBox(sub, "Ucoordtext", "texture coordinate U"), 0, 1);
  boxes->addWidget(TextBox(sub, "Vcoordtext", "texture coordinate V"), 0, 2);
  AddXYZRow(boxes, 1, sub, "Vector 1", "1vectortext", "@1 software vector");
  AddXYZRow(boxes, 2, sub, "Vector 2", "2vectortext", "@2 software vector");
  BuddyRows(boxes);
  layout->addLayout(boxes, 1, 0, 1, 3);

  auto* fg = Frame(sub, "fgframe", "FG Color");
  auto* fgLayout = new QGridLayout(fg);
  fgLayout->setHorizontalSpacing(2);
  fgLayout->setContentsMargins(4, 4, 4, 4);
  auto* colours = new QButtonGroup(fg);
  const char* names[] = {"redfgsel", "yellowfgsel", "bluefgsel", "greenfgsel"};
  const char* captions[] = {"Red", "Yellow", "Blue", "Green"};
  const char* backs[] = {"#ff8080", "#ffff80", "#8080ff", "#80ff80"};
  for (int i = 0; i < 4; ++i) {
    auto* option = Option(fg, names[i], captions[i]);
    option->setStyleSheet(QString("background-color: %1").arg(backs[i]));
    colours->addButton(option, i);
    fgLayout->addWidget(option, 0, i);
    fgLayout->setColumnStretch(i, 1);
  }
  colours->button(0)->setChecked(true);
  auto* onOff = new QButtonGroup(fg);
  auto* on = Option(fg, "fgonop", "FG on");
  auto* off = Option(fg, "fgoffop", "FG off");
  onOff->addButton(on);
  onOff->addButton(off);
  off->setChecked(true);
  // One row: the panel must fit a window of the smallest size.
  fgLayout->addWidget(on, 0, 4);
  fgLayout->addWidget(off, 0, 5);
  layout->addWidget(fg, 2, 0, 1, 3);

  auto* stitch = Frame(sub, "stitchframe", "Stitching");
  auto* stitchLayout = new QHBoxLayout(stitch);
  auto* smart = Button(stitch, "smartstitchbut", "Smart",
                       "Smart stitching is not available: use Front/Back, Top/Bottom or Side");
  smart->setEnabled(false);
  stitchLayout->addWidget(smart);
  stitchLayout->addWidget(Button(stitch, "frontstitchbut", "Front/Back"));
  stitchLayout->addWidget(Button(stitch, "topstitchbut", "Top/Bottom"));
  stitchLayout->addWidget(Button(stitch, "sidestitchbut", "Side"));
  layout->addWidget(stitch, 3, 0, 1, 3);

  auto* tools = new QHBoxLayout;
  tools->addWidget(
      PictureButton(sub, "texccrotatebut", "\u21ba", "rotate coordinates counter-clockwise"));
  tools->addWidget(PictureButton(sub, "texcrotatebut", "\u21bb", "rotate coordinates clockwise"));
  tools->addWidget(PictureButton(sub, "texhflipbut", "\u21c6", "mirror U"));
  tools->addWidget(PictureButton(sub, "texvflipbut", "\u21c5", "mirror V"));
  tools->addStretch(1);
  tools->addWidget(Button(sub, "updategeotexbut", "UPDATE"));
  layout->addLayout(tools, 4, 0, 1, 3);
  return sub;
}

}  // namespace

QGroupBox* BuildGeometryFrame(QWidget* parent) {
  auto* frame = Frame(parent, "geometryframe", "Geometry");
  auto* layout = new QVBoxLayout(frame);
  auto* lists = new QHBoxLayout;
  lists->addWidget(ListBox(frame, "meshlist", "Mesh List"));
  lists->addWidget(ListBox(frame, "facelist", "Face List"));
  layout->addLayout(lists, 1);
  auto* stack = new QStackedWidget(frame);
  stack->setObjectName("geometrysubstack");
  stack->addWidget(BuildGeometrySubFrame(stack));
  stack->addWidget(BuildTextureSubFrame(stack));
  layout->addWidget(stack, 3);
  return frame;
}

}  // namespace tamsel
