// The model import over bytes in memory: the first byte chooses the format the import
// library reads the rest as. It must read them or throw FileError. The library is a
// packaged one built without our instrumentation, so ./test runs this target over its seed
// corpus only: a crash inside it is reported to its makers, not fixed here.
#include <cstddef>
#include <cstdint>

#include "interchange/model_import.h"
#include "model/file_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const char* const kFormats[] = {"obj", "gltf", "glb", "stl", "ply", "3ds", "fbx", "dae"};
  if (size < 1) return 0;
  const char* format = kFormats[data[0] % 8];
  tamsel::IdCounters ids;
  try {
    tamsel::ReadModelBytes(tamsel::Bytes(data + 1, data + size), format, {}, ids);
  } catch (const tamsel::FileError&) {
  }
  return 0;
}
