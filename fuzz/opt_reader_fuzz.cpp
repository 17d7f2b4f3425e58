// The OPT import's reader over arbitrary bytes: it must either read them or throw FileError,
// and an OPT written from what it accepts must read back.
#include <cstddef>
#include <cstdint>
#include <map>

#include "model/file_error.h"
#include "opt/opt_import.h"
#include "opt/opt_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  tamsel::IdCounters ids;
  tamsel::OptImportResult read;
  try {
    read = tamsel::ReadOptImport(tamsel::Bytes(data, data + size), "fuzz.opt", ids, 0);
  } catch (const tamsel::FileError&) {
    return 0;
  }
  tamsel::Model model;
  model.Meshes = std::move(read.meshes);
  model.Textures = std::move(read.textures);
  std::map<std::string, tamsel::Bitmap> bitmaps(read.bitmaps.begin(), read.bitmaps.end());
  const tamsel::BitmapLoader load = [&](const tamsel::TextureRec& t) {
    const auto it = bitmaps.find(t.Name);
    if (it == bitmaps.end()) throw tamsel::FileError(t.Name, "", "no such bitmap");
    return it->second;
  };
  tamsel::Bytes written;
  std::mt19937 random(1);
  try {
    written = tamsel::WriteOptBytes(model, load, random);
  } catch (const tamsel::FileError&) {
    return 0;  // refused with a message (a face naming a texture the file does not hold)
  }
  // What the writer wrote, its reader must take: an exception here is a fault.
  tamsel::ReadOptImport(written, "written.opt", ids, 0);
  return 0;
}
