// The busy pointer and, once a command has run longer than a moment, a progress bar in the
// status bar fed by the core's reports. The bar is painted at once on each report (the
// command holds the event loop), at most every few hundredths of a second.
#pragma once

#include <QElapsedTimer>

#include "app/event_watcher.h"
#include "model/progress.h"

class QProgressBar;

namespace tamsel {

class CommandProgress {
 public:
  CommandProgress(QProgressBar* bar, int delayMs);
  ~CommandProgress();
  CommandProgress(const CommandProgress&) = delete;
  CommandProgress& operator=(const CommandProgress&) = delete;

 private:
  void Report(double fraction);

  BusyPointer busy_;
  QProgressBar* bar_;
  int delayMs_;
  QElapsedTimer clock_;
  qint64 lastPaint_ = -1000;
  ProgressScope scope_;
};

}  // namespace tamsel
