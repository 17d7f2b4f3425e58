// The project file reader over arbitrary text: it must either read it or throw FileError,
// and what it accepts must save and read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/file_error.h"
#include "model/opz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamsel::IdCounters ids;
  tamsel::ProjectData d;
  try {
    d = tamsel::ReadOpzText(std::string_view(reinterpret_cast<const char*>(data), size), ids,
                            "fuzz.opz");
  } catch (const tamsel::FileError&) {
    return 0;
  }
  tamsel::Model model;
  model.Meshes = std::move(d.meshes);
  model.Textures = std::move(d.textures);
  // From here on an exception escapes, and libFuzzer reports it: an accepted project that
  // cannot be saved, or whose saved text reads back different, is a fault.
  const std::string saved = tamsel::WriteOpzText(model);
  tamsel::ProjectData again = tamsel::ReadOpzText(saved, ids, "saved.opz");
  tamsel::Model reread;
  reread.Meshes = std::move(again.meshes);
  reread.Textures = std::move(again.textures);
  if (tamsel::WriteOpzText(reread) != saved) std::abort();
  return 0;
}
