// Work that runs code of a library we do not build (the model import library) in a child
// process: a crash there ends the child, not the command, which reports it and cleans up.
#pragma once

#include <filesystem>
#include <functional>

namespace tamsel {

// Runs `work` in a child process and returns its exit status. Throws std::runtime_error
// "the import library failed on FILE" when the child died of a signal.
int RunIsolated(const std::function<int()>& work, const std::filesystem::path& file);

}  // namespace tamsel
