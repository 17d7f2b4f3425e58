#include "editing/list_rows.h"

#include "model/number_text.h"

namespace tamsel {
namespace {

std::string Num(int zeroBased) {
  return std::to_string(zeroBased + 1);
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

}  // namespace tamsel
