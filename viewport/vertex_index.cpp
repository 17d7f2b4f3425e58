#include "viewport/vertex_index.h"

#include <cstring>

namespace tamsel {

IndexedVertices IndexVertices(const std::vector<float>& run, int stride) {
  IndexedVertices out;
  const auto width = static_cast<std::size_t>(stride);
  const std::size_t count = width ? run.size() / width : 0;
  out.indices.reserve(count);
  std::size_t size = 16;
  while (size < 2 * count) size <<= 1;
  // Slots hold a distinct vertex's index plus one; 0 is empty.
  std::vector<std::uint32_t> table(size, 0);
  const std::size_t mask = size - 1;
  for (std::size_t i = 0; i < count; ++i) {
    const float* v = run.data() + i * width;
    std::uint64_t h = 0;
    for (std::size_t k = 0; k < width; ++k) {
      std::uint32_t bits;
      std::memcpy(&bits, v + k, sizeof bits);
      h = (h ^ bits) * 0x9E3779B97F4A7C15ull;
    }
    for (std::size_t slot = (h ^ (h >> 31)) & mask;; slot = (slot + 1) & mask) {
      if (table[slot] == 0) {
        const auto index = static_cast<std::uint32_t>(out.vertices.size() / width);
        out.vertices.insert(out.vertices.end(), v, v + width);
        table[slot] = index + 1;
        out.indices.push_back(index);
        break;
      }
      const std::uint32_t index = table[slot] - 1;
      if (std::memcmp(out.vertices.data() + index * width, v, width * sizeof(float)) == 0) {
        out.indices.push_back(index);
        break;
      }
    }
  }
  return out;
}

}  // namespace tamsel
