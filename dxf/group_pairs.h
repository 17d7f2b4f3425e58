// A DXF drawing as the sequence of its group-code/value pairs: a code line, then a value
// line; CR LF or LF; blanks around both trimmed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tamsel {

struct GroupPair {
  int code = 0;
  std::string value;
  int line = 0;  // line number of the code line, from 1
};

// Throws FileError (naming fileName and the line) when a code line is not an integer or
// the text ends inside a pair. Binary DXF is recognised and refused with its own message.
std::vector<GroupPair> ReadGroupPairs(std::string_view text, const std::string& fileName);

}  // namespace tamsel
