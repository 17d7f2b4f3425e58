// Reading fields of written OPT files in tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <map>
#include <string>

#include "model/file_error.h"
#include "opt/bitmap.h"
#include "opt/opt_writer.h"

namespace tamsel::test {

inline std::int32_t L(const Bytes& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, &b.at(at + 3) - 3, 4);
  return v;
}
inline float F(const Bytes& b, std::size_t at) {
  float v;
  std::memcpy(&v, &b.at(at + 3) - 3, 4);
  return v;
}
inline std::uint16_t U16(const Bytes& b, std::size_t at) {
  return static_cast<std::uint16_t>(b.at(at) | b.at(at + 1) << 8);
}
// The file offset a pointer at `at` names (the writer's pointers are offsets + 100).
inline std::size_t P(const Bytes& b, std::size_t at) {
  return static_cast<std::size_t>(L(b, at) - 100);
}
inline std::string Name8(const Bytes& b, std::size_t at) {
  return std::string(reinterpret_cast<const char*>(&b.at(at)), 8);
}
// Child k (from 0) of the node at `node`, through its children pointer.
inline std::size_t Child(const Bytes& b, std::size_t node, int k) {
  return static_cast<std::size_t>(L(b, P(b, node + 12) + 4 * static_cast<std::size_t>(k)) - 100);
}

// Bitmaps kept in memory by texture name.
struct MemoryBitmaps {
  std::map<std::string, Bitmap> bitmaps;
  BitmapLoader Loader() const {
    return [this](const TextureRec& t) {
      auto it = bitmaps.find(t.Name);
      if (it == bitmaps.end()) throw FileError(t.Name, "", "no such bitmap");
      return it->second;
    };
  }
};

inline Bitmap PlainBitmap(int w, int h, std::uint8_t shade = 0) {
  Bitmap b;
  b.width = w;
  b.height = h;
  for (int k = 0; k < 256; ++k) {
    b.palette[static_cast<std::size_t>(4 * k)] = static_cast<std::uint8_t>(k);
    b.palette[static_cast<std::size_t>(4 * k + 1)] = static_cast<std::uint8_t>(k ^ shade);
    b.palette[static_cast<std::size_t>(4 * k + 2)] = static_cast<std::uint8_t>(255 - k);
  }
  for (int i = 0; i < w * h; ++i) b.texels.push_back(static_cast<std::uint8_t>(i % 251));
  return b;
}

}  // namespace tamsel::test
