// The growing bytes of an OPT file being written. Pointers are file offsets + 100 (the
// writer's global offset is 108).
#pragma once

#include <cstdint>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/file_io.h"

namespace tamsel {

// Thrown when the file would outgrow what its signed 32-bit pointers can address.
struct OptTooLarge : std::length_error {
  using std::length_error::length_error;
};

class OptOut {
 public:
  static constexpr std::int32_t kPointerBase = 100;
  // Every offset + kPointerBase must be a positive 32-bit pointer.
  static constexpr std::size_t kMaxSize = std::size_t{2147483647} - kPointerBase;

  std::size_t Size() const { return bytes_.size(); }
  std::int32_t PointerAt(std::size_t offset) const {
    return static_cast<std::int32_t>(offset) + kPointerBase;
  }
  std::int32_t NextPointer() const { return PointerAt(Size()); }

  void Long(std::int32_t v) { Raw(&v, 4); }
  void Single(float v) { Raw(&v, 4); }
  void Byte(std::uint8_t v) {
    Grow(1);
    bytes_.push_back(v);
  }
  void Short(std::uint16_t v) { Raw(&v, 2); }
  void Zeros(std::size_t n) {
    Grow(n);
    bytes_.resize(bytes_.size() + n, 0);
  }
  void Append(const std::uint8_t* data, std::size_t n) {
    Grow(n);
    bytes_.insert(bytes_.end(), data, data + n);
  }
  // Refuses growth beyond kMaxSize before it happens.
  void Grow(std::size_t n) const {
    if (n > kMaxSize - bytes_.size())
      throw OptTooLarge("the OPT file would be larger than " + std::to_string(kMaxSize) +
                        " bytes (it has " + std::to_string(bytes_.size()) + " and needs " +
                        std::to_string(n) + " more); its 32-bit pointers cannot address that");
  }
  // Eight characters and a zero byte.
  void Name8(std::string_view name) {
    char buf[9] = {};
    std::memcpy(buf, name.data(), name.size() < 8 ? name.size() : 8);
    Append(reinterpret_cast<const std::uint8_t*>(buf), 9);
  }
  void PatchLong(std::size_t offset, std::int32_t v) { std::memcpy(&bytes_[offset], &v, 4); }
  // Fills slot k of a child pointer array with the pointer of what comes next.
  void PatchChild(std::size_t array, int k) {
    PatchLong(array + 4 * static_cast<std::size_t>(k), NextPointer());
  }

  // A node header with its child pointer array (zeros) and, when hasData, a data pointer
  // to the bytes directly behind the array. Returns the offset of the child array.
  std::size_t Node(std::int32_t type, std::int32_t children, std::int32_t dataCount, bool hasData) {
    const std::size_t at = Size();
    const std::size_t array = at + 24;
    Long(0);
    Long(type);
    Long(children);
    Long(children > 0 ? PointerAt(array) : 0);
    Long(dataCount);
    Long(hasData ? PointerAt(array + 4 * static_cast<std::size_t>(children)) : 0);
    Zeros(4 * static_cast<std::size_t>(children));
    return array;
  }

  const std::uint8_t* Data() const { return bytes_.data(); }
  Bytes Take() { return std::move(bytes_); }

 private:
  void Raw(const void* p, std::size_t n) {
    Grow(n);
    const auto* b = static_cast<const std::uint8_t*>(p);
    bytes_.insert(bytes_.end(), b, b + n);
  }
  Bytes bytes_;
};

}  // namespace tamsel
