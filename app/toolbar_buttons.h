// The buttons of the three tool bars: keys, group tags, tool tips and glyphs.
#pragma once

#include <vector>

#include "app/keyed_toolbar.h"

namespace tamsel {

std::vector<ToolButtonDef> ViewBarButtons();
std::vector<ToolButtonDef> DispBarButtons();  // 16 positions, the first a spacer
std::vector<ToolButtonDef> PropBarButtons();  // 12 positions, 7 and 8 separators

}  // namespace tamsel
