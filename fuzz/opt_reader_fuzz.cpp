// The OPT import's reader over arbitrary bytes: it must either read them or throw FileError.
#include <cstddef>
#include <cstdint>

#include "model/file_error.h"
#include "opt/opt_import.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamsel::IdCounters ids;
  try {
    tamsel::ReadOptImport(tamsel::Bytes(data, data + size), "fuzz.opt", ids, 0);
  } catch (const tamsel::FileError&) {
  }
  return 0;
}
