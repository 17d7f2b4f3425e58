// glTF files written by the tests with the glTF library.
#pragma once

#include <tiny_gltf.h>

#include <vector>

namespace tamsel::test {

// Appends the floats to `buffer` as a new buffer view of the model; returns its index.
inline int AppendFloats(tinygltf::Model& m, tinygltf::Buffer& buffer, const std::vector<float>& v) {
  const std::size_t at = buffer.data.size();
  const auto* p = reinterpret_cast<const unsigned char*>(v.data());
  buffer.data.insert(buffer.data.end(), p, p + v.size() * 4);
  tinygltf::BufferView view;
  view.buffer = 0, view.byteOffset = at, view.byteLength = v.size() * 4;
  m.bufferViews.push_back(view);
  return static_cast<int>(m.bufferViews.size()) - 1;
}

}  // namespace tamsel::test
