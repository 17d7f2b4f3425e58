// A model file read as the import reads it, for the interchange tests.
#pragma once

#include <filesystem>

#include "interchange/model_import.h"

namespace tamsel::test {

inline ModelImportResult Read(const std::filesystem::path& file,
                              const ModelImportOptions& options = {}) {
  IdCounters ids;
  return ReadModelFile(file, options, ids, {});
}

}  // namespace tamsel::test
