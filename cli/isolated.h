// Work that runs code of a library we do not build (the model import library) in a child
// process: a crash there ends the child, not the command, which reports it and cleans up.
// The child never outlives the command: it dies with it, and it is ended past a time or
// memory limit.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>

namespace tamsel {

struct IsolationLimits {
  double seconds = 120;        // wall-clock time the child may take
  std::int64_t megabytes = 0;  // resident memory it may use; 0: half the machine's memory
};

// Runs `work` in a child process and returns its exit status. Throws std::runtime_error
// "the import library failed on FILE" when the child died of a signal, "the import library
// did not finish FILE within N s" or "FILE needs more than N MB" when it was ended at a
// limit.
int RunIsolated(const std::function<int()>& work, const std::filesystem::path& file,
                const IsolationLimits& limits = {});

// In the child: whether the command that started it is gone, so that nothing may be
// committed any more. Always false outside a child.
bool IsolatedParentGone();

}  // namespace tamsel
