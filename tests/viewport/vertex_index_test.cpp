#include "viewport/vertex_index.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace tamsel {
namespace {

// What the indices draw: the run again, vertex by vertex.
std::vector<float> Drawn(const IndexedVertices& v, int stride) {
  std::vector<float> out;
  for (std::uint32_t i : v.indices)
    out.insert(out.end(), v.vertices.begin() + i * stride, v.vertices.begin() + (i + 1) * stride);
  return out;
}

TEST(VertexIndex, DistinctVerticesAreKeptOnceAndTheIndicesDrawTheRunAsItWas) {
  // A quad's two triangles (u, v, x, y, z): corners 0 and 2 repeat.
  const std::vector<float> quad = {0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 1, 1, 1, 0,
                                   0, 0, 0, 0, 0, 1, 1, 1, 1, 0, 0, 1, 0, 1, 0};
  const IndexedVertices q = IndexVertices(quad, 5);
  EXPECT_EQ(q.vertices.size(), 4u * 5u);
  EXPECT_EQ(q.indices, (std::vector<std::uint32_t>{0, 1, 2, 0, 2, 3}));
  EXPECT_EQ(Drawn(q, 5), quad);

  // The same position with other texture coordinates is another vertex; -0 and +0, and
  // two NaNs of different bits, stay apart so that the buffer holds exactly what was drawn.
  const float nan1 = std::numeric_limits<float>::quiet_NaN();
  float nan2;
  const std::uint32_t bits = 0x7FC00001u;
  std::memcpy(&nan2, &bits, sizeof bits);
  const std::vector<float> odd = {0,    0, 0,     2, 3,  // +0
                                  0,    0, -0.0f, 2, 3,  // -0
                                  0.5f, 0, 0,     2, 3,  // the first position, another u
                                  0,    0, nan1,  2, 3, 0, 0, nan2, 2, 3, 0, 0, nan1, 2, 3};
  const IndexedVertices o = IndexVertices(odd, 5);
  EXPECT_EQ(o.vertices.size(), 5u * 5u);
  EXPECT_EQ(o.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 3}));
  const std::vector<float> back = Drawn(o, 5);
  EXPECT_EQ(std::memcmp(back.data(), odd.data(), odd.size() * sizeof(float)), 0);

  // Many vertices, few distinct: the table grows past its first size and finds them all.
  std::vector<float> lines;
  for (int i = 0; i < 50'000; ++i) {
    const auto a = static_cast<float>(i % 997), b = static_cast<float>((i * 7) % 997);
    lines.insert(lines.end(), {a, 0, 0, b, 0, 0});
  }
  const IndexedVertices l = IndexVertices(lines, 3);
  EXPECT_EQ(l.vertices.size(), 997u * 3u);
  EXPECT_EQ(l.indices.size(), 100'000u);
  EXPECT_EQ(Drawn(l, 3), lines);
  EXPECT_TRUE(IndexVertices({}, 3).indices.empty());
}

}  // namespace
}  // namespace tamsel
