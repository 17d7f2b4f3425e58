// Numbers as text, with "." as the decimal point whatever the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tamsel {

// The shortest decimal text that reads back to the same Single. An exponent is written as
// "E", a sign and at least two digits ("1E-05").
std::string FormatSingle(float value);
// The same text appended to out, without a string of its own.
void AppendSingle(std::string& out, float value);

// Whole-text parses: blanks around the number are ignored, anything else makes the text
// invalid, and so do NaN, infinities and numbers too large for the type; a number too
// small for it (1e-50 as a Single) is 0. An exponent is accepted in either case.
std::optional<float> ParseSingle(std::string_view text);
std::optional<double> ParseDouble(std::string_view text);
std::optional<std::int64_t> ParseInteger(std::string_view text);

std::string_view TrimBlanks(std::string_view text);

}  // namespace tamsel
