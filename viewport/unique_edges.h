// A wireframe's edges, each once however many faces share it: neighbouring faces of a mesh
// share most of their edges, and a line drawn twice costs twice its memory and time for
// the same pixels.
#pragma once

#include <vector>

#include "model/records.h"
#include "viewport/draw_sink.h"

namespace tamsel {

// Emits the edges of `faces` as line vertices, in a Lines run the caller began: each edge
// as the first face that has it draws it, an edge between the same two positions (either
// way round) only once.
void DrawUniqueEdges(DrawSink& s, const std::vector<FaceRec>& faces);

}  // namespace tamsel
