// Builds OPT files byte by byte for tests, in layouts the editor's own writer never
// produces: any global offset, child arrays and data placed wherever the test appends them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "model/file_io.h"

namespace tamsel::test {

class OptBuilder {
 public:
  explicit OptBuilder(int meshes, std::int32_t globalOffset = 108) : g_(globalOffset) {
    Long(-5);
    Long(0);
    Long(globalOffset);
    bytes_.push_back(2);
    bytes_.push_back(0);
    Long(meshes);
    Long(Ptr(22));
    bytes_.resize(22 + 4 * static_cast<std::size_t>(meshes), 0);
  }

  std::int32_t Ptr(std::size_t offset) const { return static_cast<std::int32_t>(offset) + g_ - 8; }
  std::size_t Size() const { return bytes_.size(); }

  void SetMesh(int i, std::size_t node) { Set(22 + 4 * static_cast<std::size_t>(i), Ptr(node)); }

  // A bare header; children and data are attached later, wherever the file then ends.
  std::size_t Header(std::int32_t type, std::int32_t dataCount = 1) {
    const std::size_t at = bytes_.size();
    for (std::int32_t v : {0, type, 0, 0, dataCount, 0}) Long(v);
    return at;
  }
  // Appends the child pointer array (0 for null children) and points the node at it.
  void Children(std::size_t node, const std::vector<std::int64_t>& children) {
    Set(node + 8, static_cast<std::int32_t>(children.size()));
    Set(node + 12, Ptr(bytes_.size()));
    for (std::int64_t c : children) Long(c < 0 ? 0 : Ptr(static_cast<std::size_t>(c)));
  }
  // Appends data and points the node at it.
  std::size_t Data(std::size_t node, const Bytes& data) {
    const std::size_t at = bytes_.size();
    Set(node + 20, Ptr(at));
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return at;
  }
  std::size_t Name(std::size_t node, const std::string& name) {
    const std::size_t at = bytes_.size();
    Set(node, Ptr(at));
    std::string padded = name;
    padded.resize(9, '\0');
    bytes_.insert(bytes_.end(), padded.begin(), padded.end());
    return at;
  }
  void Set(std::size_t at, std::int32_t v) { std::memcpy(&bytes_[at], &v, 4); }
  Bytes Take() {
    Set(4, static_cast<std::int32_t>(bytes_.size() - 8));
    return std::move(bytes_);
  }

 private:
  void Long(std::int32_t v) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&v);
    bytes_.insert(bytes_.end(), p, p + 4);
  }
  Bytes bytes_;
  std::int32_t g_;
};

// Little-endian fields for data blocks.
class DataBytes {
 public:
  DataBytes& L(std::int32_t v) { return Raw(&v, 4); }
  DataBytes& F(float v) { return Raw(&v, 4); }
  DataBytes& B(std::uint8_t v) { return Raw(&v, 1); }
  DataBytes& Zeros(std::size_t n) {
    bytes_.resize(bytes_.size() + n, 0);
    return *this;
  }
  DataBytes& Text8(const std::string& s) {
    std::string padded = s;
    padded.resize(9, '\0');
    bytes_.insert(bytes_.end(), padded.begin(), padded.end());
    return *this;
  }
  const Bytes& bytes() const { return bytes_; }
  operator const Bytes&() const { return bytes_; }

 private:
  DataBytes& Raw(const void* p, std::size_t n) {
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
    return *this;
  }
  Bytes bytes_;
};

}  // namespace tamsel::test
