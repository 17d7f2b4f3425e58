#include "interchange/model_import.h"

#include <assimp/DefaultIOSystem.h>
#include <assimp/config.h>
#include <assimp/material.h>
#include <assimp/postprocess.h>
#include <assimp/scene.h>
#include <assimp/Importer.hpp>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <exception>
#include <map>
#include <optional>
#include <string_view>
#include <thread>

#include "editing/normals.h"
#include "editing/ship_features.h"
#include "editing/smooth_normals.h"
#include "interchange/material_bitmaps.h"
#include "interchange/model_files.h"
#include "interchange/own_gltf.h"
#include "interchange/polygon_split.h"
#include "interchange/uv_transform.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/name_text.h"
#include "opt/bitmap.h"
#include "opt/opt_import.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

// Opens files for the importer only inside the model's folder, found as the modeller meant
// them (see FindModelFile): a path that leads out of the folder is refused, and only regular
// files are tested or opened, so that a FIFO cannot hang the import.
class FolderIOSystem : public Assimp::DefaultIOSystem {
 public:
  FolderIOSystem(fs::path folder, std::vector<std::string>& warnings)
      : folder_(std::move(folder)), warnings_(warnings) {}

  bool Exists(const char* file) const override { return Find(file).has_value(); }
  Assimp::IOStream* Open(const char* file, const char* mode) override {
    const auto found = Find(file);
    if (!found) {
      warnings_.push_back(std::string("not found inside the model's folder (files outside the "
                                      "model's folder are never read): ") +
                          file);
      return nullptr;
    }
    return Assimp::DefaultIOSystem::Open(found->c_str(), mode);
  }
  std::optional<fs::path> Find(std::string_view file) const {
    // The library joins the model's folder and the name as the file wrote it.
    const std::string base = folder_.string() + "/";
    if (file.substr(0, base.size()) == base) file.remove_prefix(base.size());
    return FindModelFile(folder_, file);
  }

 private:
  fs::path folder_;
  std::vector<std::string>& warnings_;
};

// A number of the scene's metadata, whatever type the reader stored it as.
std::optional<double> MetadataNumber(const aiScene& scene, const char* key) {
  if (!scene.mMetaData) return std::nullopt;
  const aiMetadata& m = *scene.mMetaData;
  for (unsigned i = 0; i < m.mNumProperties; ++i) {
    if (std::string_view(m.mKeys[i].C_Str()) != key || !m.mValues[i].mData) continue;
    const void* data = m.mValues[i].mData;
    switch (m.mValues[i].mType) {
      case AI_DOUBLE:
        return *static_cast<const double*>(data);
      case AI_FLOAT:
        return *static_cast<const float*>(data);
      case AI_INT32:
        return *static_cast<const std::int32_t*>(data);
      case AI_UINT64:
        return static_cast<double>(*static_cast<const std::uint64_t*>(data));
      default:
        return std::nullopt;
    }
  }
  return std::nullopt;
}

// How many metres one unit of the file's coordinates is, where the reader leaves the unit
// to us: an FBX file states its unit in centimetres (UnitScaleFactor, 1 when it is in
// centimetres, 2.54 in inches, 100 in metres). Other readers apply their unit themselves
// (Collada's unit element) or have none but the metre (glTF).
double FileUnitInMetres(const aiScene& scene, const fs::path& file) {
  if (!HasExtension(file, ".fbx")) return 1;
  const auto usable = [](std::optional<double> v) { return v && *v > 0 && std::isfinite(*v); };
  std::optional<double> cm = MetadataNumber(scene, "UnitScaleFactor");
  if (!usable(cm)) cm = MetadataNumber(scene, "OriginalUnitScaleFactor");
  return usable(cm) ? *cm / 100 : 0.01;  // without one, FBX's own default: centimetres
}

