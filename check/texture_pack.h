// Textures packed into shared atlases, so that a craft fits the game's texture count: the
// textures that can share a bitmap go into atlases of the profile's largest side, and every
// face's coordinates follow its texture into its atlas.
#pragma once

#include <string>
#include <vector>

#include "check/craft_limits.h"
#include "model/file_transaction.h"
#include "model/model.h"
#include "opt/opt_writer.h"

namespace tamsel {

// Texels around a packed texture whose sides are not powers of two, copies of its edge, so
// that the smaller mip levels do not bleed a neighbour's colours into it. A texture whose
// sides are powers of two needs none: it sits at a multiple of its own size.
inline constexpr int kAtlasPadding = 4;

struct PackReport {
  int texturesBefore = 0, texturesAfter = 0;
  int packed = 0;                    // textures that went into atlases
  std::vector<std::string> atlases;  // the new bitmaps' names
};

// The side of an atlas for the profile: its largest texture side, 512 where any is loaded.
int AtlasSide(Profile profile);

// Packs what can be packed. A texture can when every face that names it names it in slot 0
// alone (no flight-group variants) with coordinates within the texture (no tiling), its
// bitmap reads, and it fits an atlas with its padding. Textures share an atlas only when
// their transparent and illuminated colour settings are the same and their colours together
// fit one palette of 256, so that every texel keeps its colour exactly. An atlas of one
// texture is not made. New bitmaps "ATLAS_N.BMP" come into the folder through `files`
// beside the old ones, which stay; the packed textures' records give way to the atlases'.
PackReport PackTextures(Model& model, Profile profile, FileTransaction& files,
                        const BitmapLoader& bitmaps);

}  // namespace tamsel
