// tamsel-cli render: a picture of a craft drawn as the viewport draws it.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace tamsel {

// PROJECT.opz|FILE.opt OUT.png [--view 3d|top|front|right] [--size WxH] [--wire|--textured]
// [--level high|low]. Throws std::invalid_argument for a wrong option value.
int RenderCommand(const std::vector<std::string>& positional,
                  const std::map<std::string, std::string>& options);

}  // namespace tamsel
