#include "dxf/group_pairs.h"

#include <optional>

#include "model/file_error.h"
#include "model/number_text.h"

namespace tamsel {
namespace {

bool NextLine(std::string_view& text, std::string_view& line) {
  if (text.empty()) return false;
  const auto nl = text.find('\n');
  line = text.substr(0, nl);
  text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
  return true;
}

// A group code: an integer from -32768 to 32767, as digits with an optional sign. Read by
// hand: a drawing is mostly its codes, and this is the loop's hottest call.
std::optional<int> GroupCode(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 6) return std::nullopt;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < -32768 || value > 32767) return std::nullopt;
  return value;
}

}  // namespace

GroupPairReader::GroupPairReader(std::string_view text, const std::string& fileName)
    : text_(text), fileName_(fileName) {
  if (text.substr(0, 18) == "AutoCAD Binary DXF")
    throw FileError(fileName, "", "binary DXF is not supported; save the drawing as ASCII DXF");
}

bool GroupPairReader::Next(int& code, std::string_view& value, int& line) {
  std::string_view codeLine, valueLine;
  if (!NextLine(text_, codeLine)) return false;
  ++line_;
  const std::string_view trimmed = TrimBlanks(codeLine);
  if (trimmed.empty() && text_.empty()) return false;  // trailing blank line
  const auto number = GroupCode(trimmed);
  if (!number)
    throw FileError(fileName_, FileError::Line(line_),
                    "expected a group code, found \"" + std::string(trimmed.substr(0, 40)) + "\"");
  if (!NextLine(text_, valueLine))
    throw FileError(fileName_, FileError::Line(line_ + 1), "the file ends inside a group");
  code = static_cast<int>(*number);
  value = TrimBlanks(valueLine);
  line = line_;
  ++line_;
  return true;
}

std::vector<GroupPair> ReadGroupPairs(std::string_view text, const std::string& fileName) {
  GroupPairReader reader(text, fileName);
  std::vector<GroupPair> pairs;
  int code = 0, line = 0;
  std::string_view value;
  while (reader.Next(code, value, line)) pairs.push_back({code, std::string(value), line});
  return pairs;
}

}  // namespace tamsel
