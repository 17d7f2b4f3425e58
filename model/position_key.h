// A corner's position as the OPT writer tells positions apart: the exact Singles, with -0
// equal to +0, hashable for the sets and maps that count and match positions.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>

#include "model/records.h"

namespace tamsel {

using PositionKey = std::array<std::uint32_t, 3>;

inline PositionKey PositionKeyOf(const VertexRec& v) {
  const auto bits = [](float f) { return std::bit_cast<std::uint32_t>(f == 0 ? 0.0f : f); };
  return {bits(v.X), bits(v.Y), bits(v.Z)};
}

struct PositionKeyHash {
  std::size_t operator()(const PositionKey& k) const {
    std::size_t h = 1469598103934665603ull;
    for (std::uint32_t v : k) h = (h ^ v) * 1099511628211ull;
    return h;
  }
};

}  // namespace tamsel
