#include "app/qt_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace tamsel {

std::optional<QString> QtDialogs::InputBox(const QString& prompt, const QString& title,
                                           const QString& initial) {
  bool ok = false;
  const QString text =
      QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, initial, &ok);
  if (!ok) return std::nullopt;
  return text;
}

void QtDialogs::MessageBox(const QString& text, const QString& title) {
  QMessageBox::information(parent_, title, text, QMessageBox::Ok);
}

Dialogs::Answer QtDialogs::OkCancel(const QString& text, const QString& title) {
  return QMessageBox::question(parent_, title, text, QMessageBox::Ok | QMessageBox::Cancel) ==
                 QMessageBox::Ok
             ? Answer::Ok
             : Answer::Cancel;
}

Dialogs::SaveAnswer QtDialogs::AskSave(const QString& text, const QString& title) {
  const auto button = QMessageBox::warning(
      parent_, title, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
      QMessageBox::Save);
  return button == QMessageBox::Save      ? SaveAnswer::Save
         : button == QMessageBox::Discard ? SaveAnswer::Discard
                                          : SaveAnswer::Cancel;
}

std::optional<QString> QtDialogs::OpenFile(const QString& title, const QString& /*defaultExt*/,
                                           const QString& filter) {
  // "OPZ file (*.opz)|*.opz": the part before the bar is what the dialog shows. File names
  // on Linux are case-sensitive, so the upper-case extension is offered as well.
  QString shown = filter.section('|', 0, 0);
  const QString pattern = filter.section('|', 1, 1);
  if (!pattern.isEmpty() && pattern != pattern.toUpper())
    shown.replace("(" + pattern + ")", "(" + pattern + " " + pattern.toUpper() + ")");
  const QString path = QFileDialog::getOpenFileName(parent_, title, QString(), shown, nullptr,
                                                    QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QColor> QtDialogs::ChooseColor(const QColor& initial) {
  const QColor color = QColorDialog::getColor(initial, parent_);
  if (!color.isValid()) return std::nullopt;
  return color;
}

void QtDialogs::Beep() {
  QApplication::beep();
}

}  // namespace tamsel
