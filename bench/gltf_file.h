// glTF files of other tools, made by the benchmarks with the glTF library.
#pragma once

#include <tiny_gltf.h>

#include <filesystem>
#include <sstream>

#include "model/file_io.h"

namespace tamsel::bench {

// Appends `n` bytes to the model's one buffer, 4-aligned, as a new buffer view.
inline int AppendView(tinygltf::Model& m, const void* p, std::size_t n) {
  if (m.buffers.empty()) m.buffers.resize(1);
  auto& data = m.buffers[0].data;
  while (data.size() % 4) data.push_back(0);
  tinygltf::BufferView v;
  v.buffer = 0, v.byteOffset = data.size(), v.byteLength = n;
  const auto* b = static_cast<const unsigned char*>(p);
  data.insert(data.end(), b, b + n);
  m.bufferViews.push_back(v);
  return static_cast<int>(m.bufferViews.size()) - 1;
}

inline void WriteGlb(tinygltf::Model& m, const std::filesystem::path& out) {
  std::ostringstream stream;
  tinygltf::TinyGLTF().WriteGltfSceneToStream(&m, stream, false, true);
  WriteFileAtomic(out, stream.str());
}

}  // namespace tamsel::bench
