#include "editing/list_rows.h"

#include <charconv>
#include <cstdio>

#include "model/number_text.h"

namespace tamsel {
namespace {

std::string Num(int zeroBased) {
  return std::to_string(zeroBased + 1);
}

// Reads "<key><number>" at the front of text and returns the 0-based index.
std::optional<int> Take(std::string_view& text, std::string_view key) {
  if (text.substr(0, key.size()) != key) return std::nullopt;
  text.remove_prefix(key.size());
  int value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc{} || value < 1) return std::nullopt;
  text.remove_prefix(static_cast<std::size_t>(end - text.data()));
  return value - 1;
}

std::optional<ItemRef> ParseItemRow(std::string_view row, std::string_view key) {
  auto m = Take(row, "M:");
  if (!m) return std::nullopt;
  auto i = Take(row, key);
  if (!i || !row.empty()) return std::nullopt;
  return ItemRef{*m, *i};
}

}  // namespace

std::string FaceRow(int mesh, int face) {
  return "M:" + Num(mesh) + " F:" + Num(face);
}
std::string HardpointRow(int mesh, int hp) {
  return "M:" + Num(mesh) + " HP:" + Num(hp);
}
std::string EngineGlowRow(int mesh, int eg) {
  return "M:" + Num(mesh) + " EG:" + Num(eg);
}

std::string CornerRow(int mesh, int face, int corner, float value) {
  return "(M:" + Num(mesh) + " F:" + Num(face) + " V:" + Num(corner) + ")  " + FormatSingle(value);
}

std::optional<FaceRef> ParseFaceRow(std::string_view row) {
  auto item = ParseItemRow(row, " F:");
  if (!item) return std::nullopt;
  return FaceRef{item->mesh, item->item};
}

std::optional<ItemRef> ParseHardpointRow(std::string_view row) {
  return ParseItemRow(row, " HP:");
}

std::optional<ItemRef> ParseEngineGlowRow(std::string_view row) {
  return ParseItemRow(row, " EG:");
}

std::optional<CornerRef> ParseCornerRow(std::string_view row) {
  auto m = Take(row, "(M:");
  if (!m) return std::nullopt;
  auto f = Take(row, " F:");
  if (!f) return std::nullopt;
  auto v = Take(row, " V:");
  if (!v || *v > 3 || row.substr(0, 1) != ")") return std::nullopt;
  return CornerRef{*m, *f, *v};
}

std::string TextureRow(int t) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "TEX%05d", t);
  return buf;
}

}  // namespace tamsel
