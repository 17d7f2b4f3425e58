// The reference scene: everything the viewport shows and can pick, drawn element by element
// in one pass, each element under a pick name. It is the tests' oracle: the layered scene
// must draw the same pixels and the CPU pick choose what a GL selection pass over this
// scene chooses. Pick names are numbers into a table that says which element each stands
// for, so any number of elements resolves correctly.
#pragma once

#include <cstdint>
#include <vector>

#include "editing/selection.h"
#include "model/color_settings.h"
#include "model/model.h"
#include "model/view_state.h"
#include "viewport/draw_sink.h"
#include "viewport/scene.h"

namespace tamsel {

class PickTable {
 public:
  std::uint32_t Add(const PickTarget& target) {
    targets_.push_back(target);
    return static_cast<std::uint32_t>(targets_.size() - 1);
  }
  // The element a name stands for; kind None for names that stand for nothing.
  PickTarget Resolve(std::uint32_t name) const {
    return name < targets_.size() ? targets_[name] : PickTarget{};
  }
  std::size_t size() const { return targets_.size(); }

 private:
  std::vector<PickTarget> targets_;
};

PickTable DrawScene(const Model& model, const ViewState& view, const ColorSettings& colors,
                    const SceneInputs& inputs, DrawSink& sink);

}  // namespace tamsel
