// What changed: the notification every view follows, from an edit step, its undo or redo,
// a selection, a new focus or a change of view.
#pragma once

#include <vector>

namespace tamsel {

struct ModelChange {
  bool everything = false;        // a new or opened project: every list, panel and texture anew
  bool meshList = false;          // meshes added, removed or reordered
  std::vector<int> meshes;        // meshes whose records changed (indices after the change)
  bool textureList = false;       // textures added or removed
  std::vector<int> textures;      // textures whose records changed
  bool recordsUnchanged = false;  // nothing but Selected flags, focus or view, through Changed
  bool focus = false;             // elements were chosen anew: panels start their boxes afresh
  bool view = false;              // the level, mode or panel on show changed
  bool folder = false;            // the project's folder, or the bitmaps in it, changed
  bool Any() const {
    return everything || meshList || !meshes.empty() || textureList || !textures.empty() ||
           recordsUnchanged || focus || view || folder;
  }
};

// The change a selection announces: no record changed but Selected flags; `chosen` when the
// focus moved too, so that panels start their boxes afresh.
inline ModelChange SelectionChange(bool chosen) {
  ModelChange change;
  change.recordsUnchanged = true;
  change.focus = chosen;
  return change;
}

}  // namespace tamsel
