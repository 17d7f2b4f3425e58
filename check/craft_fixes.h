// The check's automatic fixes. Each changes what its finding is about and nothing else,
// and runs inside one document step, so one undo takes it back.
#pragma once

#include <vector>

#include "check/craft_limits.h"
#include "check/finding.h"
#include "model/file_transaction.h"
#include "model/model.h"
#include "opt/opt_writer.h"

namespace tamsel {

// Applies the finding's fix to `model`. A resampled bitmap is brought into the project
// folder through `files` under a new name, so the user's bitmap stays as it was. Returns
// false, changing nothing, when the finding has no fix or its element is gone; throws
// FileError when a bitmap cannot be read.
bool ApplyFix(Model& model, const Finding& finding, Profile profile, FileTransaction& files,
              const BitmapLoader& bitmaps);

// Whether findings of this fix can be fixed together, each as its own finding says: the fix
// leaves the indices of every other element where they were. Splitting a mesh moves the
// meshes after it; removing unused textures fixes them all at once anyway.
bool FixesTogether(FixKind fix);

// Applies the fixes of several findings of one kind that FixesTogether; returns how many
// changed something.
int ApplyFixes(Model& model, const std::vector<Finding>& findings, Profile profile,
               FileTransaction& files, const BitmapLoader& bitmaps);

// Nearest-neighbour resampling of an 8-bit bitmap: the palette stays, so every colour and
// every transparent or illuminated colour stays exact.
Bitmap ResampleBitmap(const Bitmap& bitmap, int width, int height);

// The power of two nearest `side` (in the ratio), at most `largest` when that is not 0.
int NearestPowerOfTwo(int side, int largest);

}  // namespace tamsel
