// How far a long command is. The caller (the window) installs a reporter on its thread for
// the command's duration; the core's long loops report per mesh or texture. With no
// reporter installed a report costs one test, so the core reports unconditionally and
// keeps its signatures free of progress parameters.
#pragma once

#include <cstdint>
#include <functional>

namespace tamsel {

class ProgressScope {
 public:
  // fraction runs from 0 to 1 within each stage of the command (reading, then settling...).
  explicit ProgressScope(std::function<void(double fraction)> report);
  ~ProgressScope();
  ProgressScope(const ProgressScope&) = delete;
  ProgressScope& operator=(const ProgressScope&) = delete;

 private:
  friend void ReportProgress(std::int64_t done, std::int64_t total);
  std::function<void(double)> report_;
  ProgressScope* outer_;
};

// done of total units of the current stage; nothing when no scope is installed.
void ReportProgress(std::int64_t done, std::int64_t total);

}  // namespace tamsel
