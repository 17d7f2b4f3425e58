// A run of vertices as each distinct vertex once and the indices that draw the run: faces
// share their corners with their neighbours, and a quad's two triangles share two of theirs.
#pragma once

#include <cstdint>
#include <vector>

namespace tamsel {

struct IndexedVertices {
  std::vector<float> vertices;  // `stride` floats each, in order of first use
  std::vector<std::uint32_t> indices;
};

// `run` holds `stride` floats a vertex; vertices equal bit for bit are one.
IndexedVertices IndexVertices(const std::vector<float>& run, int stride);

}  // namespace tamsel
