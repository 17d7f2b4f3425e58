// Small factories for the window's controls. Every control gets its name as the Qt object
// name, so handlers and tests find it with findChild.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QWidget;
class QLineEdit;
class QPushButton;
class QToolButton;
class QLabel;
class QFrame;
class QScrollBar;
class QComboBox;
class QCheckBox;
class QRadioButton;
class QGroupBox;
class QBoxLayout;
class QGridLayout;

namespace tamsel {

class RowList;
class PictureBox;

QLineEdit* TextBox(QWidget* parent, const QString& name, const QString& tip = {});
RowList* ListBox(QWidget* parent, const QString& name, const QString& tip = {});
QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& tip = {});
QToolButton* PictureButton(QWidget* parent, const QString& name, const QString& glyph,
                           const QString& tip);
QLabel* Picture(QWidget* parent, const QString& name);
QFrame* Swatch(QWidget* parent, const QString& name);
QScrollBar* Slider(QWidget* parent, const QString& name, int min, int max, int value);
QComboBox* DropDown(QWidget* parent, const QString& name, const QString& tip,
                    const QStringList& items);
QCheckBox* CheckBox(QWidget* parent, const QString& name, const QString& caption);
QRadioButton* Option(QWidget* parent, const QString& name, const QString& caption);
QGroupBox* Frame(QWidget* parent, const QString& name, const QString& title);

// Three boxes of one value: a position, a size, a vector.
struct XYZBoxes {
  QLineEdit* x = nullptr;
  QLineEdit* y = nullptr;
  QLineEdit* z = nullptr;
  QLineEdit* operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
};

// Three boxes named prefix X/Y/Z + stem ("Xspantext"), tips made from the pattern with
// "@" replaced by X, Y and Z, added to a grid row after a caption.
XYZBoxes AddXYZRow(QGridLayout* grid, int row, QWidget* parent, const QString& caption,
                   const QString& stem, const QString& tipPattern);

// A list under its heading, which shows and hides with it.
struct HeadedList {
  const char* name;
  const char* tip;
  const char* heading;
};
// Puts the lists into the grid `columns` to a row, each heading above its list; returns
// the lists in their order.
std::vector<RowList*> AddHeadedLists(QGridLayout* grid, QWidget* parent,
                                     const std::vector<HeadedList>& lists, int columns);

// Makes the caption in column 0 of each grid row the buddy label of the control in column
// 1, so that a caption can follow its control's visibility (see FollowBuddies).
void BuddyRows(QGridLayout* grid);
// Shows every buddy label under root exactly when its control is not hidden.
void FollowBuddies(QWidget* root);

// The name a message gives a control, as the user sees it ("Mesh translation X", "Engine
// glow inner colour R"): its caption when one was given, else its tool tip, else its name.
QString Caption(const QWidget* control);
void SetCaption(QWidget* control, const QString& caption);
// Gives every text box in the frame the caption "prefix " + its own ("Hardpoint position X").
void PrefixCaptions(QWidget* frame, const QString& prefix);

// Marks a box whose text was refused (a red frame), or clears the mark.
void MarkRefused(QLineEdit* box, bool refused);

// Sets the back colour of a swatch.
void SetBackColor(QWidget* swatch, int r, int g, int b);

}  // namespace tamsel
