#include "app/toolbar_buttons.h"

namespace tamsel {
namespace {

ToolButtonDef B(const char* key, const char* tag, const char* caption, const char* glyph,
                bool toggles = true, const char* icon = "") {
  return {ToolButtonDef::Button, key, tag, caption, glyph, toggles, icon};
}
ToolButtonDef Sep() {
  return {ToolButtonDef::Separator, {}, {}, {}, {}, false, {}};
}

}  // namespace

std::vector<ToolButtonDef> ViewBarButtons() {
  return {B("perspective", "",
            "Perspective: look at the craft from above, in front and to its left, and frame it (5)",
            "3D", false),
          B("top", "", "Top: look down on the craft, and frame it (7; Ctrl+7 from below)", "Top",
            false),
          B("right", "", "Right: look at the craft's right side, and frame it (3; Ctrl+3 its left)",
            "Right", false),
          B("front", "",
            "Front: look at the craft from the front, and frame it (1; Ctrl+1 from behind)",
            "Front", false),
          B("fit", "", "Fit the selection, or the whole model, to the view (F)", "Fit", false,
            "zoom-fit-best")};
}

std::vector<ToolButtonDef> DispBarButtons() {
  return {{ToolButtonDef::Spacer, {}, {}, {}, {}, false, {}},
          B("high level", "lodgroup", "High Level: show and edit the high level of detail", "Hi",
            true, "value-increase"),
          B("low level", "lodgroup", "Low Level: show and edit the low level of detail", "Lo", true,
            "value-decrease"),
          Sep(),
          B("mesh", "geogroup", "Mesh: pick and edit whole meshes", "Mesh"),
          B("face", "geogroup", "Face: pick and edit faces of the selected meshes", "Face"),
          B("vertex", "geogroup", "Vertex: pick and edit corners of the selected faces", "Vert"),
          Sep(),
          B("wireframe", "rendergroup", "Wireframe: draw the craft as wires", "Wire", true,
            "view-grid"),
          B("texture", "rendergroup", "Texture: draw the craft textured", "Tex", true,
            "image-x-generic"),
          Sep(),
          B("no norm", "normalgroup", "Hide Normals", "-N", true, "view-conceal"),
          B("norm", "normalgroup", "Show Normals: draw the normals of the selection", "+N", true,
            "view-reveal"),
          Sep(),
          Sep(),
          Sep()};
}

std::vector<ToolButtonDef> PropBarButtons() {
  return {
      B("geometry", "", "Geometry: positions, sizes, normals and levels of detail", "Geo"),
      B("texture", "", "Texture: transparent and illuminated colours", "Tex"),
      B("hitzone", "", "Hitzone: the box the game tests hits against", "Hit"),
      B("rotation", "", "Rotation: pivot, axis, aim and degree of a moving part", "Rot"),
      B("hardpoint", "", "Hardpoint: where weapons fire from", "HP"),
      B("engine glow", "", "Engine Glow: cones of light at the nozzles", "EG"),
      Sep(),
      Sep(),
      B("subgeometry", "geogroup", "Geometry: of the selected faces or corners", "sGeo"),
      B("subtexture", "geogroup", "Texture: textures and coordinates of the selected faces",
        "sTex"),
      B("subtransparency", "texgroup", "Transparency: the see-through colours of a texture", "Trn"),
      B("subillumination", "texgroup", "Illumination: the colours of a texture that glow", "Ill")};
}

}  // namespace tamsel
