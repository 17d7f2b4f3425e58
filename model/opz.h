// The OPZ project file: a line-oriented text image of the model (CR LF line ends).
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/model.h"

namespace tamsel {

// The meshes and textures of a project file. Levels, faces and corners carry fresh ids
// from the counters passed to the reader and start unselected.
struct ProjectData {
  std::vector<MeshRec> meshes;
  std::vector<TextureRec> textures;
};

// The file's text. Throws FileError when a name cannot be stored on one line.
std::string WriteOpzText(const Model& model, const std::string& fileName = "project file");
// The same text handed to `sink` in pieces of about a megabyte, so that a large project
// is never whole in memory. Every check comes first, so a refused model writes nothing.
void WriteOpz(const Model& model, const std::string& fileName,
              const std::function<void(std::string_view)>& sink);

// Parses the text. Throws FileError (naming fileName and the line) on any line that does
// not hold what the layout expects there; ids is only advanced when the whole read
// succeeds.
// `passed`, when given, is told the offset before which the text will not be read again.
ProjectData ReadOpzText(std::string_view text, IdCounters& ids, const std::string& fileName,
                        const std::function<void(std::size_t)>& passed = {});

// The same read, handing each mesh to `mesh` as soon as it is read and keeping none: a
// large project is looked over in the memory of its largest mesh. No ids are given out.
// Returns the texture records.
std::vector<TextureRec> ReadOpzMeshes(std::string_view text, const std::string& fileName,
                                      const std::function<void(MeshRec&&)>& mesh,
                                      const std::function<void(std::size_t)>& passed = {});

}  // namespace tamsel
