// The one model the editor works on: meshes, textures, the project folder and the id counters.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "model/cow_vector.h"
#include "model/records.h"

namespace tamsel {

struct IdCounters {
  std::int32_t NextMeshId = 1000;
  std::int32_t NextFaceId = 2000;
  std::int32_t NextVertexId = 20000;

  // Increment first, then take: the first level made after start is 1001.
  std::int32_t NewMeshId() { return ++NextMeshId; }
  std::int32_t NewFaceId() { return ++NextFaceId; }
  std::int32_t NewVertexId() { return ++NextVertexId; }
};

// The craft's content: what edits change and the undo history takes back.
struct Craft {
  // Shared with the undo history until written: write through Meshes.Edit(m).
  CowVector<MeshRec> Meshes;
  CowVector<TextureRec> Textures;
  Single3 ModelMin, ModelMax, ModelCenter, ModelSpan;  // the box of every corner

  std::int32_t MeshCount() const { return static_cast<std::int32_t>(Meshes.size()); }
  std::int32_t TextureCount() const { return static_cast<std::int32_t>(Textures.size()); }
};

// The craft as this session holds it: its folder, the id counters and the view's scale
// come with it, and stay where they are when a step is undone.
struct Model : Craft {
  std::string ProjectPath;
  std::string StartFolder;
  IdCounters Ids;  // never reset while the program runs, not even by a new project
  double ViewExtent = 10.0;
  double NormalLength = 30.0;

  // Empties meshes, textures and the model box; the counters and the view extent stay.
  void Clear();
};

// Commits what a reader built aside: appends the meshes and textures and takes over the
// counters the read advanced. Returns the index of the first appended texture.
std::size_t AppendRead(Model& model, std::vector<MeshRec> meshes, std::vector<TextureRec> textures,
                       const IdCounters& ids);

// Gives a level, its faces and their corners fresh ids, all unselected.
void AssignNewIds(LODRec& level, IdCounters& ids);

// The mesh with every value but its levels' faces, which are left empty, never copied: the
// start of a mesh rebuilt face by face (a split, a patch of the history).
MeshRec MeshShell(const MeshRec& mesh);

// Sum of FaceCount over every level of every mesh.
std::int64_t TotalFaceCount(const Model& model);
// Sum of the corners of every face of every level.
std::int64_t TotalCornerCount(const Model& model);

// The bitmap file names that the texture records and the faces' slots name, each once
// ("BLANK" and "" among them where slots hold them).
template <typename Meshes, typename Textures>
std::set<std::string> NamedBitmaps(const Meshes& meshes, const Textures& textures) {
  std::unordered_set<TextureName> inSlots;  // by handle: a few names over a million faces
  for (const MeshRec& mesh : meshes)
    for (const LODRec& level : mesh.LODs)
      for (const FaceRec& face : level.Faces)
        inSlots.insert(face.TextureNames.begin(), face.TextureNames.end());
  std::set<std::string> names;
  for (const TextureRec& t : textures) names.insert(t.Name);
  for (const TextureName& name : inSlots) names.insert(name.str());
  return names;
}

}  // namespace tamsel
