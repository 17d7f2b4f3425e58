// Dialogs that answer from a script and record what was asked, so that no test blocks on a
// modal dialog. An interaction without a scripted answer fails the test and cancels.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <variant>

#include "app/dialogs.h"

namespace tamsel::test {

struct Asked {
  QString kind, text, title;
};

class ScriptedDialogs : public Dialogs {
 public:
  using Reply = std::variant<std::monostate, QString, Answer, QColor, SaveAnswer,
                             ModelImportChoice>;  // monostate = cancel

  void Push(Reply reply) { replies_.push_back(std::move(reply)); }
  const std::vector<Asked>& asked() const { return asked_; }
  int beeps() const { return beeps_; }

  std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                  const QString&) override {
    return Take<QString>("input", prompt, title);
  }
  void MessageBox(const QString& text, const QString& title) override {
    asked_.push_back({"message", text, title});
  }
  void Inform(const QString& text, const QString& title) override { MessageBox(text, title); }
  Answer OkCancel(const QString& text, const QString& title) override {
    return Take<Answer>("okcancel", text, title).value_or(Answer::Cancel);
  }
  std::optional<QString> ChooseFolder(const QString& title, const QString& start) override {
    return Take<QString>("folder", start, title);
  }
  std::optional<QString> SaveFile(const QString& title, const QString& filter) override {
    return Take<QString>("save file", filter, title);
  }
  std::optional<ModelImportChoice> ChooseModelImport() override {
    return Take<ModelImportChoice>("model import", "", "import model");
  }
  SaveAnswer AskSave(const QString& text, const QString& title) override {
    return Take<SaveAnswer>("save", text, title).value_or(SaveAnswer::Cancel);
  }
  std::optional<QString> OpenFile(const QString& title, const QString& ext,
                                  const QString& filter) override {
    return Take<QString>("open", ext + " " + filter, title);
  }
  std::optional<QColor> ChooseColor(const QColor& initial) override {
    return Take<QColor>("color", initial.name(), "");
  }
  void Beep() override { ++beeps_; }

 private:
  template <typename T>
  std::optional<T> Take(const QString& kind, const QString& text, const QString& title) {
    asked_.push_back({kind, text, title});
    if (replies_.empty()) {
      ADD_FAILURE() << "unscripted " << kind.toStdString() << ": " << text.toStdString();
      return std::nullopt;
    }
    Reply reply = replies_.front();
    replies_.pop_front();
    if (const T* value = std::get_if<T>(&reply)) return *value;
    return std::nullopt;
  }

  std::deque<Reply> replies_;
  std::vector<Asked> asked_;
  int beeps_ = 0;
};

}  // namespace tamsel::test
