// Whether every number of a record can be stored: the project and OPT files hold Singles,
// and neither an infinity nor a NaN reads back, so no edit may store one and no writer may
// write one.
#pragma once

#include <optional>
#include <string>

#include "model/model.h"

namespace tamsel {

// Where the first number that is not a finite Single sits, as the user finds it ("mesh 2
// (Hull), level 1, face 7, corner 3 X"; numbers 1-based), or nothing when all are finite.
std::optional<std::string> FindNonFinite(const MeshRec& mesh, int meshIndex);
// As above, but the faces of levels that share their storage with the same level of
// `checked` (known finite) are not looked at again.
std::optional<std::string> FindNonFinite(const MeshRec& mesh, int meshIndex,
                                         const MeshRec* checked);
// The same over every mesh of the model.
std::optional<std::string> FindNonFinite(const Model& model);

}  // namespace tamsel
