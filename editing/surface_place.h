// Features put on the craft's surface: a hardpoint or an engine glow at a point of a face,
// and the symmetric copy on the other side of the craft.
#pragma once

#include <optional>

#include "editing/list_rows.h"
#include "model/model.h"

namespace tamsel {

// Puts the hardpoint `item` of mesh `mesh` (a new one of type 0 when nothing) at `point`.
// Returns its reference, or nothing when the mesh or the item does not exist.
std::optional<ItemRef> PlaceHardpoint(Model& model, int mesh, std::optional<int> item,
                                      const Single3& point);

// Puts the engine glow `item` of mesh `mesh` (a new one with the panel's defaults, sized to
// the mesh's level `level`, when nothing) at `point`, facing along `normal`: its first
// density vector along the normal and the other two across it, turned as the defaults are
// turned from +Y.
std::optional<ItemRef> PlaceEngineGlow(Model& model, int mesh, int level, std::optional<int> item,
                                       const Single3& point, const Single3& normal);

// The copy of a hardpoint or engine glow mirrored across the craft's centre plane (x = the
// model box's centre x), appended to the same mesh. Returns the copy's reference.
std::optional<ItemRef> MirrorHardpoint(Model& model, ItemRef hp);
std::optional<ItemRef> MirrorEngineGlow(Model& model, ItemRef glow);

}  // namespace tamsel
