#include "viewport/unique_edges.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "support/model_builders.h"
#include "support/null_sink.h"

namespace tamsel::test {
namespace {

using Point = std::array<float, 3>;
using Segment = std::array<Point, 2>;

// Only vertices matter here.
struct SegmentSink : NullSink {
  std::vector<Point> points;
  void Vertex(float x, float y, float z) override { points.push_back({x, y, z}); }

  // The segments drawn, each with its ends in order, sorted.
  std::vector<Segment> Segments() const {
    std::vector<Segment> out;
    for (std::size_t i = 0; i + 1 < points.size(); i += 2) {
      Segment s{points[i], points[i + 1]};
      if (s[1] < s[0]) std::swap(s[0], s[1]);
      out.push_back(s);
    }
    std::sort(out.begin(), out.end());
    return out;
  }
};

std::vector<Segment> EdgesOf(const std::vector<FaceRec>& faces) {
  SegmentSink sink;
  DrawUniqueEdges(sink, faces);
  EXPECT_EQ(sink.points.size() % 2, 0u);
  return sink.Segments();
}

TEST(UniqueEdges, SharedEdgesAreDrawnOnceAndEveryOtherEdgeIsKept) {
  // Two quads side by side share the edge x = 1, each going round it the other way; a
  // triangle on top shares y = 1 from x = 0 to 1 with the first.
  const std::vector<FaceRec> faces = {
      Quad(Corner(0, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0)),
      Quad(Corner(1, 0, 0), Corner(2, 0, 0), Corner(2, 1, 0), Corner(1, 1, 0)),
      Triangle(Corner(0, 1, 0), Corner(1, 1, 0), Corner(0.5f, 2, 0)),
  };
  const std::vector<Segment> edges = EdgesOf(faces);
  EXPECT_EQ(edges.size(), 4u + 3u + 2u);
  EXPECT_EQ(std::adjacent_find(edges.begin(), edges.end()), edges.end());
  EXPECT_EQ(std::count(edges.begin(), edges.end(), Segment{{{1, 0, 0}, {1, 1, 0}}}), 1);
  EXPECT_EQ(std::count(edges.begin(), edges.end(), Segment{{{0, 1, 0}, {1, 1, 0}}}), 1);
  EXPECT_EQ(std::count(edges.begin(), edges.end(), Segment{{{0.5f, 2, 0}, {1, 1, 0}}}), 1);

  // Faces that share no edge, or only a corner, keep every edge; -0 and +0 are one place.
  EXPECT_EQ(
      EdgesOf({faces[0], Quad(Corner(1, 1, 0), Corner(2, 1, 0), Corner(2, 2, 0), Corner(1, 2, 0))})
          .size(),
      8u);
  EXPECT_EQ(EdgesOf({Quad(Corner(-0.0f, 0, 0), Corner(1, 0, 0), Corner(1, 1, 0), Corner(0, 1, 0)),
                     Quad(Corner(0, 0, 0), Corner(0, 1, 0), Corner(-1, 1, 0), Corner(-1, 0, 0))})
                .size(),
            7u);
  EXPECT_TRUE(EdgesOf({}).empty());
}

TEST(UniqueEdges, AGridDrawsEachOfItsEdgesOnce) {
  // n x n quads: n (n + 1) edges each way, where faces alone would draw 4 n^2.
  constexpr int n = 60;
  std::vector<FaceRec> faces;
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      const auto x = static_cast<float>(i), y = static_cast<float>(j);
      faces.push_back(
          Quad(Corner(x, y, 0), Corner(x + 1, y, 0), Corner(x + 1, y + 1, 0), Corner(x, y + 1, 0)));
    }
  const std::vector<Segment> edges = EdgesOf(faces);
  EXPECT_EQ(edges.size(), static_cast<std::size_t>(2 * n * (n + 1)));
  EXPECT_EQ(std::adjacent_find(edges.begin(), edges.end()), edges.end());
}

}  // namespace
}  // namespace tamsel::test
