// 16-bit 5-6-5 colour codes (red in the high bits) as stored in OPT palettes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tamsel {

// The colour's 5-6-5 code as sixteen "0"/"1" characters, most significant bit first.
std::string MakeBinary(std::uint8_t ColorR, std::uint8_t ColorG, std::uint8_t ColorB);

// The signed 16-bit value whose bits the characters are (first character = most significant).
// Any character other than '1' is a 0 bit. Throws std::invalid_argument for more than 16.
std::int16_t MakeShort(std::string_view ColorBin);

// MakeShort(MakeBinary(r, g, b)) in one step.
inline std::int16_t Color565(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::int16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

}  // namespace tamsel
