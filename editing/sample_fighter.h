// The craft a newcomer first sees: a small fighter built from code, with a hull, wings,
// a cockpit, engine nacelles and a chin turret, each with its own texture; a see-through
// canopy colour, illuminated instruments and nozzles, flight-group variants of the hull,
// two levels of detail, lasers at the wing tips, engine glows at the nozzles, hitzones and
// a turret that rotates.
#pragma once

#include <filesystem>

#include "model/model.h"

namespace tamsel {

// Fills model (replacing its contents) and writes the project folder. Throws FileError.
void GenerateFighter(Model& model, const std::filesystem::path& folder);

}  // namespace tamsel