// The axes a file declares: FBX in its global settings (UpAxis, FrontAxis, CoordAxis and
// their signs); glTF is Y-up by its definition, and the library turns Collada's up_axis and
// 3DS's Z up into Y up itself. Nothing for the formats that say nothing (OBJ, STL, PLY ...).
std::optional<FileAxes> DeclaredAxes(const aiScene& scene, const fs::path& file) {
  if (HasExtension(file, ".fbx")) {
    FileAxes a;
    std::int32_t v = 0;
    const aiMetadata* m = scene.mMetaData;
    const auto get = [&](const char* key, int& into) {
      if (m && m->Get(key, v)) into = v;
      return m && m->HasKey(key);
    };
    if (!get("UpAxis", a.up)) return std::nullopt;
    get("UpAxisSign", a.upSign);
    get("FrontAxis", a.front);
    get("FrontAxisSign", a.frontSign);
    get("CoordAxis", a.coord);
    get("CoordAxisSign", a.coordSign);
    if (a.Valid()) return a;
    return std::nullopt;
  }
  for (const char* declared : {".gltf", ".glb", ".dae", ".3ds"})
    if (HasExtension(file, declared)) return FileAxes{};
  return std::nullopt;
}

// Normals a mesh can keep: every one of some length and finite. An STL writer that stores
// (0, 0, 0) for its faces gives none.
bool UsableNormals(const aiMesh& m) {
  if (!m.HasNormals()) return false;
  for (unsigned i = 0; i < m.mNumVertices; ++i) {
    const aiVector3D& n = m.mNormals[i];
    const float length = n.SquareLength();
    if (!(length > 0) || !std::isfinite(length)) return false;
  }
  return true;
}

class SceneReader {
 public:
  SceneReader(const aiScene& scene, const fs::path& file, const ModelImportOptions& options,
              IdCounters& ids, const std::set<std::string>& taken, bool readFiles)
      : scene_(scene),
        file_(file),
        options_(options),
        ids_(ids),
        readFiles_(readFiles),
        scale_(options.scale * FileUnitInMetres(scene, file)) {
    taken_ = taken;
    title_ = SanitizeNamePart(file.stem().string());
    if (options.up) {
      axes_ = FileAxes::Of(*options.up);
    } else if (const auto declared = DeclaredAxes(scene, file)) {
      axes_ = *declared;
    } else {
      result_.warnings.push_back(
          "the file does not say which way is up: Y was taken as up, the front facing +Z (for "
          "a Z-up file choose Z, --up z)");
    }
  }

  ModelImportResult Run(FolderIOSystem* io) {
    MaterialBitmaps::Finder find;
    if (readFiles_ && io) find = [io](std::string_view named) { return io->Find(named); };
    materials_.emplace(scene_, options_.texture, find, title_, taken_, file_.filename().string());
    materials_->PrepareAll();
    if (scene_.mRootNode) Walk(*scene_.mRootNode, aiMatrix4x4());
    if (skippedLines)
      result_.warnings.push_back(std::to_string(skippedLines) + " lines and points skipped");
    if (fanned)
      result_.warnings.push_back(std::to_string(fanned) +
                                 " polygons of more than four corners triangulated");
    if (splitQuads)
      result_.warnings.push_back(std::to_string(splitQuads) +
                                 " bent or concave quads split into two triangles");
    if (flat)
      result_.warnings.push_back(std::to_string(flat) +
                                 " faces whose corners all lie on a line dropped: they cover "
                                 "nothing");
    materials_->Finish(result_);
    WarnOfWhatIsLeftBehind();
    if (result_.meshes.empty())
      throw FileError(file_.string(), "", "the file holds no faces to import");
    ComputeNormalsAndVectors();
    return std::move(result_);
  }

