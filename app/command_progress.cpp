#include "app/command_progress.h"

#include <QApplication>

#include <QLayout>
#include <QProgressBar>
#include <QStatusBar>
#include <algorithm>

namespace tamsel {

BusyPointer::BusyPointer() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyPointer::~BusyPointer() {
  QApplication::restoreOverrideCursor();
}

CommandProgress::CommandProgress(QProgressBar* bar, int delayMs)
    : bar_(bar), delayMs_(delayMs), scope_([this](double f) { Report(f); }) {
  clock_.start();
}

CommandProgress::~CommandProgress() {
  if (bar_) bar_->hide();
}

void CommandProgress::Report(double fraction) {
  if (!bar_ || clock_.elapsed() < delayMs_) return;
  const qint64 now = clock_.elapsed();
  if (bar_->isHidden()) {
    bar_->show();
    // No event loop runs until the command ends: lay the status bar out now.
    if (auto* status = qobject_cast<QStatusBar*>(bar_->parentWidget()))
      if (status->layout()) status->layout()->activate();
  }
  bar_->setValue(static_cast<int>(std::clamp(fraction, 0.0, 1.0) * 100));
  if (now - lastPaint_ >= 40) {
    bar_->repaint();
    lastPaint_ = now;
  }
}

}  // namespace tamsel
