// Hardpoints, engine glows, hitzones and rotations: the panels' edits and the Calculate
// commands. A reference to an element that does not exist changes nothing.
#pragma once

#include <optional>

#include "editing/list_rows.h"
#include "model/model.h"

namespace tamsel {

// A new hardpoint of type 0 at the centre of the mesh's level; its index, or -1 when the
// mesh or the level does not exist.
int AddHardpoint(Model& model, int mesh, int level);
bool DeleteHardpoint(Model& model, ItemRef hp);
const HardpointRec* HardpointAt(const Model& model, ItemRef hp);
HardpointRec* EditHardpointAt(Model& model, ItemRef hp);  // the mesh made the model's own

// A new engine glow sized to the mesh's level box (width x, height y, length 3) with the
// default colours and densities; its index, or -1.
int AddEngineGlow(Model& model, int mesh, int level);
bool DeleteEngineGlow(Model& model, ItemRef eg);
const EngineGlowRec* EngineGlowAt(const Model& model, ItemRef eg);
EngineGlowRec* EditEngineGlowAt(Model& model, ItemRef eg);
// The glow sits at the face's centre, twice the face's x and z extent wide and high.
void SetEngineGlowToFace(EngineGlowRec& glow, const FaceRec& face);

// The panels' UPDATEs. A type left out (a code the drop-down list does not offer) keeps the
// stored one. Each returns false, changing nothing, when the element does not exist.
bool UpdateHardpoint(Model& model, ItemRef hp, std::optional<std::int32_t> type,
                     const Single3& position);
bool UpdateEngineGlow(Model& model, ItemRef eg, const EngineGlowRec& values);
struct Hitzone {
  std::optional<std::int32_t> meshType, explosionType;
  Single3 span, center, min, max, target;
  std::int32_t targetId = 0;
};
bool UpdateHitzone(Model& model, int mesh, const Hitzone& h);
struct Rotation {
  Single3 pivot, axis, aim, degree;
};
bool UpdateRotation(Model& model, int mesh, const Rotation& r);

// One mesh's hitzone from its high level's box as it stands: centre, minimum, maximum, span
// and target. Types and target id stay.
void FitHitzoneToHighLevel(MeshRec& mesh);
// One mesh's pivot at its high level's box centre, and the fixed vectors.
void SetRotationToHighLevel(MeshRec& mesh);

// Every mesh's hitzone from its high level's box (recomputed first): centre, minimum,
// maximum, span and target. Types and target ids stay.
void CalculateHitzones(Model& model);
// Every mesh's pivot at its high level's box centre, and the fixed vectors.
void CalculateRotations(Model& model);

}  // namespace tamsel
