#include "opt/color565.h"

#include <stdexcept>

namespace tamsel {
namespace {

std::string Digits(int value, std::size_t width) {
  std::string bits;
  for (; value > 0; value /= 2) bits.insert(bits.begin(), value % 2 ? '1' : '0');
  if (bits.size() < width) bits.insert(0, width - bits.size(), '0');
  return bits;
}

}  // namespace

std::string MakeBinary(std::uint8_t ColorR, std::uint8_t ColorG, std::uint8_t ColorB) {
  return Digits(ColorR * 32 / 256, 5) + Digits(ColorG * 64 / 256, 6) + Digits(ColorB * 32 / 256, 5);
}

std::int16_t MakeShort(std::string_view ColorBin) {
  if (ColorBin.size() > 16) throw std::invalid_argument("MakeShort: more than 16 bits");
  std::int32_t sum = 0;
  for (char c : ColorBin) sum = sum * 2 + (c == '1' ? 1 : 0);
  return static_cast<std::int16_t>(sum > 32767 ? sum - 65536 : sum);
}

}  // namespace tamsel
