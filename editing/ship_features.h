// Hardpoints, engine glows, hitzones and rotations: the panels' edits and the Calculate
// commands. A reference to an element that does not exist changes nothing.
#pragma once

#include "editing/list_rows.h"
#include "model/model.h"

namespace tamsel {

// A new hardpoint of type 0 at the centre of the mesh's level; its index, or -1 when the
// mesh or the level does not exist.
int AddHardpoint(Model& model, int mesh, int level);
bool DeleteHardpoint(Model& model, ItemRef hp);
HardpointRec* HardpointAt(Model& model, ItemRef hp);

// A new engine glow sized to the mesh's level box (width x, height y, length 3) with the
// default colours and densities; its index, or -1.
int AddEngineGlow(Model& model, int mesh, int level);
bool DeleteEngineGlow(Model& model, ItemRef eg);
EngineGlowRec* EngineGlowAt(Model& model, ItemRef eg);
// The glow sits at the face's centre, twice the face's x and z extent wide and high.
void SetEngineGlowToFace(EngineGlowRec& glow, const FaceRec& face);

// Every mesh's hitzone from its high level's box (recomputed first): centre, minimum,
// maximum, span and target. Types and target ids stay.
void CalculateHitzones(Model& model);
// Every mesh's pivot at its high level's box centre, and the fixed vectors.
void CalculateRotations(Model& model);

}  // namespace tamsel
