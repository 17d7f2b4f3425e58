// Every modal interaction of the window goes through this interface, so that tests can
// script the answers and never block on a dialog.
#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace tamsel {

class Dialogs {
 public:
  enum class Answer { Ok, Cancel };
  enum class SaveAnswer { Save, Discard, Cancel };
  virtual ~Dialogs() = default;
  // The typed text; nullopt when cancelled.
  virtual std::optional<QString> InputBox(const QString& prompt, const QString& title,
                                          const QString& initial = {}) = 0;
  // A message about something that went wrong or was refused (a warning icon).
  virtual void MessageBox(const QString& text, const QString& title) = 0;
  // A plain report, such as the face count (an information icon).
  virtual void Inform(const QString& text, const QString& title) = 0;
  virtual Answer OkCancel(const QString& text, const QString& title) = 0;
  // Save, Discard or Cancel, for unsaved changes.
  virtual SaveAnswer AskSave(const QString& text, const QString& title) = 0;
  // The chosen full path; nullopt when cancelled. filter is "Description (*.ext)|*.ext".
  virtual std::optional<QString> OpenFile(const QString& title, const QString& defaultExt,
                                          const QString& filter) = 0;
  // A folder, starting in `start`; nullopt when cancelled.
  virtual std::optional<QString> ChooseFolder(const QString& title, const QString& start) = 0;
  // Where to save, for export; nullopt when cancelled. filter as for OpenFile.
  virtual std::optional<QString> SaveFile(const QString& title, const QString& filter) = 0;
  // The choices of "import model"; nullopt when cancelled.
  struct ModelImportChoice {
    std::optional<bool> zUp;  // none: as the file says (Y up where it says nothing)
    double scale = 1;
    int maxSize = 256;
    bool dither = true;
    int timeLimit = 120;  // seconds the import library may take before it is ended
    // Normals smoothed by this angle where the file has none; none: the plain mean.
    std::optional<double> smoothAngle = 30;
  };
  virtual std::optional<ModelImportChoice> ChooseModelImport() = 0;
  // The chosen colour; nullopt when cancelled.
  virtual std::optional<QColor> ChooseColor(const QColor& initial) = 0;
  virtual void Beep() = 0;
};

}  // namespace tamsel
