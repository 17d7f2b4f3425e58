#include "model/model.h"

namespace tamsel {

void Model::Clear() {
  Meshes.clear();
  Textures.clear();
  ModelMin = ModelMax = ModelCenter = ModelSpan = Single3{};
}

std::size_t AppendRead(Model& model, std::vector<MeshRec> meshes, std::vector<TextureRec> textures,
                       const IdCounters& ids) {
  model.Ids = ids;
  const std::size_t firstTexture = model.Textures.size();
  for (MeshRec& mesh : meshes) model.Meshes.push_back(std::move(mesh));
  for (TextureRec& t : textures) model.Textures.push_back(std::move(t));
  return firstTexture;
}

MeshRec MeshShell(const MeshRec& mesh) {
  MeshRec shell = mesh;  // the levels' faces are shared, not copied
  for (LODRec& level : shell.LODs) level.Faces.clear();
  return shell;
}

void AssignNewIds(LODRec& level, IdCounters& ids) {
  level.Id = ids.NewMeshId();
  level.Selected = kFalse;
  for (FaceRec& face : level.Faces) {
    face.Id = ids.NewFaceId();
    face.Selected = kFalse;
    for (std::size_t k = 0; k < 4; ++k) {
      face.Vertices[k].Id = ids.NewVertexId();
      face.Vertices[k].Selected = kFalse;
    }
  }
}

std::int64_t TotalFaceCount(const Model& model) {
  std::int64_t n = 0;
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& level : mesh.LODs) n += level.FaceCount();
  return n;
}

std::int64_t TotalCornerCount(const Model& model) {
  std::int64_t n = 0;
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& level : mesh.LODs)
      for (const FaceRec& face : level.Faces) n += face.CornerCount();
  return n;
}

}  // namespace tamsel
