// The DXF reader over arbitrary text: it must either read it or throw FileError, and the
// meshes it reads (their names come from layer names) must save as a project.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "dxf/dxf_import.h"
#include "model/file_error.h"
#include "model/opz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamsel::IdCounters ids;
  tamsel::Model model;
  try {
    model.Meshes = tamsel::ReadDxfFaces(std::string_view(reinterpret_cast<const char*>(data), size),
                                        "fuzz.dxf", ids);
  } catch (const tamsel::FileError&) {
    return 0;
  }
  (void)tamsel::WriteOpzText(model);  // a FileError escaping here is a fault
  return 0;
}
