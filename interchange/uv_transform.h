// A material's texture transform (glTF's KHR_texture_transform, the UV transforms of other
// formats) as an affine map of the texture coordinates the import library hands over.
#pragma once

#include <assimp/material.h>

#include <optional>

namespace tamsel {

// u' = a u + b v + c, v' = d u + e v + f, V counted up from the bottom of the image.
struct UvMap {
  double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;
  void Apply(float& u, float& v) const {
    const double nu = a * u + b * v + c, nv = d * u + e * v + f;
    u = static_cast<float>(nu), v = static_cast<float>(nv);
  }
};

// The transform of the material's base colour (or diffuse) texture; none when it has
// none. `gltf`: the library stored a glTF transform in its own convention, which is undone
// to apply the glTF rule (offset + rotation * scale * uv, V counted from the top).
std::optional<UvMap> MaterialUvMap(const aiMaterial& material, bool gltf);

}  // namespace tamsel
