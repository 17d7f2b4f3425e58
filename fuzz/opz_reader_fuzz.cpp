// The project file reader over arbitrary text: it must either read it or throw FileError,
// and what it reads must write out again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/file_error.h"
#include "model/opz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamsel::IdCounters ids;
  try {
    tamsel::ProjectData d = tamsel::ReadOpzText(
        std::string_view(reinterpret_cast<const char*>(data), size), ids, "fuzz.opz");
    tamsel::Model model;
    model.Meshes = std::move(d.meshes);
    model.Textures = std::move(d.textures);
    (void)tamsel::WriteOpzText(model);
  } catch (const tamsel::FileError&) {
  }
  return 0;
}
