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

std::vector<GroupPair> ReadGroupPairs(std::string_view text, const std::string& fileName) {
  if (text.substr(0, 18) == "AutoCAD Binary DXF")
    throw FileError(fileName, "", "binary DXF is not supported; save the drawing as ASCII DXF");
  std::vector<GroupPair> pairs;
  std::string_view codeLine, valueLine;
  int line = 0;
  while (NextLine(text, codeLine)) {
    ++line;
    const std::string_view code = TrimBlanks(codeLine);
    if (code.empty() && text.empty()) break;  // trailing blank line
    const auto number = ParseInteger(code);
    if (!number || *number < -32768 || *number > 32767)
      throw FileError(fileName, FileError::Line(line),
                      "expected a group code, found \"" + std::string(code.substr(0, 40)) + "\"");
    if (!NextLine(text, valueLine))
      throw FileError(fileName, FileError::Line(line + 1), "the file ends inside a group");
    pairs.push_back({static_cast<int>(*number), std::string(TrimBlanks(valueLine)), line});
    ++line;
  }
  return pairs;
}

}  // namespace tamsel
