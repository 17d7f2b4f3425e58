// An OPT file's node tree, read with every pointer, count and length checked against the
// file. Only the nodes the import walks are followed; other node types are kept as
// headers and skipped.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/file_io.h"

namespace tamsel {

enum OptNodeType : std::int32_t {
  kGroupNode = 0,
  kFaceDataNode = 1,
  kVertexNode = 3,
  kTextureRefNode = 7,
  kNormalNode = 11,
  kTexCoordNode = 13,
  kTextureNode = 20,
  kLodNode = 21,
  kHardpointNode = 22,
  kRotationNode = 23,
  kTextureSwitchNode = 24,
  kDescriptorNode = 25,
  kAlphaNode = 26,
  kEngineGlowNode = 28,
};

struct OptNode {
  std::int64_t offset = 0;  // file offset of the header
  std::int32_t type = 0;
  std::int64_t nameOffset = -1;  // -1: no name
  std::int32_t childCount = 0;
  std::vector<std::int64_t> children;  // file offsets of the child headers; -1 for null
  std::int32_t dataCount = 0;
  std::int64_t dataOffset = -1;  // -1: no data
};

class OptFile {
 public:
  // Checks the file header. Throws FileError.
  OptFile(Bytes bytes, std::string fileName);

  const std::string& fileName() const { return fileName_; }
  std::int64_t size() const { return static_cast<std::int64_t>(bytes_.size()); }
  // File offsets of the mesh nodes, -1 for a null pointer.
  const std::vector<std::int64_t>& meshes() const { return meshes_; }

  // Reads the node header at offset, with the child pointer array when children is true.
  OptNode Node(std::int64_t offset, bool children) const;

  // Checked reads; each throws FileError naming the offset and what was expected. Inline,
  // as the import calls them for every number of a large file.
  void Need(std::int64_t offset, std::int64_t length, const char* what) const {
    if (offset < 0 || length < 0 || length > size() || offset > size() - length)
      TooShort(offset, length, what);
  }
  std::int32_t Long(std::int64_t offset, const char* what) const {
    Need(offset, 4, what);
    std::int32_t v;
    std::memcpy(&v, bytes_.data() + offset, 4);
    return v;
  }
  float Single(std::int64_t offset, const char* what) const {  // finite only
    Need(offset, 4, what);
    float v;
    std::memcpy(&v, bytes_.data() + offset, 4);
    if (!std::isfinite(v)) NotFinite(offset, what);
    return v;
  }
  std::uint8_t Byte(std::int64_t offset, const char* what) const {
    Need(offset, 1, what);
    return bytes_[static_cast<std::size_t>(offset)];
  }
  // Unchecked reads, for places whose whole block was checked with Need (and, for
  // Singles, with CheckFinite) before.
  std::int32_t RawLong(std::int64_t offset) const {
    std::int32_t v;
    std::memcpy(&v, bytes_.data() + offset, 4);
    return v;
  }
  float RawSingle(std::int64_t offset) const {
    float v;
    std::memcpy(&v, bytes_.data() + offset, 4);
    return v;
  }
  // Checks that `count` Singles from offset lie in the file and are all finite.
  void CheckFinite(std::int64_t offset, std::int64_t count, const char* what) const {
    Need(offset, 4 * count, what);
    for (std::int64_t i = 0; i < count; ++i)
      if (!std::isfinite(RawSingle(offset + 4 * i))) NotFinite(offset + 4 * i, what);
  }
  const std::uint8_t* Span(std::int64_t offset, std::int64_t length, const char* what) const;
  // The text of an 8-character name up to its first zero byte.
  std::string Name8(std::int64_t offset, const char* what) const;
  // The pointer stored at offset `at`, turned into a file offset; -1 for the null
  // pointer. Throws when it points outside the file.
  std::int64_t Pointer(std::int64_t at, const char* what) const;
  [[noreturn]] void Fail(std::int64_t offset, const std::string& what) const;
  [[noreturn]] void TooShort(std::int64_t offset, std::int64_t length, const char* what) const;
  [[noreturn]] void NotFinite(std::int64_t offset, const char* what) const;

 private:
  Bytes bytes_;
  std::string fileName_;
  std::int64_t delta_ = 0;  // pointer - delta = file offset
  std::vector<std::int64_t> meshes_;
};

}  // namespace tamsel
