#include "opt/opt_file.h"

#include <cmath>
#include <cstring>

#include "model/file_error.h"

namespace tamsel {

OptFile::OptFile(Bytes bytes, std::string fileName)
    : bytes_(std::move(bytes)), fileName_(std::move(fileName)) {
  Need(0, 22, "the file header");
  const std::int32_t marker = Long(0, "the format marker");
  if (marker >= 0) Fail(0, "not an OPT file (the format marker is not negative)");
  delta_ = static_cast<std::int64_t>(Long(8, "the global offset")) - 8;
  const std::int32_t count = Long(14, "the mesh count");
  if (count < 0 || static_cast<std::int64_t>(count) * 4 > size() - 22)
    Fail(14, "the mesh count " + std::to_string(count) + " does not fit in the file");
  meshes_.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) meshes_.push_back(Pointer(22 + 4 * i, "a mesh pointer"));
}

void OptFile::Fail(std::int64_t offset, const std::string& what) const {
  // Offsets name a place in the file; a check that has none names its start.
  throw FileError(fileName_, FileError::Offset(offset < 0 ? 0 : offset), what);
}

void OptFile::TooShort(std::int64_t offset, std::int64_t length, const char* what) const {
  Fail(offset, std::string("the file ends before ") + what + " (" + std::to_string(length) +
                   " bytes needed, the file has " + std::to_string(size()) + ")");
}

void OptFile::NotFinite(std::int64_t offset, const char* what) const {
  Fail(offset, std::string(what) + " is not a finite number");
}

const std::uint8_t* OptFile::Span(std::int64_t offset, std::int64_t length,
                                  const char* what) const {
  Need(offset, length, what);
  return bytes_.data() + offset;
}

std::string OptFile::Name8(std::int64_t offset, const char* what) const {
  const std::uint8_t* p = Span(offset, 8, what);
  std::size_t n = 0;
  while (n < 8 && p[n] != 0) ++n;
  return std::string(reinterpret_cast<const char*>(p), n);
}

std::int64_t OptFile::Pointer(std::int64_t at, const char* what) const {
  const std::int32_t pointer = Long(at, what);
  if (pointer == 0) return -1;
  const std::int64_t offset = static_cast<std::int64_t>(pointer) - delta_;
  if (offset < 0 || offset >= size())
    Fail(at,
         std::string(what) + " points outside the file (pointer " + std::to_string(pointer) + ")");
  return offset;
}

OptNode OptFile::Node(std::int64_t offset, bool children) const {
  Need(offset, 24, "a node header");
  OptNode node;
  node.offset = offset;
  node.nameOffset = Pointer(offset, "a name pointer");
  node.type = Long(offset + 4, "a node type");
  const std::int32_t childCount = Long(offset + 8, "a child count");
  node.childCount = childCount;
  const std::int64_t childrenAt = Pointer(offset + 12, "a children pointer");
  node.dataCount = Long(offset + 16, "a data count");
  node.dataOffset = Pointer(offset + 20, "a data pointer");
  if (!children) return node;
  if (childCount < 0) Fail(offset + 8, "negative child count");
  if (childCount == 0) return node;  // a legal empty group, whatever its pointer says
  if (childrenAt < 0) Fail(offset + 12, "a node with children has no children pointer");
  Need(childrenAt, static_cast<std::int64_t>(childCount) * 4, "a child pointer array");
  node.children.reserve(static_cast<std::size_t>(childCount));
  for (std::int32_t k = 0; k < childCount; ++k)
    node.children.push_back(Pointer(childrenAt + 4 * k, "a child pointer"));
  return node;
}

}  // namespace tamsel
