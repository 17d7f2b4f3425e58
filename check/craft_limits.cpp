#include "check/craft_limits.h"

namespace tamsel {

const CraftLimits& LimitsOf(Profile profile) {
  static constexpr CraftLimits kOriginal{50, 512, 100, 256, 127, 16, 16};
  static constexpr CraftLimits kPatched{255, 65535, 1024, 0, 127, 255, 16};
  return profile == Profile::Original ? kOriginal : kPatched;
}

std::string_view ProfileName(Profile profile) {
  return profile == Profile::Original ? "original" : "patched";
}

std::optional<Profile> ProfileNamed(std::string_view name) {
  if (name == "original") return Profile::Original;
  if (name == "patched") return Profile::Patched;
  return std::nullopt;
}

}  // namespace tamsel
