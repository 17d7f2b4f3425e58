#include "model/name_text.h"

#include <cstdio>

namespace tamsel {

std::string WithoutControlCharacters(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 32 || u == 127) c = '_';
  }
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string UniqueFileName(const std::string& wanted, std::set<std::string>& takenLowerCase) {
  const std::size_t dot = wanted.rfind('.');
  const std::string stem = dot == std::string::npos ? wanted : wanted.substr(0, dot);
  const std::string extension = dot == std::string::npos ? "" : wanted.substr(dot);
  std::string name = wanted;
  for (int n = 2; takenLowerCase.count(LowerCase(name)); ++n)
    name = stem + "_" + std::to_string(n) + extension;
  takenLowerCase.insert(LowerCase(name));
  return name;
}

std::size_t Utf8Length(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char first = byte(at);
  if (first < 0x80) return 1;
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // the allowed range of the second byte
  if (first >= 0xC2 && first <= 0xDF) {
    n = 2;
  } else if (first >= 0xE0 && first <= 0xEF) {
    n = 3;
    if (first == 0xE0) lo = 0xA0;
    if (first == 0xED) hi = 0x9F;  // no surrogates
  } else if (first >= 0xF0 && first <= 0xF4) {
    n = 4;
    if (first == 0xF0) lo = 0x90;
    if (first == 0xF4) hi = 0x8F;
  } else {
    return 0;
  }
  if (at + n > text.size()) return 0;
  if (byte(at + 1) < lo || byte(at + 1) > hi) return 0;
  for (std::size_t i = 2; i < n; ++i)
    if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
  return n;
}

std::string Printable(std::string_view text, bool keepLineBreaks) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t n = Utf8Length(text, i);
    if (n > 1 || (n == 1 && c >= 32 && c != 127) || (keepLineBreaks && c == '\n')) {
      out.append(text.substr(i, n));
      i += n;
      continue;
    }
    char buf[8];
    std::snprintf(buf, sizeof buf, "\\x%02X", c);
    out += buf;
    ++i;
  }
  return out;
}

}  // namespace tamsel
