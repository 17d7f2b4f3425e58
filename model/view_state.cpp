#include "model/view_state.h"

namespace tamsel {

std::string_view GeometryKey(Geometry level) {
  switch (level) {
    case Geometry::Face:
      return "face";
    case Geometry::Vertex:
      return "vertex";
    case Geometry::Mesh:
      break;
  }
  return "mesh";
}

std::optional<Geometry> GeometryNamed(std::string_view key) {
  for (Geometry g : {Geometry::Mesh, Geometry::Face, Geometry::Vertex})
    if (GeometryKey(g) == key) return g;
  return std::nullopt;
}

}  // namespace tamsel
