#include "check/check_rules.h"

#include <array>
#include <stdexcept>
#include <string>

namespace tamsel {
namespace {

using enum Severity;

constexpr std::array kRules = {
    // Geometry, per level and per mesh.
    CheckRule{"mesh-no-levels", Warning, "a mesh without levels of detail"},
    CheckRule{"mesh-vertices", Error,
              "more distinct vertex positions in a mesh than the game loads", FixKind::SplitMesh},
    CheckRule{"level-empty", Warning, "a level of detail without faces"},
    CheckRule{"face-not-finite", Error, "corners that are not finite numbers"},
    CheckRule{"face-normal-missing", Error, "faces with a zero face normal",
              FixKind::NormalsAndVectors},
    CheckRule{"face-normal-backward", Warning, "face normals against the winding",
              FixKind::NormalsAndVectors},
    CheckRule{"face-vectors-missing", Note, "textured faces without software vectors",
              FixKind::NormalsAndVectors},
    CheckRule{"face-degenerate", Warning, "faces without area"},
    CheckRule{"quad-bent", Warning, "quads whose corners are not in one plane"},
    CheckRule{"quad-concave", Warning, "concave quads"},
    CheckRule{"face-duplicate", Warning, "faces that repeat an earlier face's corners"},
    CheckRule{"face-box-stale", Warning, "face boxes that do not hold their corners",
              FixKind::Bounds},
    CheckRule{"vertex-normals-missing", Warning, "a level without vertex normals",
              FixKind::VertexNormals},
    CheckRule{"level-more-faces", Warning, "a low level with more faces than the high one",
              FixKind::GenerateLowLevel},
    CheckRule{"level-low-missing", Note, "a mesh of many faces without a low level of detail",
              FixKind::GenerateLowLevel},
    // Textures and bitmaps.
    CheckRule{"face-untextured", Error, "faces that name no texture"},
    CheckRule{"texture-not-listed", Error, "faces naming a texture the project does not list"},
    CheckRule{"flight-group-not-listed", Error,
              "flight-group slots naming a texture the project does not list"},
    CheckRule{"texture-unused", Note, "texture records no face names",
              FixKind::RemoveUnusedTextures},
    CheckRule{"bitmap-unreadable", Error, "a texture whose bitmap cannot be read"},
    CheckRule{"bitmap-not-8-bit", Error, "a bitmap that is not 8-bit"},
    CheckRule{"texture-size", Error, "a texture side the game cannot load",
              FixKind::ResampleTexture},
    CheckRule{"transparent-colour-unused", Warning,
              "transparent colours that match no pixel of the bitmap"},
    CheckRule{"illuminated-colour-unused", Warning,
              "illuminated colours that match no pixel of the bitmap"},
    CheckRule{"texture-count", Error, "more textures than the game loads", FixKind::PackTextures},
    // Features and the craft as a whole.
    CheckRule{"mesh-count", Error, "more meshes than the game loads"},
    CheckRule{"hardpoint-count", Error, "more hardpoints than the game loads"},
    CheckRule{"hardpoint-far", Warning, "a hardpoint far outside the craft"},
    CheckRule{"engine-glow-count", Error, "more engine glows than the game loads"},
    CheckRule{"engine-glow-far", Warning, "an engine glow far outside the craft"},
    CheckRule{"rotating-parts", Error, "more rotating parts than the game turns"},
    CheckRule{"rotation-axis-zero", Warning, "a rotating part without an axis"},
    CheckRule{"hitzone-box", Warning, "a hitzone that does not hold its mesh", FixKind::HitzoneBox},
    CheckRule{"level-distances", Warning, "level distances out of order", FixKind::SortDistances},
    CheckRule{"mesh-name-duplicate", Note, "a mesh name used by an earlier mesh"},
};

}  // namespace

std::span<const CheckRule> CheckRules() {
  return kRules;
}

const CheckRule* FindRule(std::string_view code) {
  for (const CheckRule& rule : kRules)
    if (rule.code == code) return &rule;
  return nullptr;
}

const CheckRule& RuleOf(std::string_view code) {
  if (const CheckRule* rule = FindRule(code)) return *rule;
  throw std::logic_error("the craft check has no rule \"" + std::string(code) + "\"");
}

}  // namespace tamsel
