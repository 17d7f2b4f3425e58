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

// Reads the pairs one at a time, without copying the text. Throws FileError (naming
// fileName and the line) when a code line is not an integer or the text ends inside a
// pair. Binary DXF is recognised and refused with its own message.
class GroupPairReader {
 public:
  GroupPairReader(std::string_view text, const std::string& fileName);
  // The next pair (the value a view into the text); false at the end of the text.
  bool Next(int& code, std::string_view& value, int& line);
  // The line after the last one read.
  int LineAfter() const { return line_ + 1; }

 private:
  std::string_view text_;
  const std::string& fileName_;
  int line_ = 0;
};

// Every pair of the text, read as above.
std::vector<GroupPair> ReadGroupPairs(std::string_view text, const std::string& fileName);

}  // namespace tamsel
