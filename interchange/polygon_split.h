// Polygons of other formats as the project's faces: a flat convex quad stays a quad; any
// other polygon of four or more corners becomes triangles that cover exactly its area.
#pragma once

#include <array>
#include <vector>

#include "editing/quad_shape.h"
#include "model/records.h"

namespace tamsel {

// Triangles over the polygon `corners` (in order, either winding), each as three indices
// into it, wound as the polygon is. Ear clipping in the polygon's best-fitting plane; a ring
// with a hole bridged by a seam (corners walked twice) is covered without the hole. None for
// a polygon whose corners all lie on a line; a self-intersecting one is fanned from its
// first corner.
std::vector<std::array<unsigned, 3>> SplitPolygon(const std::vector<Single3>& corners);

}  // namespace tamsel
