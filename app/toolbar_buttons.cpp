#include "app/toolbar_buttons.h"

namespace tamsel {
namespace {

ToolButtonDef B(const char* key, const char* tag, const char* caption, const char* glyph,
                bool toggles = true) {
  return {ToolButtonDef::Button, key, tag, caption, glyph, toggles};
}
ToolButtonDef Sep() {
  return {ToolButtonDef::Separator, {}, {}, {}, {}, false};
}

}  // namespace

std::vector<ToolButtonDef> ViewBarButtons() {
  return {B("perspective", "", "Perspective", "3D", false), B("top", "", "Top", "Top", false),
          B("right", "", "Right", "Right", false), B("front", "", "Front", "Front", false),
          B("fit", "", "Fit the selection, or the whole model, to the view (F)", "Fit", false)};
}

std::vector<ToolButtonDef> DispBarButtons() {
  return {{ToolButtonDef::Spacer, {}, {}, {}, {}, false},
          B("high level", "lodgroup", "High Level", "Hi"),
          B("low level", "lodgroup", "Low Level", "Lo"),
          Sep(),
          B("mesh", "geogroup", "Mesh", "Mesh"),
          B("face", "geogroup", "Face", "Face"),
          B("vertex", "geogroup", "Vertex", "Vert"),
          Sep(),
          B("wireframe", "rendergroup", "Wireframe", "Wire"),
          B("texture", "rendergroup", "Texture", "Tex"),
          Sep(),
          B("no norm", "normalgroup", "Hide Normals", "-N"),
          B("norm", "normalgroup", "Show Normals", "+N"),
          Sep(),
          Sep(),
          Sep()};
}

std::vector<ToolButtonDef> PropBarButtons() {
  return {B("geometry", "", "Geometry", "Geo"),
          B("texture", "", "Texture", "Tex"),
          B("hitzone", "", "Hitzone", "Hit"),
          B("rotation", "", "Rotation", "Rot"),
          B("hardpoint", "", "Hardpoint", "HP"),
          B("engine glow", "", "Engine Glow", "EG"),
          Sep(),
          Sep(),
          B("subgeometry", "geogroup", "Geometry", "sGeo"),
          B("subtexture", "geogroup", "Texture", "sTex"),
          B("subtransparency", "texgroup", "Transparency", "Trn"),
          B("subillumination", "texgroup", "Illumination", "Ill")};
}

}  // namespace tamsel