 private:
  // Depth first, parents before children, in the file's order; a loop, not recursion, so
  // that a node chain thousands deep needs no stack.
  void Walk(const aiNode& root, const aiMatrix4x4& parent) {
    std::vector<std::pair<const aiNode*, aiMatrix4x4>> pending{{&root, parent}};
    while (!pending.empty()) {
      const auto [node, above] = pending.back();
      pending.pop_back();
      const aiMatrix4x4 transform = above * node->mTransformation;
      if (node->mNumMeshes > 0) AddNode(*node, transform);
      for (unsigned c = node->mNumChildren; c-- > 0;)
        if (node->mChildren[c]) pending.emplace_back(node->mChildren[c], transform);
    }
  }

  // What the project cannot hold, counted over the scene, so that the user knows.
  void WarnOfWhatIsLeftBehind() {
    std::size_t colours = 0, secondUv = 0, bones = 0, morphs = 0;
    for (unsigned i = 0; i < scene_.mNumMeshes; ++i) {
      const aiMesh& m = *scene_.mMeshes[i];
      colours += m.GetNumColorChannels() > 0;
      secondUv += m.GetNumUVChannels() > 1;
      bones += m.mNumBones;
      morphs += m.mNumAnimMeshes;
    }
    const auto tell = [&](std::size_t n, const std::string& what) {
      if (n) result_.warnings.push_back(std::to_string(n) + " " + what);
    };
    tell(colours, "meshes with vertex colours: the colours are not kept");
    tell(secondUv, "meshes with a second set of texture coordinates: only the first is kept");
    tell(bones, "bones of skins: the meshes come in as posed in the file");
    tell(morphs, "morph targets: not kept");
    tell(scene_.mNumAnimations, "animations: not kept");
  }

  std::string UniqueMeshName(std::string name) {
    name = WithoutControlCharacters(name);
    if (name.empty()) name = "mesh";
    std::string unique = name;
    for (int n = 2; meshNames_.count(unique); ++n) unique = name + " " + std::to_string(n);
    meshNames_.insert(unique);
    return unique;
  }

