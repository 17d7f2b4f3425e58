// JSON output of the command-line tool: nlohmann's ordered objects, so that keys come in
// the order written, as the README documents them.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "model/name_text.h"
#include "model/number_text.h"

namespace tamsel {

using JsonOut = nlohmann::ordered_json;

// Text for a JSON string: names in projects are bytes, so a byte that is not part of
// well-formed UTF-8 is taken as the Latin-1 character of its value; the result is always
// well-formed UTF-8, which nlohmann requires.
inline std::string JsonText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (const std::size_t n = Utf8Length(s, i); n > 1) {
      out.append(s.substr(i, n));
      i += n - 1;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));  // U+0080..U+00FF in two bytes
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// A Single as JSON shows it: the project's own shortest form, read as the double that
// nlohmann then prints shortest.
inline JsonOut JsonSingle(float value) {
  return std::stod(FormatSingle(value));
}

// The compact text of `value` and a line end.
inline std::string JsonLine(const JsonOut& value) {
  return value.dump() + "\n";
}

}  // namespace tamsel
