// The hitzone, rotation, hardpoint and engine-glow frames and the view options.
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/controls.h"
#include "app/frames/frames.h"
#include "app/row_list.h"
#include "editing/type_names.h"

namespace tamsel {
namespace {

template <std::size_t N>
QStringList Names(const std::array<std::string_view, N>& names, const QString& suffix = {}) {
  QStringList list;
  for (std::string_view name : names)
    list << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) + suffix;
  return list;
}

}  // namespace

QGroupBox* BuildHitzoneFrame(QWidget* parent) {
  auto* frame = Frame(parent, "hitzoneframe", "Hitzone");
  auto* grid = new QGridLayout(frame);
  grid->addWidget(new QLabel("Mesh type", frame), 0, 0);
  grid->addWidget(DropDown(frame, "meshtypetext", "mesh type", Names(kMeshTypeNames)), 0, 1, 1, 3);
  grid->addWidget(new QLabel("Explosion type", frame), 1, 0);
  grid->addWidget(DropDown(frame, "exptypetext", "explosion type", Names(kExplosionTypeNames)), 1,
                  1, 1, 3);
  AddXYZRow(grid, 2, frame, "Span", "spantext", "@ span");
  AddXYZRow(grid, 3, frame, "Center", "centertext", "@ center");
  AddXYZRow(grid, 4, frame, "Minimum", "mintext", "@ minimum");
  AddXYZRow(grid, 5, frame, "Maximum", "maxtext", "@ maximum");
  grid->addWidget(new QLabel("Target ID", frame), 6, 0);
  grid->addWidget(TextBox(frame, "targetidtext", "target ID"), 6, 1);
  AddXYZRow(grid, 7, frame, "Target", "targettext", "@ target");
  grid->addWidget(Button(frame, "updatehitbut", "UPDATE"), 8, 3);
  grid->setRowStretch(9, 1);
  PrefixCaptions(frame, "Hitzone");
  return frame;
}

QGroupBox* BuildRotationFrame(QWidget* parent) {
  auto* frame = Frame(parent, "rotationframe", "Rotation");
  auto* grid = new QGridLayout(frame);
  AddXYZRow(grid, 0, frame, "Pivot", "pivottext", "@ pivot");
  AddXYZRow(grid, 1, frame, "Rotation axis", "axistext", "@ rotation");
  AddXYZRow(grid, 2, frame, "Translation", "aimtext", "@ translation");
  AddXYZRow(grid, 3, frame, "Scale", "degreetext", "@ scale");
  grid->addWidget(Button(frame, "updaterotbut", "UPDATE"), 4, 3);
  auto* animate = Frame(frame, "rotationanimframe", "Animate");
  auto* row = new QHBoxLayout(animate);
  row->addWidget(CheckBox(animate, "rotanimaxis", "Rotation"));
  row->addWidget(CheckBox(animate, "rotanimaim", "Translation"));
  row->addWidget(CheckBox(animate, "rotanimdegree", "Scale"));
  row->addStretch(1);  // a box takes clicks on its own text only: keep it no wider
  grid->addWidget(animate, 5, 0, 1, 4);
  grid->setRowStretch(6, 1);
  PrefixCaptions(frame, "Rotation");
  return frame;
}

QGroupBox* BuildHardpointFrame(QWidget* parent) {
  auto* frame = Frame(parent, "hardpointframe", "Hardpoint");
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(ListBox(frame, "hardpointlist", "Hardpoint List"), 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button(frame, "hpaddbut", "Add HP"));
  buttons->addWidget(Button(frame, "hpdeletebut", "Delete"));
  buttons->addWidget(Button(frame, "hpsetfacebut", "Set to Face"));
  buttons->addWidget(Button(frame, "hpsetvertexbut", "Set to Vertex"));
  layout->addLayout(buttons);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("Type", frame), 0, 0);
  grid->addWidget(
      DropDown(frame, "hardpointtypetext", "hardpoint type", Names(kHardpointTypeNames, " ")), 0, 1,
      1, 3);
  AddXYZRow(grid, 1, frame, "Position", "hptext", "@ position");
  grid->addWidget(Button(frame, "updatehpbut", "UPDATE"), 2, 3);
  layout->addLayout(grid);
  PrefixCaptions(frame, "Hardpoint");
  return frame;
}

