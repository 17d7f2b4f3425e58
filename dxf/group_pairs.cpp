#include "dxf/group_pairs.h"

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
  const auto number = ParseInteger(trimmed);
  if (!number || *number < -32768 || *number > 32767)
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
