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

  auto* corners = new QHBoxLayout;
  corners->addWidget(ListBox(sub, "Xvertexlist", "X vertex coords"));
  corners->addWidget(ListBox(sub, "Yvertexlist", "Y vertex coords"));
  corners->addWidget(ListBox(sub, "Zvertexlist", "Z vertex coords"));
  corners->addWidget(ListBox(sub, "Ivertnormlist", "I vertex normal coords"));
  corners->addWidget(ListBox(sub, "Jvertnormlist", "J vertex normal coords"));
  corners->addWidget(ListBox(sub, "Kvertnormlist", "K vertex normal coords"));
  layout->addLayout(corners, 1);

  auto* grid = new QGridLayout;
  int row = 0;
  grid->addWidget(new QLabel("Vertex", sub), row, 0);
  grid->addWidget(TextBox(sub, "Xvertextext"), row, 1);
  grid->addWidget(TextBox(sub, "Yvertextext"), row, 2);
  grid->addWidget(TextBox(sub, "Zvertextext"), row, 3);
  ++row;
  grid->addWidget(new QLabel("Vertex normal", sub), row, 0);
  grid->addWidget(TextBox(sub, "Ivertnormtext"), row, 1);
  grid->addWidget(TextBox(sub, "Jvertnormtext"), row, 2);
  grid->addWidget(TextBox(sub, "Kvertnormtext"), row, 3);
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

  auto* coords = new QHBoxLayout;
  coords->addWidget(ListBox(sub, "Ucoordlist", "U texture vertex coords"));
  coords->addWidget(ListBox(sub, "Vcoordlist", "V texture vertex coords"));
  layout->addLayout(coords, 0, 0);
  auto* files = new QVBoxLayout;
  auto* texturelist = new RowList(sub, false);
  texturelist->setObjectName("texturelist");
  files->addWidget(texturelist);
  files->addWidget(Picture(sub, "texturepreview"));
  layout->addLayout(files, 0, 1);
  layout->addWidget(Picture(sub, "textureviewer"), 0, 2);

  auto* boxes = new QGridLayout;
  boxes->addWidget(new QLabel("U, V", sub), 0, 0);
  boxes->addWidget(TextBox(sub, "Ucoordtext"), 0, 1);
  boxes->addWidget(TextBox(sub, "Vcoordtext"), 0, 2);
  AddXYZRow(boxes, 1, sub, "Vector 1", "1vectortext", "@1 software vector");
  AddXYZRow(boxes, 2, sub, "Vector 2", "2vectortext", "@2 software vector");
  BuddyRows(boxes);
  layout->addLayout(boxes, 1, 0, 1, 3);

  auto* fg = Frame(sub, "fgframe", "FG Color");
  auto* fgLayout = new QGridLayout(fg);
  auto* colours = new QButtonGroup(fg);
  const char* names[] = {"redfgsel", "yellowfgsel", "bluefgsel", "greenfgsel"};
  const char* captions[] = {"Red", "Yellow", "Blue", "Green"};
  const char* backs[] = {"#ff8080", "#ffff80", "#8080ff", "#80ff80"};
  for (int i = 0; i < 4; ++i) {
    auto* option = Option(fg, names[i], captions[i]);
    option->setStyleSheet(QString("background-color: %1").arg(backs[i]));
    colours->addButton(option, i);
    fgLayout->addWidget(option, 0, i);
  }
  colours->button(0)->setChecked(true);
  auto* onOff = new QButtonGroup(fg);
  auto* on = Option(fg, "fgonop", "FG on");
  auto* off = Option(fg, "fgoffop", "FG off");
  onOff->addButton(on);
  onOff->addButton(off);
  off->setChecked(true);
  fgLayout->addWidget(on, 1, 0);
  fgLayout->addWidget(off, 1, 1);
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
