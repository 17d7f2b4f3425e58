// The buttons of the three tool bars: keys, group tags, tool tips and glyphs.
#pragma once

#include <vector>

#include "app/keyed_toolbar.h"

namespace tamsel {

std::vector<ToolButtonSpec> ViewBarButtons();
std::vector<ToolButtonSpec> DispBarButtons();  // 16 positions, the first a spacer
std::vector<ToolButtonSpec> PropBarButtons();  // 12 positions, 7 and 8 separators

}  // namespace tamsel
