#include "app/panels/panel_input.h"

#include "app/dialogs.h"

#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <cmath>

#include "app/panels/panel_host.h"
#include "app/row_list.h"
#include "model/number_text.h"

namespace tamsel {

std::optional<double> ReadNumber(QLineEdit* box, PanelHost& host) {
  auto value = ParseDouble(box->text().toStdString());
  // Every number is stored as a Single: one beyond its range would be stored as infinity.
  const bool fits = value && std::isfinite(static_cast<float>(*value));
  MarkRefused(box, !fits);
  if (!value)
    host.Status("\"" + box->text() + "\" in " + Caption(box) + " is not a number");
  else if (!fits)
    host.Status("\"" + box->text() + "\" in " + Caption(box) + " is too large to be stored");
  if (!fits) value.reset();
  return value;
}

std::optional<Single3> ReadNumbers(const XYZBoxes& boxes, PanelHost& host) {
  float v[3];
  for (int a = 0; a < 3; ++a) {
    const auto n = ReadNumber(boxes[a], host);
    if (!n) return std::nullopt;
    v[a] = static_cast<float>(*n);
  }
  return Single3{v[0], v[1], v[2]};
}

std::optional<std::int64_t> ReadWhole(QLineEdit* box, std::int64_t lo, std::int64_t hi,
                                      PanelHost& host, const QString& what) {
  const auto n = ParseInteger(box->text().toStdString());
  const bool ok = n && *n >= lo && *n <= hi;
  MarkRefused(box, !ok);
  if (!ok) {
    host.Status("\"" + box->text() + "\" in " + Caption(box) + " is not " + what);
    return std::nullopt;
  }
  return n;
}

std::optional<double> AskNumber(Dialogs& ask, const QString& prompt, const QString& title,
                                double initial, bool (*valid)(double), const QString& expected) {
  const auto typed = ask.InputBox(prompt, title, QString::number(initial));
  if (!typed) return std::nullopt;
  const auto number = ParseDouble(typed->toStdString());
  if (number && valid(*number)) return number;
  ask.MessageBox("\"" + *typed + "\" is not " + expected, title);
  return std::nullopt;
}

QString NumberText(float value) {
  return QString::fromStdString(FormatSingle(value));
}

void ShowNumbers(const XYZBoxes& boxes, const Single3& value) {
  boxes.x->setText(NumberText(value.x));
  boxes.y->setText(NumberText(value.y));
  boxes.z->setText(NumberText(value.z));
}

void BoxToSlider(QLineEdit* box, QScrollBar* bar) {
  const auto n = ParseInteger(box->text().toStdString());
  const bool ok = n && *n >= bar->minimum() && *n <= bar->maximum();
  MarkRefused(box, !ok);
  if (ok) bar->setValue(static_cast<int>(*n));
}

// A code outside the list shows as one extra entry holding the number, so that it is
// visible and kept until another entry is chosen.
void ShowCode(QComboBox* combo, int code, int known) {
  while (combo->count() > known) combo->removeItem(combo->count() - 1);
  if (code >= 0 && code < known) {
    combo->setCurrentIndex(code);
    return;
  }
  combo->addItem(QString::number(code));
  combo->setCurrentIndex(known);
}

}  // namespace tamsel
