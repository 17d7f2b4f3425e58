#include "model/progress.h"

#include <utility>

namespace tamsel {
namespace {

thread_local ProgressScope* current = nullptr;

}  // namespace

ProgressScope::ProgressScope(std::function<void(double)> report)
    : report_(std::move(report)), outer_(current) {
  current = this;
}

ProgressScope::~ProgressScope() {
  current = outer_;
}

void ReportProgress(std::int64_t done, std::int64_t total) {
  if (!current || !current->report_ || total <= 0) return;
  current->report_(static_cast<double>(done) / static_cast<double>(total));
}

}  // namespace tamsel
