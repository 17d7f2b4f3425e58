#include "app/controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QToolButton>

#include "app/row_list.h"

namespace tamsel {
namespace {

template <typename W>
W* Named(W* widget, const QString& name, const QString& tip = {}) {
  widget->setObjectName(name);
  if (!tip.isEmpty()) widget->setToolTip(tip);
  return widget;
}

}  // namespace

QLineEdit* TextBox(QWidget* parent, const QString& name, const QString& tip) {
  auto* box = Named(new QLineEdit(parent), name, tip);
  // Room for a Single's text as the boxes show it, a sign and eight digits.
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance("-0.36184406") + 12);
  return box;
}

RowList* ListBox(QWidget* parent, const QString& name, const QString& tip) {
  return Named(new RowList(parent), name, tip);
}

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& tip) {
  return Named(new QPushButton(caption, parent), name, tip);
}

QToolButton* PictureButton(QWidget* parent, const QString& name, const QString& glyph,
                           const QString& tip) {
  auto* button = Named(new QToolButton(parent), name, tip);
  button->setText(glyph);
  return button;
}

QLabel* Picture(QWidget* parent, const QString& name) {
  auto* picture = Named(new QLabel(parent), name);
  picture->setFrameShape(QFrame::StyledPanel);
  picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  picture->setMinimumSize(64, 64);
  return picture;
}

QFrame* Swatch(QWidget* parent, const QString& name) {
  auto* swatch = Named(new QFrame(parent), name);
  swatch->setFrameShape(QFrame::Box);
  swatch->setAutoFillBackground(true);
  swatch->setMinimumSize(24, 18);
  return swatch;
}

QScrollBar* Slider(QWidget* parent, const QString& name, int min, int max, int value) {
  auto* bar = Named(new QScrollBar(Qt::Horizontal, parent), name);
  bar->setRange(min, max);
  bar->setValue(value);
  return bar;
}

QComboBox* DropDown(QWidget* parent, const QString& name, const QString& tip,
                    const QStringList& items) {
  auto* combo = Named(new QComboBox(parent), name, tip);
  combo->addItems(items);
  return combo;
}

QCheckBox* CheckBox(QWidget* parent, const QString& name, const QString& caption) {
  return Named(new QCheckBox(caption, parent), name);
}

QRadioButton* Option(QWidget* parent, const QString& name, const QString& caption) {
  return Named(new QRadioButton(caption, parent), name);
}

QGroupBox* Frame(QWidget* parent, const QString& name, const QString& title) {
  return Named(new QGroupBox(title, parent), name);
}

XYZBoxes AddXYZRow(QGridLayout* grid, int row, QWidget* parent, const QString& caption,
                   const QString& stem, const QString& tipPattern) {
  grid->addWidget(new QLabel(caption, parent), row, 0);
  const char* axes[] = {"X", "Y", "Z"};
  QLineEdit* boxes[3];
  for (int i = 0; i < 3; ++i) {
    boxes[i] = TextBox(parent, axes[i] + stem, QString(tipPattern).replace("@", axes[i]));
    SetCaption(boxes[i], caption + " " + axes[i]);
    grid->addWidget(boxes[i], row, i + 1);
  }
  return {boxes[0], boxes[1], boxes[2]};
}

std::vector<RowList*> AddHeadedLists(QGridLayout* grid, QWidget* parent,
                                     const std::vector<HeadedList>& lists, int columns) {
  std::vector<RowList*> made;
  for (std::size_t i = 0; i < lists.size(); ++i) {
    RowList* list = ListBox(parent, lists[i].name, lists[i].tip);
    auto* heading = new QLabel(lists[i].heading, parent);
    heading->setBuddy(list);
    const int row = 2 * (static_cast<int>(i) / columns), column = static_cast<int>(i) % columns;
    grid->addWidget(heading, row, column);
    grid->addWidget(list, row + 1, column);
    grid->setRowStretch(row + 1, 1);
    made.push_back(list);
  }
  return made;
}

void BuddyRows(QGridLayout* grid) {
  for (int row = 0; row < grid->rowCount(); ++row) {
    QLayoutItem* caption = grid->itemAtPosition(row, 0);
    QLayoutItem* control = grid->itemAtPosition(row, 1);
    if (!caption || !control) continue;
    if (auto* label = qobject_cast<QLabel*>(caption->widget())) label->setBuddy(control->widget());
  }
}

void FollowBuddies(QWidget* root) {
  for (QLabel* label : root->findChildren<QLabel*>())
    if (label->buddy()) label->setVisible(!label->buddy()->isHidden());
}

QString Caption(const QWidget* control) {
  const QVariant caption = control->property("caption");
  if (caption.isValid()) return caption.toString();
  QString tip = control->toolTip();
  if (tip.isEmpty()) return control->objectName();
  if (const auto note = tip.indexOf(" ("); note > 0 && tip.endsWith(')')) tip.truncate(note);
  tip[0] = tip[0].toUpper();
  return tip;
}

void SetCaption(QWidget* control, const QString& caption) {
  control->setProperty("caption", caption);
}

void PrefixCaptions(QWidget* frame, const QString& prefix) {
  for (QLineEdit* box : frame->findChildren<QLineEdit*>()) {
    QString own = Caption(box);
    if (!own.isEmpty() && !own.startsWith(prefix)) own[0] = own[0].toLower();
    if (!own.startsWith(prefix)) SetCaption(box, prefix + " " + own);
  }
}

void MarkRefused(QLineEdit* box, bool refused) {
  // The mark is a property of its own, so that clearing it keeps a box's other looks.
  if (box->property("refused").toBool() == refused) return;
  box->setProperty("refused", refused);
  if (refused) {
    box->setProperty("plainStyle", box->styleSheet());
    box->setStyleSheet("QLineEdit { border: 2px solid red; }");
  } else {
    box->setStyleSheet(box->property("plainStyle").toString());
  }
}

void SetBackColor(QWidget* swatch, int r, int g, int b) {
  QPalette palette = swatch->palette();
  palette.setColor(QPalette::Window, QColor(r, g, b));
  swatch->setPalette(palette);
}

}  // namespace tamsel
