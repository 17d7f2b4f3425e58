#include "app/qt_dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <cmath>

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
  QMessageBox::warning(parent_, title, text, QMessageBox::Ok);
}

void QtDialogs::Inform(const QString& text, const QString& title) {
  QMessageBox::information(parent_, title, text, QMessageBox::Ok);
}

Dialogs::Answer QtDialogs::OkCancel(const QString& text, const QString& title) {
  // Cancel is the default: the question guards a deletion, and Return must not confirm it.
  return QMessageBox::question(parent_, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                               QMessageBox::Cancel) == QMessageBox::Ok
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

std::optional<QString> QtDialogs::ChooseFolder(const QString& title, const QString& start) {
  const QString path = QFileDialog::getExistingDirectory(
      parent_, title, start, QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtDialogs::SaveFile(const QString& title, const QString& filter) {
  const QString path =
      QFileDialog::getSaveFileName(parent_, title, QString(), filter.section('|', 0, 0), nullptr,
                                   QFileDialog::DontUseNativeDialog);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<Dialogs::ModelImportChoice> QtDialogs::ChooseModelImport() {
  QDialog dialog(parent_);
  dialog.setWindowTitle("import model");
  auto* form = new QFormLayout(&dialog);
  auto* up = new QComboBox(&dialog);
  up->addItems({"As the file says (Y where it says nothing)", "Y up, the front facing +Z",
                "Z up, the front facing -Y"});
  auto* scale = new QLineEdit("1", &dialog);
  auto* size = new QComboBox(&dialog);
  for (int s = 32; s <= 2048; s *= 2) size->addItem(QString::number(s));
  size->setCurrentText("256");
  auto* timeLimit = new QLineEdit("120", &dialog);
  timeLimit->setToolTip("The import library is ended if it takes longer; nothing is imported");
  auto* dither = new QCheckBox("Dither true-colour images", &dialog);
  dither->setChecked(true);
  auto* smooth = new QCheckBox(
      "Where the file has no normals, smooth them where faces meet at 30\u00b0 "
      "or less (else the plain mean)",
      &dialog);
  smooth->setObjectName("importsmooth");
  smooth->setChecked(true);
  form->addRow("Up axis of the file", up);
  form->addRow("Scale factor", scale);
  form->addRow("Largest texture side", size);
  form->addRow("Time limit (seconds)", timeLimit);
  form->addRow(dither);
  form->addRow(smooth);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  while (dialog.exec() == QDialog::Accepted) {
    bool ok = false;
    const double s = scale->text().toDouble(&ok);
    if (!ok || !(s > 0) || !std::isfinite(s)) {
      QMessageBox::warning(&dialog, "import model", "The scale factor must be a number above 0.");
      continue;
    }
    const int seconds = timeLimit->text().toInt(&ok);
    if (!ok || seconds < 1 || seconds > 86400) {
      QMessageBox::warning(&dialog, "import model",
                           "The time limit must be a whole number of seconds from 1 to 86400.");
      continue;
    }
    std::optional<bool> zUp;
    if (up->currentIndex() > 0) zUp = up->currentIndex() == 2;
    return ModelImportChoice{zUp,
                             s,
                             size->currentText().toInt(),
                             dither->isChecked(),
                             seconds,
                             smooth->isChecked() ? std::optional(30.0) : std::nullopt};
  }
  return std::nullopt;
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
