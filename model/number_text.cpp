#include "model/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace tamsel {

void AppendSingle(std::string& out, float value) {
  if (value == 0) {  // also for -0: the sign carries no meaning in a coordinate
    out += '0';
    return;
  }
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
  if (ec != std::errc{}) return;
  const char* e = std::find(buf, end, 'e');
  out.append(buf, static_cast<std::size_t>(e - buf));
  if (e == end) return;
  // "1e-05" -> "1E-05", "1e+20" -> "1E+20": a sign always, at least two digits.
  std::string_view exponent(e + 1, static_cast<std::size_t>(end - e - 1));
  char sign = '+';
  if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) {
    sign = exponent[0];
    exponent.remove_prefix(1);
  }
  out += 'E';
  out += sign;
  if (exponent.size() < 2) out += '0';
  out.append(exponent);
}

std::string FormatSingle(float value) {
  std::string text;
  AppendSingle(text, value);
  return text;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

namespace {

// Whether a number that from_chars found out of range is too small rather than too large.
bool Underflows(std::string_view text) {
  long double wide = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), wide);
  if (ec == std::errc{}) return std::fabs(wide) < 1;
  const auto e = text.find_first_of("eE");
  return e != std::string_view::npos && e + 1 < text.size() && text[e + 1] == '-';
}

template <typename T>
std::optional<T> ParseWhole(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return std::nullopt;
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (end != text.data() + text.size()) return std::nullopt;
  if constexpr (std::is_floating_point_v<T>) {
    // Out of range both ways: too large is refused, too small to tell from 0 is 0.
    if (ec == std::errc::result_out_of_range && Underflows(text))
      return text.front() == '-' ? -T{0} : T{0};
  }
  if (ec != std::errc{}) return std::nullopt;
  if constexpr (std::is_floating_point_v<T>) {
    if (!std::isfinite(value)) return std::nullopt;
  }
  return value;
}

}  // namespace

std::optional<float> ParseSingle(std::string_view text) {
  return ParseWhole<float>(text);
}
std::optional<double> ParseDouble(std::string_view text) {
  return ParseWhole<double>(text);
}
std::optional<std::int64_t> ParseInteger(std::string_view text) {
  return ParseWhole<std::int64_t>(text);
}

}  // namespace tamsel
