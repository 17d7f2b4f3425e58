#include "interchange/uv_transform.h"

#include <cmath>

namespace tamsel {

std::optional<UvMap> MaterialUvMap(const aiMaterial& material, bool gltf) {
  aiUVTransform t;
  bool found = false;
  for (const aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE})
    if (!found && material.Get(AI_MATKEY_UVTRANSFORM(type, 0), t) == AI_SUCCESS) found = true;
  if (!found) return std::nullopt;
  const double sx = t.mScaling.x, sy = t.mScaling.y;
  UvMap map;
  if (gltf) {
    // The library kept scale as it is, negated the rotation and folded a change of origin
    // into the translation; this takes the glTF values back out of it.
    const double rotation = -t.mRotation;
    const double cs = std::cos(rotation), sn = std::sin(rotation);
    const double ox = t.mTranslation.x - 0.5 * sx * (-cs + sn + 1);
    const double oy = 0.5 * sy * (sn + cs - 1) + 1 - sy - t.mTranslation.y;
    // glTF in V from the top: u' = cs sx u + sn sy w + ox, w' = -sn sx u + cs sy w + oy,
    // with w = 1 - v and v' = 1 - w'.
    map = {cs * sx, -sn * sy, sn * sy + ox, sn * sx, cs * sy, 1 - cs * sy - oy};
  } else {
    // Scaled, turned counter-clockwise about the image's centre, then moved.
    const double cs = std::cos(t.mRotation), sn = std::sin(t.mRotation);
    map = {cs * sx, -sn * sy, 0.5 - 0.5 * cs + 0.5 * sn + t.mTranslation.x,
           sn * sx, cs * sy,  0.5 - 0.5 * sn - 0.5 * cs + t.mTranslation.y};
  }
  if (map.a == 1 && map.b == 0 && map.c == 0 && map.d == 0 && map.e == 1 && map.f == 0)
    return std::nullopt;
  return map;
}

}  // namespace tamsel
