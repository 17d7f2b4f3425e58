// The Check dock's panel: the craft check's findings grouped by severity, re-run in the
// background after every edit, with the element of a finding chosen on a click and its fix
// applied as one undo step.
#pragma once

#include <QFutureWatcher>
#include <QWidget>
#include <memory>
#include <vector>

#include "check/bitmap_facts.h"
#include "check/craft_check.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class QTreeWidget;

namespace tamsel {

class TamselWindow;

class CheckPanel : public QWidget {
  Q_OBJECT
 public:
  explicit CheckPanel(TamselWindow& window);
  ~CheckPanel() override;

  // Checks again once edits pause; the result replaces the list when it comes. `opened`: a
  // project was opened or made, and the check waits until the craft is on show.
  void Schedule(bool opened = false);
  // Checks now, waiting for the result (before Create .OPT).
  const std::vector<Finding>& CheckNow();
  // Whether a check is waiting or running.
  bool Busy() const;

  Profile CurrentProfile() const;
  const std::vector<Finding>& Findings() const { return findings_; }
  // The tab's and the status bar's words: "Check (3)", "Check: 1 error, 2 warnings".
  QString TabTitle() const;
  QString StatusText() const;

  // Chooses the element of finding i in the viewport and the panels.
  void ShowFinding(int i);
  // Applies the fix of finding i as one undo step; false when it has none or was refused.
  bool FixFinding(int i);
  // Applies, as one undo step, the fixes of every finding with the same fix as finding i
  // (those chosen in the list alone, when `chosenOnly`); false when none changed anything.
  bool FixAllLike(int i, bool chosenOnly = false);

 signals:
  void Counted();  // new findings are on show

 private:
  void Start();
  void Show(std::vector<Finding> findings);
  int Chosen() const;

  TamselWindow& window_;
  QComboBox* profile_;
  QTreeWidget* list_;
  QPushButton* fix_;
  QPushButton* fixAll_;
  void FollowChoice();
  QLabel* summary_;
  QTimer* pause_;
  QFutureWatcher<std::vector<Finding>> watcher_;
  std::shared_ptr<BitmapFactsCache> bitmaps_ = std::make_shared<BitmapFactsCache>();
  std::vector<Finding> findings_;
  bool running_ = false;  // from the start of a check until its findings are on show
  bool again_ = false;    // a change came while a check ran
  bool stale_ = false;    // the running check was overtaken by CheckNow
};

}  // namespace tamsel