  void AddNode(const aiNode& node, const aiMatrix4x4& transform) {
    aiMatrix4x4 normalTransform = transform;
    normalTransform.Inverse().Transpose();
    // The file winds counter-clockwise seen from outside, Tamsel clockwise, and turning the
    // axes keeps a winding's sense: corners come in reverse, unless a mirroring transform in
    // the file has turned them round already.
    const bool reverse = (transform.Determinant() >= 0) != axes_.Mirrors();
    MeshRec mesh;
    const aiMesh* first = scene_.mMeshes[node.mMeshes[0]];
    mesh.Name = UniqueMeshName(node.mName.length ? node.mName.C_Str() : first->mName.C_Str());
    mesh.LODs.resize(1);
    // Room for the faces at once (polygons split add a few more): growing by doubling would
    // hold up to twice a large mesh's faces for a moment.
    std::size_t expected = 0;
    for (unsigned i = 0; i < node.mNumMeshes; ++i)
      if (node.mMeshes[i] < scene_.mNumMeshes)
        expected += scene_.mMeshes[node.mMeshes[i]]->mNumFaces;
    mesh.LODs[0].Faces.reserve(expected);
    bool normals = true;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
      const aiMesh& m = *scene_.mMeshes[node.mMeshes[i]];
      meshNormals_ = UsableNormals(m);
      normals = normals && meshNormals_;
      const MaterialBitmaps::Texture texture =
          materials_->TextureOf(m.mMaterialIndex, result_, m.HasTextureCoords(0));
      uvMap_.reset();
      if (m.mMaterialIndex < scene_.mNumMaterials)
        uvMap_ = MaterialUvMap(*scene_.mMaterials[m.mMaterialIndex],
                               HasExtension(file_, ".gltf") || HasExtension(file_, ".glb"));
      const unsigned held = FacesHeld(m);
      for (unsigned f = 0; f < held; ++f) {
        const aiFace& face = m.mFaces[f];
        if (face.mNumIndices < 3) {
          ++skippedLines;
          continue;
        }
        std::vector<unsigned> order(face.mIndices, face.mIndices + face.mNumIndices);
        if (reverse) std::reverse(order.begin() + 1, order.end());
        for (unsigned index : order)
          if (index >= m.mNumVertices)
            throw FileError(file_.string(), "", "a face names a vertex the mesh lacks");
        if (order.size() == 3) {
          AddFace(mesh, m, order, transform, normalTransform, texture);
          continue;
        }
        std::vector<Single3> corners;
        for (unsigned index : order) corners.push_back(Place(transform * m.mVertices[index]));
        if (order.size() == 4 && IsFlatConvexQuad(corners)) {
          AddFace(mesh, m, order, transform, normalTransform, texture);
          continue;
        }
        const auto triangles = SplitPolygon(corners);
        if (triangles.empty()) {
          ++flat;
          continue;
        }
        ++(order.size() == 4 ? splitQuads : fanned);
        for (const auto& t : triangles)
          AddFace(mesh, m, {order[t[0]], order[t[1]], order[t[2]]}, transform, normalTransform,
                  texture);
      }
    }
    if (mesh.LODs[0].Faces.empty()) return;
    AssignNewIds(mesh.LODs[0], ids_);
    if (!normals) withoutNormals_.push_back(result_.meshes.size());
    result_.meshes.push_back(std::move(mesh));
  }

  // The faces a mesh really holds. The library fills the faces a PLY file's header promises
  // but its body lacks with copies of the last one read: those copies are left out, and the
  // report says the file ends early.
  unsigned FacesHeld(const aiMesh& m) {
    if (!HasExtension(file_, ".ply") || m.mNumFaces < 2) return m.mNumFaces;
    const auto same = [&](unsigned a, unsigned b) {
      const aiFace &x = m.mFaces[a], &y = m.mFaces[b];
      return x.mNumIndices == y.mNumIndices &&
             std::equal(x.mIndices, x.mIndices + x.mNumIndices, y.mIndices);
    };
    unsigned held = m.mNumFaces;
    while (held > 1 && same(held - 1, held - 2)) --held;
    if (held < m.mNumFaces && !truncatedTold_) {
      truncatedTold_ = true;
      result_.warnings.push_back(
          "the file ends before the last " + std::to_string(m.mNumFaces - held) +
          " faces its header promises: the " + std::to_string(held) + " it holds were imported");
    }
    return held;
  }

  Single3 Place(const aiVector3D& p) const {
    const double s = scale_;
    const Single3 t = axes_.ToCraft(p.x, p.y, p.z);
    return {static_cast<float>(t.x * s), static_cast<float>(t.y * s), static_cast<float>(t.z * s)};
  }

  void AddFace(MeshRec& mesh, const aiMesh& m, const std::vector<unsigned>& order,
               const aiMatrix4x4& transform, const aiMatrix4x4& normalTransform,
               const MaterialBitmaps::Texture& texture) {
    FaceRec face;
    for (std::size_t k = 0; k < 4; ++k) {
      const unsigned index = order[k < order.size() ? k : 0];
      if (index >= m.mNumVertices)
        throw FileError(file_.string(), "", "a face names a vertex the mesh lacks");
      VertexRec& v = face.Vertices[k];
      const Single3 p = Place(transform * m.mVertices[index]);
      v.X = p.x, v.Y = p.y, v.Z = p.z;
      if (m.HasTextureCoords(0)) {
        v.U = m.mTextureCoords[0][index].x, v.V = m.mTextureCoords[0][index].y;
        if (uvMap_) uvMap_->Apply(v.U, v.V);
      }
      if (texture.u) v.U = *texture.u, v.V = *texture.v;  // a plain colour's swatch cell
      if (meshNormals_) {
        aiVector3D n = normalTransform * m.mNormals[index] - normalTransform * aiVector3D(0, 0, 0);
        n.Normalize();
        const Single3 t = axes_.ToCraft(n.x, n.y, n.z);
        v.I = t.x, v.J = t.y, v.K = t.z;
      }
    }
    face.TextureNames = {texture.name, kBlank, kBlank, kBlank, ""};
    mesh.LODs[0].Faces.push_back(std::move(face));
  }

  // The game culls and lights by the face normals and maps by the software vectors: a
  // craft straight from an import is ready to be written. Meshes the file gave no normals
  // get vertex normals from the face normals, averaged over those meshes alone.
  void ComputeNormalsAndVectors() {
    Model all;
    all.Meshes = std::move(result_.meshes);
    CalculateFaceNormals(all);
    CalculateSoftwareVectors(all);
    // Hitzones as Calculate > Hitzones makes them: each mesh's box, so that a model of many
    // meshes does not come in with a check warning for each.
    CalculateHitzones(all);
    if (!withoutNormals_.empty()) {
      Model some;
      for (std::size_t m : withoutNormals_) some.Meshes.push_back(std::move(all.Meshes.Edit(m)));
      if (options_.smoothAngle)
        SmoothNormalsByAngle(some, *options_.smoothAngle);
      else
        CalculateVertexNormals(some);
      for (std::size_t i = 0; i < withoutNormals_.size(); ++i)
        all.Meshes.Edit(withoutNormals_[i]) = std::move(some.Meshes.Edit(i));
    }
    result_.meshes.clear();
    for (std::size_t m = 0; m < all.Meshes.size(); ++m)
      result_.meshes.push_back(std::move(all.Meshes.Edit(m)));
  }

  const aiScene& scene_;
  fs::path file_;
  const ModelImportOptions& options_;
  IdCounters& ids_;
  bool readFiles_;
  double scale_;
  std::string title_;
  std::set<std::string> taken_, meshNames_;
  std::optional<MaterialBitmaps> materials_;
  std::optional<UvMap> uvMap_;  // of the mesh being read
  bool meshNormals_ = false;    // whether the mesh being read has normals to keep
  FileAxes axes_;
  bool truncatedTold_ = false;
  std::vector<std::size_t> withoutNormals_;
  ModelImportResult result_;
  int skippedLines = 0, fanned = 0, splitQuads = 0, flat = 0;
};

