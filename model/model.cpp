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
  MeshRec shell;
  shell.Name = mesh.Name;
  shell.MeshType = mesh.MeshType;
  shell.ExplosionType = mesh.ExplosionType;
  shell.Span = mesh.Span, shell.Center = mesh.Center, shell.Min = mesh.Min, shell.Max = mesh.Max;
  shell.TargetId = mesh.TargetId, shell.Target = mesh.Target;
  shell.Pivot = mesh.Pivot, shell.Axis = mesh.Axis, shell.Aim = mesh.Aim;
  shell.Degree = mesh.Degree;
  shell.Hardpoints = mesh.Hardpoints;
  shell.EngineGlows = mesh.EngineGlows;
  for (const LODRec& from : mesh.LODs) {
    LODRec& lod = shell.LODs.emplace_back();
    lod.Id = from.Id, lod.Selected = from.Selected;
    lod.BoxMin = from.BoxMin, lod.BoxMax = from.BoxMax, lod.BoxCenter = from.BoxCenter;
    lod.Distance = from.Distance;
  }
  return shell;
}

void AssignNewIds(LODRec& level, IdCounters& ids) {
  level.Id = ids.NewMeshId();
  level.Selected = kFalse;
  for (FaceRec& face : level.Faces) {
    face.Id = ids.NewFaceId();
    face.Selected = kFalse;
    for (int k = 0; k < 4; ++k) {
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
