#include "viewport/unique_edges.h"

#include <cstdint>
#include <utility>

#include "model/position_key.h"

namespace tamsel {
namespace {

struct Edge {
  PositionKey a, b;  // the smaller key first
  friend bool operator==(const Edge&, const Edge&) = default;
};

Edge EdgeOf(const FaceRec& face, int k, int n) {
  PositionKey a = PositionKeyOf(face.Vertices[static_cast<std::size_t>(k)]);
  PositionKey b = PositionKeyOf(face.Vertices[static_cast<std::size_t>((k + 1) % n)]);
  if (b < a) std::swap(a, b);
  return {a, b};
}

std::uint64_t HashOf(const Edge& e) {
  std::uint64_t h = 1469598103934665603ull;
  for (const PositionKey* key : {&e.a, &e.b})
    for (std::uint32_t v : *key) h = (h ^ v) * 1099511628211ull;
  return h ^ (h >> 29);
}

}  // namespace

void DrawUniqueEdges(DrawSink& s, const std::vector<FaceRec>& faces) {
  // An open-addressed table of the edges drawn, each slot a face's index times four plus
  // the edge's first corner: no key is stored, it is read again from the face.
  std::size_t edges = 0;
  for (const FaceRec& face : faces) edges += static_cast<std::size_t>(face.CornerCount());
  std::size_t size = 16;
  while (size < 2 * edges) size <<= 1;
  constexpr std::uint64_t kEmpty = ~std::uint64_t{0};
  std::vector<std::uint64_t> table(size, kEmpty);
  const std::size_t mask = size - 1;
  for (std::size_t f = 0; f < faces.size(); ++f) {
    const FaceRec& face = faces[f];
    const int n = face.CornerCount();
    for (int k = 0; k < n; ++k) {
      const Edge edge = EdgeOf(face, k, n);
      for (std::size_t i = HashOf(edge) & mask;; i = (i + 1) & mask) {
        if (table[i] == kEmpty) {
          table[i] = f * 4 + static_cast<std::size_t>(k);
          for (int c : {k, (k + 1) % n}) {
            const VertexRec& v = face.Vertices[static_cast<std::size_t>(c)];
            s.Vertex(v.X, v.Y, v.Z);
          }
          break;
        }
        const FaceRec& other = faces[table[i] / 4];
        if (EdgeOf(other, static_cast<int>(table[i] % 4), other.CornerCount()) == edge) break;
      }
    }
  }
}

}  // namespace tamsel
