#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/controls.h"
#include "app/frames/frames.h"
#include "app/row_list.h"

namespace tamsel {
namespace {

// The transparency and illumination sub-frames are twins that differ in names and ranges.
struct ColorPanelNames {
  QString prefix;    // "trans" or "illum"
  QString strength;  // "opacity" or "brightness"
  int strengthMin, strengthMax, strengthStart;
  QString update;  // the UPDATE button's name
};

QWidget* BuildColorSubFrame(QWidget* parent, const ColorPanelNames& n) {
  const QString& p = n.prefix;
  auto* sub = Frame(parent, p + "subframe", "");
  auto* layout = new QGridLayout(sub);

  // The marked rows say which textures have colours in this table: they follow the model,
  // and a click only chooses the texture to show.
  RowList* textures = ListBox(sub, p + "texturelist");
  textures->setSelectionMode(QAbstractItemView::NoSelection);
  layout->addWidget(textures, 0, 0, 3, 1);
  layout->addWidget(Picture(sub, p + "textureviewer"), 0, 1, 1, 3);

  auto* tint = new QHBoxLayout;
  tint->addWidget(Swatch(sub, p + "tintdisplay"));
  tint->addWidget(TextBox(sub, p + "tinttext", "colour to add (R, G, B)"), 1);
  layout->addLayout(tint, 1, 1, 1, 3);

  auto* table = new QHBoxLayout;
  table->addWidget(ListBox(sub, p + "redtintlist"));
  table->addWidget(ListBox(sub, p + "greentintlist"));
  table->addWidget(ListBox(sub, p + "bluetintlist"));
  layout->addLayout(table, 2, 1, 1, 3);
  layout->addWidget(Button(sub, p + "removecolor", "Remove selected"), 3, 1, 1, 3);

  layout->addWidget(new QLabel(n.strength, sub), 4, 0);
  layout->addWidget(
      Slider(sub, p + n.strength + "bar", n.strengthMin, n.strengthMax, n.strengthStart), 4, 1);
  layout->addWidget(TextBox(sub, p + n.strength + "text", n.strength), 4, 2);
  layout->addWidget(Swatch(sub, p + n.strength + "display"), 4, 3);

  layout->addWidget(new QLabel("color tolerance", sub), 5, 0);
  layout->addWidget(Slider(sub, p + "colortolerancebar", 0, 255, 32), 5, 1);
  layout->addWidget(TextBox(sub, p + "colortolerancetext", "color tolerance"), 5, 2);

  layout->addWidget(Button(sub, n.update, "UPDATE"), 6, 3);
  layout->setRowStretch(2, 1);
  PrefixCaptions(sub, p == "trans" ? "Transparency" : "Illumination");
  return sub;
}

}  // namespace

QGroupBox* BuildTextureFrame(QWidget* parent) {
  auto* frame = Frame(parent, "textureframe", "Texture");
  auto* layout = new QVBoxLayout(frame);
  auto* stack = new QStackedWidget(frame);
  stack->setObjectName("texturesubstack");
  stack->addWidget(BuildColorSubFrame(stack, {"trans", "opacity", 0, 255, 0, "updatetextransbut"}));
  stack->addWidget(
      BuildColorSubFrame(stack, {"illum", "brightness", 1, 16, 8, "updatetexillumbut"}));
  layout->addWidget(stack);
  return frame;
}

}  // namespace tamsel