void Configure(Assimp::Importer& importer) {
  // The unit is applied once, by FileUnitInMetres, whatever a version of the library does.
  importer.SetPropertyBool(AI_CONFIG_FBX_CONVERT_TO_M, false);
  // Lines and points are skipped by the reader, with a warning; cameras and lights ignored.
  importer.SetPropertyInteger(AI_CONFIG_PP_RVC_FLAGS, aiComponent_CAMERAS | aiComponent_LIGHTS);
  // A file of lights or cameras alone holds no faces: no placeholder meshes for its nodes.
  importer.SetPropertyBool(AI_CONFIG_IMPORT_NO_SKELETON_MESHES, true);
}

constexpr unsigned kSteps = aiProcess_ValidateDataStructure | aiProcess_RemoveComponent;

}  // namespace

ModelImportResult ReadModelFile(const fs::path& file, const ModelImportOptions& options,
                                IdCounters& ids, const std::set<std::string>& takenNames) {
  if (HasExtension(file, ".gltf") || HasExtension(file, ".glb"))
    if (auto own = ReadOwnGltf(file, options, ids, takenNames)) return std::move(*own);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) throw FileError(file.string(), "", "not a readable file");
  // The library's reader of the modelling tool's own files fails on those of current
  // versions; its glTF export is read well.
  if (HasExtension(file, ".blend"))
    throw FileError(file.string(), "",
                    "Blender's own files cannot be read: export the scene as glTF from Blender");
  std::vector<std::string> ioWarnings;
  Assimp::Importer importer;
  Configure(importer);
  auto* io = new FolderIOSystem(fs::absolute(file).parent_path(), ioWarnings);
  importer.SetIOHandler(io);  // the importer owns it
  const aiScene* scene = importer.ReadFile(fs::absolute(file).string(), kSteps);
  // An STL may hold an empty solid beside full ones; the library's check refuses the whole
  // file for it. Read again unchecked: the reader below checks every index it uses.
  if (!scene && HasExtension(file, ".stl") &&
      std::string(importer.GetErrorString()).find("no vertices") != std::string::npos)
    scene = importer.ReadFile(fs::absolute(file).string(), aiProcess_RemoveComponent);
  if (!scene) throw FileError(file.string(), "", importer.GetErrorString());
  IdCounters fresh = ids;
  ModelImportResult result = SceneReader(*scene, file, options, fresh, takenNames, true).Run(io);
  result.warnings.insert(result.warnings.end(), ioWarnings.begin(), ioWarnings.end());
  if (HasExtension(file, ".gltf") || HasExtension(file, ".glb")) {
    // What the library reads of glTF's extensions; what it does not (techniques, other
    // texture schemes) is told, never dropped without a word.
    static const std::set<std::string> read = {
        "KHR_texture_transform",      "KHR_materials_pbrSpecularGlossiness",
        "KHR_materials_unlit",        "KHR_materials_emissive_strength",
        "KHR_mesh_quantization",      "KHR_lights_punctual",
        "KHR_materials_clearcoat",    "KHR_materials_sheen",
        "KHR_materials_transmission", "KHR_materials_volume",
        "KHR_materials_ior",          "KHR_materials_specular"};
    std::string unread;
    for (const std::string& name : GltfExtensionsUsed(file))
      if (!read.count(name)) unread += (unread.empty() ? "" : ", ") + name;
    if (!unread.empty())
      result.warnings.push_back("the file uses glTF extensions the import does not read (" +
                                unread + "): the textures or materials they carry are missing");
  }
  ids = fresh;
  return result;
}

