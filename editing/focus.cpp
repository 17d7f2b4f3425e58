#include "editing/focus.h"

#include "editing/selection.h"

namespace tamsel {

int FaceTextureIndex(const Model& model, const FaceRec& face, int slot) {
  // As the viewport shows it: slot 0 for a face without variants or a blank slot.
  if (slot < 0 || slot > 3 || face.TextureNames[1] == kBlank ||
      face.TextureNames[static_cast<std::size_t>(slot)] == kBlank)
    slot = 0;
  const std::string& name = face.TextureNames[static_cast<std::size_t>(slot)];
  // The last record of a name is the one drawn, as the scene looks textures up.
  for (int t = model.TextureCount() - 1; t >= 0; --t)
    if (model.Textures[static_cast<std::size_t>(t)].Name == name) return t;
  return -1;
}

void FocusFace(Focus& focus, const Model& model, int level, FaceRef face, int slot) {
  const FaceRec* record = FaceAt(model, level, face);
  if (!record) return;
  focus.mesh = face.mesh;
  focus.face = face;
  if (const int t = FaceTextureIndex(model, *record, slot); t >= 0) focus.texture = t;
}

}  // namespace tamsel
