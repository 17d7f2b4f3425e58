// The rich model as a project in a temporary folder, with its two bitmaps written.
#pragma once

#include "model/file_io.h"
#include "opt/bitmap.h"
#include "support/model_builders.h"
#include "support/opt_bytes.h"
#include "support/temp_dir.h"

namespace tamsel::test {

inline Model RichProject(const TempDir& dir) {
  Model model = RichModel();
  model.ProjectPath = dir.path().string();
  WriteFileAtomic(dir / "a.BMP", EncodeBitmap(PlainBitmap(8, 4)));
  WriteFileAtomic(dir / "b.BMP", EncodeBitmap(PlainBitmap(16, 16, 7)));
  return model;
}

}  // namespace tamsel::test
