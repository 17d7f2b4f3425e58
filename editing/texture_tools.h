// Texture coordinates and texture names of the selected faces: assignment, projection
// stitching, rotation and mirroring, the reset of all coordinates, and flight-group slots.
// "Selected faces" are the selected faces of the meshes selected at the level.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "editing/list_rows.h"
#include "model/model.h"

namespace tamsel {

// The selected corners of every face at the level (of any mesh) get (u, v).
int SetSelectedCornersUV(Model& model, int level, float u, float v);

// The selected faces get `name` in texture slot `slot` (0..3); the focused face, when
// selected, also the two software vectors. Returns the number of faces changed.
struct FaceVectors {
  Single3 vector1, vector2;
};
int AssignTexture(Model& model, int level, int slot, const std::string& name,
                  std::optional<FaceRef> focused, const std::optional<FaceVectors>& vectors);

// The record named `name`, registered with the new-texture defaults when there is none.
// Returns its index and whether it was added.
std::pair<int, bool> RegisterTexture(Model& model, const std::string& name);

enum class StitchView { FrontBack, Side, TopBottom };

// Projects the selected faces' corners onto one box over the whole selection. An axis on
// which the selection is flat leaves that coordinate as it was. Returns false (changing
// nothing) when no face is selected.
bool Stitch(Model& model, int level, StitchView view);

// Turns the coordinates around the corners of each selected face: counter-clockwise, corner
// k takes corner k-1's; clockwise, corner k+1's.
void RotateCoordinates(Model& model, int level, bool clockwise);
void MirrorCoordinates(Model& model, int level, bool mirrorU);

// Every face of every level: (0,0), (1,0), (1,1) and, for four corners, (0,1).
void ResetTextureCoordinates(Model& model);

// The selected faces lose their flight-group variants: slots 1..3 become "BLANK".
int BlankFlightGroupSlots(Model& model, int level);

// The transparency or illumination panel's UPDATE of texture t: strength (opacity 0..255 or
// brightness 1..16, clamped), tolerance and colours. False, changing nothing, when there
// is no texture t.
enum class ColorTable { Transparent, Illuminated };
bool UpdateTextureColors(Model& model, int t, ColorTable table, int strength, int tolerance,
                         std::vector<RGB> colors);

}  // namespace tamsel
