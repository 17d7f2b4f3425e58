// The parts of the craft check, each adding its findings to one list.
#pragma once

#include <string>
#include <vector>

#include "check/check_rules.h"
#include "check/craft_check.h"

namespace tamsel {

struct CheckContext {
  const Model& model;
  const CraftLimits& limits;
  Profile profile;
  std::vector<Finding>& out;

  // A finding of the rule `code`, which takes its severity and fix from the rule.
  void Add(std::string_view code, Element element, std::string text) const {
    const CheckRule& rule = RuleOf(code);
    out.push_back(
        {rule.severity, std::string(code), std::move(element), std::move(text), rule.fix});
  }
};

// Per face, per level: normals, vectors, shapes, duplicates, boxes; the vertex limit.
void CheckGeometry(const CheckContext& c);
// Slot names, bitmaps, sizes, depths, colours, unused records; the texture limit.
void CheckTextures(const CheckContext& c, const BitmapFactsSource& bitmaps);
// Counts of meshes, hardpoints, glows and rotating parts; feature positions, hitzones,
// rotations, names, level distances.
void CheckFeatures(const CheckContext& c);

// The text with its first letter a capital.
std::string Capital(std::string text);
// "1 face" / "12 faces".
std::string Counted(std::size_t n, const char* one, const char* many);

}  // namespace tamsel
