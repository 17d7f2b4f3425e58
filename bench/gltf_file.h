// glTF files of other tools, made by the benchmarks with the glTF library.
#pragma once

#include <tiny_gltf.h>

#include <filesystem>
#include <sstream>
#include <string>

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

// An embedded PNG image, its texture and a material whose base colour it is; returns the
// material's index.
inline int AddImageMaterial(tinygltf::Model& m, const Bytes& png, const std::string& name) {
  tinygltf::Image image;
  image.mimeType = "image/png";
  image.bufferView = AppendView(m, png.data(), png.size());
  m.images.push_back(image);
  tinygltf::Texture texture;
  texture.source = static_cast<int>(m.images.size()) - 1;
  m.textures.push_back(texture);
  tinygltf::Material material;
  material.name = name;
  material.pbrMetallicRoughness.baseColorTexture.index = static_cast<int>(m.textures.size()) - 1;
  m.materials.push_back(material);
  return static_cast<int>(m.materials.size()) - 1;
}

inline void WriteGlb(tinygltf::Model& m, const std::filesystem::path& out) {
  std::ostringstream stream;
  tinygltf::TinyGLTF().WriteGltfSceneToStream(&m, stream, false, true);
  WriteFileAtomic(out, stream.str());
}

}  // namespace tamsel::bench
