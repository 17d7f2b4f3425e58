// The bitmap reader over arbitrary bytes: it must either read them or throw FileError.
#include <cstddef>
#include <cstdint>

#include "model/file_error.h"
#include "opt/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  try {
    const tamsel::Bitmap b = tamsel::DecodeBitmap(tamsel::Bytes(data, data + size), "fuzz.bmp");
    (void)tamsel::EncodeBitmap(b);
  } catch (const tamsel::FileError&) {
  }
  return 0;
}
