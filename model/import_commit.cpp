#include "model/import_commit.h"

#include <map>

#include "model/bounds.h"

namespace tamsel {

std::size_t CommitRead(Model& model, FileTransaction& files, std::vector<IncomingFile> incoming,
                       std::vector<MeshRec> meshes, std::vector<TextureRec> textures,
                       const IdCounters& ids) {
  for (const TextureRec& t : model.Textures) files.Reserve(t.Name);
  std::map<std::string, std::string> renamed;
  for (const IncomingFile& file : incoming) {
    const std::string name = files.Bring(file.name, file.bytes, file.optional);
    if (!name.empty() && name != file.name) renamed[file.name] = name;
  }
  if (!renamed.empty()) {
    for (TextureRec& t : textures)
      if (auto it = renamed.find(t.Name); it != renamed.end()) t.Name = it->second;
    for (MeshRec& mesh : meshes)
      for (LODRec& level : mesh.LODs)
        for (FaceRec& face : level.Faces)
          for (TextureName& slot : face.TextureNames)
            if (auto it = renamed.find(slot); it != renamed.end()) slot = it->second;
  }
  const std::size_t firstMesh = model.Meshes.size();
  const std::size_t first = AppendRead(model, std::move(meshes), std::move(textures), ids);
  CalculateBoundsFrom(model, firstMesh);
  return first;
}

}  // namespace tamsel
