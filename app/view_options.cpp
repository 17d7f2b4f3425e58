#include "app/view_options.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

#include "app/controls.h"

namespace tamsel {

ViewOptions::ViewOptions(QWidget* parent) : QGroupBox(parent) {
  setObjectName("viewopframe");
  auto* row = new QHBoxLayout(this);
  rotate_ = Option(this, "rotateop", "Rotate");
  rotate_->setChecked(true);
  row->addWidget(rotate_);
  row->addWidget(pan_ = Option(this, "panop", "Pan"));
  row->addStretch(1);
  // Exists only to take the keyboard focus, so that keys reach the window's key handling.
  taker_ = TextBox(this, "focustaker");
  taker_->setFixedSize(0, 0);
  taker_->setFocusPolicy(Qt::StrongFocus);
  row->addWidget(taker_);
  // After choosing Rotate or Pan the arrow keys must reach the viewport again.
  for (QRadioButton* option : {rotate_, pan_})
    connect(option, &QRadioButton::released, this, [this] { TakeKeys(); });
}

bool ViewOptions::RotateChosen() const {
  return rotate_->isChecked();
}

void ViewOptions::TakeKeys() {
  taker_->setFocus();
}

}  // namespace tamsel