ModelImportResult ReadModelBytes(const Bytes& bytes, const std::string& extension,
                                 const ModelImportOptions& options, IdCounters& ids) {
  std::vector<std::string> ioWarnings;
  Assimp::Importer importer;
  Configure(importer);
  auto* io = new FolderIOSystem("/nonexistent-folder-for-memory-reads", ioWarnings);
  importer.SetIOHandler(io);
  const aiScene* scene =
      importer.ReadFileFromMemory(bytes.data(), bytes.size(), kSteps, extension.c_str());
  if (!scene) throw FileError("memory." + extension, "", importer.GetErrorString());
  IdCounters fresh = ids;
  ModelImportResult result =
      SceneReader(*scene, "memory." + extension, options, fresh, {}, false).Run(io);
  ids = fresh;
  return result;
}

std::size_t ImportModel(Model& model, const fs::path& file, const ModelImportOptions& options,
                        FileTransaction* files, std::vector<std::string>* warnings) {
  if (model.ProjectPath.empty()) throw FileError(file.string(), "", "no project is open");
  // The bitmaps are named as the model names them and brought in by the imports' rules: the
  // same bytes already there are used as they are, a different file keeps its name and the
  // import's takes a free one (and says so), a folder or device in the way stops the import.
  // Only the names of a folder the result is merged into later are avoided here.
  std::set<std::string> taken;
  if (!options.avoidNamesIn.empty()) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(options.avoidNamesIn, ec))
      taken.insert(entry.path().filename().string());
  }
  IdCounters ids = model.Ids;
  ModelImportResult result = ReadModelFile(file, options, ids, taken);
  const std::size_t first = WithFiles(model.ProjectPath, files, [&](FileTransaction& tx) {
    return CommitRead(model, tx, EncodedBitmaps(result.bitmaps), std::move(result.meshes),
                      std::move(result.textures), ids);
  });
  if (warnings) warnings->insert(warnings->end(), result.warnings.begin(), result.warnings.end());
  return first;
}

}  // namespace tamsel