QGroupBox* BuildEngineGlowFrame(QWidget* parent) {
  auto* frame = Frame(parent, "engineglowframe", "Engine Glow");
  auto* layout = new QVBoxLayout(frame);
  layout->addWidget(ListBox(frame, "engineglowlist", "Engine Glow List"), 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(Button(frame, "egaddbut", "Add EG"));
  buttons->addWidget(Button(frame, "egsetfacebut", "Set to Face"));
  buttons->addWidget(Button(frame, "egdeletebut", "Delete"));
  layout->addLayout(buttons);

  auto* grid = new QGridLayout;
  const char* channels[] = {"R", "G", "B", "A"};
  grid->addWidget(new QLabel("Inner", frame), 0, 0);
  grid->addWidget(new QLabel("Outer", frame), 1, 0);
  for (int c = 0; c < 4; ++c) {
    const QString channel = channels[c];
    QLineEdit* inner = TextBox(frame, channel + "eginnertext", "inner " + channel);
    QLineEdit* outer = TextBox(frame, channel + "egoutertext", "outer " + channel);
    SetCaption(inner, "inner colour " + channel);
    SetCaption(outer, "outer colour " + channel);
    grid->addWidget(inner, 0, c + 1);
    grid->addWidget(outer, 1, c + 1);
  }
  auto* inner = Swatch(frame, "eginnerdisplay");
  auto* outer = Swatch(frame, "egouterdisplay");
  inner->setCursor(Qt::PointingHandCursor);
  outer->setCursor(Qt::PointingHandCursor);
  grid->addWidget(inner, 0, 5);
  grid->addWidget(outer, 1, 5);
  AddXYZRow(grid, 2, frame, "Position", "egtext", "@ position");
  grid->addWidget(new QLabel("Size", frame), 3, 0);
  grid->addWidget(TextBox(frame, "Widthegtext", "width"), 3, 1);
  grid->addWidget(TextBox(frame, "Heightegtext", "height"), 3, 2);
  grid->addWidget(TextBox(frame, "Lengthegtext", "length"), 3, 3);
  const char* abc[] = {"A", "B", "C"};
  for (int d = 1; d <= 3; ++d) {
    grid->addWidget(new QLabel(QString("Density %1").arg(d), frame), 3 + d, 0);
    for (int k = 0; k < 3; ++k)
      grid->addWidget(TextBox(frame, QString("%1density%2egtext").arg(abc[k]).arg(d),
                              QString("density %1%2").arg(d).arg(abc[k])),
                      3 + d, k + 1);
  }
  grid->addWidget(Button(frame, "updateegbut", "UPDATE"), 7, 4, 1, 2);
  layout->addLayout(grid);
  PrefixCaptions(frame, "Engine glow");
  return frame;
}

QGroupBox* BuildViewOptionFrame(QWidget* parent) {
  auto* frame = Frame(parent, "viewopframe", "");
  auto* row = new QHBoxLayout(frame);
  auto* rotate = Option(frame, "rotateop", "Rotate");
  rotate->setChecked(true);
  row->addWidget(rotate);
  row->addWidget(Option(frame, "panop", "Pan"));
  row->addStretch(1);
  // Exists only to take the keyboard focus, so that keys reach the window's key handling.
  auto* taker = TextBox(frame, "focustaker");
  taker->setFixedSize(0, 0);
  taker->setFocusPolicy(Qt::StrongFocus);
  row->addWidget(taker);
  return frame;
}

}  // namespace tamsel
