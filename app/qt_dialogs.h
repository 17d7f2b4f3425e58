#pragma once

#include "app/dialogs.h"

class QWidget;

namespace tamsel {

// The real dialogs, parented to the window.
class QtDialogs : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                  const QString& initial) override;
  void MessageBox(const QString& text, const QString& title) override;
  void Inform(const QString& text, const QString& title) override;
  Answer OkCancel(const QString& text, const QString& title) override;
  SaveAnswer AskSave(const QString& text, const QString& title) override;
  std::optional<QString> SaveFile(const QString& title, const QString& filter) override;
  std::optional<QString> ChooseFolder(const QString& title, const QString& start) override;
  std::optional<ModelImportChoice> ChooseModelImport() override;
  std::optional<QString> OpenFile(const QString& title, const QString& defaultExt,
                                  const QString& filter) override;
  std::optional<QColor> ChooseColor(const QColor& initial) override;
  void Beep() override;

 private:
  QWidget* parent_;
};

}  // namespace tamsel
