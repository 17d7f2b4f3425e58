// The view options under the viewport: whether dragging and the arrows turn or pan, and
// the box that takes the keyboard for the viewport.
#pragma once

#include <QGroupBox>

class QLineEdit;
class QRadioButton;

namespace tamsel {

class ViewOptions : public QGroupBox {
 public:
  explicit ViewOptions(QWidget* parent);
  bool RotateChosen() const;
  // Gives the viewport the keyboard again.
  void TakeKeys();
  // The box that stands for the viewport while it has the keyboard.
  const QLineEdit* KeyTaker() const { return taker_; }

 private:
  QRadioButton* rotate_ = nullptr;
  QRadioButton* pan_ = nullptr;
  QLineEdit* taker_ = nullptr;
};

}  // namespace tamsel
