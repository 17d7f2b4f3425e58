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
#include "interchange/model_files.h"
#include "interchange/own_gltf.h"
#include "interchange/polygon_split.h"
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
    for (const std::string& name : taken) taken_.insert(LowerCase(name));
    title_ = SanitizeNamePart(file.stem().string());
  }

  ModelImportResult Run(FolderIOSystem* io) {
    io_ = io;
    PrepareAll();
    if (scene_.mRootNode) Walk(*scene_.mRootNode, aiMatrix4x4());
    if (skippedLines)
      result_.warnings.push_back(std::to_string(skippedLines) + " lines and points skipped");
    if (fanned)
      result_.warnings.push_back(std::to_string(fanned) +
                                 " polygons of more than four corners triangulated");
    if (splitQuads)
      result_.warnings.push_back(std::to_string(splitQuads) +
                                 " bent or concave quads split into two triangles");
    if (result_.meshes.empty())
      throw FileError(file_.string(), "", "the file holds no faces to import");
    ComputeMissingNormals();
    ComputeFaceNormalsAndVectors();
    return std::move(result_);
  }

 private:
  void Walk(const aiNode& node, const aiMatrix4x4& parent) {
    const aiMatrix4x4 transform = parent * node.mTransformation;
    if (node.mNumMeshes > 0) AddNode(node, transform);
    for (unsigned c = 0; c < node.mNumChildren; ++c) Walk(*node.mChildren[c], transform);
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
    // A mirroring transform turns the file's windings round already.
    const bool reverse = transform.Determinant() > 0;
    MeshRec mesh;
    const aiMesh* first = scene_.mMeshes[node.mMeshes[0]];
    mesh.Name = UniqueMeshName(node.mName.length ? node.mName.C_Str() : first->mName.C_Str());
    mesh.LODs.resize(1);
    bool normals = true;
    for (unsigned i = 0; i < node.mNumMeshes; ++i) {
      const aiMesh& m = *scene_.mMeshes[node.mMeshes[i]];
      normals = normals && m.HasNormals();
      const std::string texture = TextureOf(m.mMaterialIndex);
      for (unsigned f = 0; f < m.mNumFaces; ++f) {
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
        ++(order.size() == 4 ? splitQuads : fanned);
        for (const auto& t : SplitPolygon(corners))
          AddFace(mesh, m, {order[t[0]], order[t[1]], order[t[2]]}, transform, normalTransform,
                  texture);
      }
    }
    if (mesh.LODs[0].Faces.empty()) return;
    AssignNewIds(mesh.LODs[0], ids_);
    if (!normals) withoutNormals_.push_back(result_.meshes.size());
    result_.meshes.push_back(std::move(mesh));
  }

  Single3 Place(const aiVector3D& p) const {
    const double s = scale_;
    const Single3 t = FromFileAxes(p.x, p.y, p.z, options_.up);
    return {static_cast<float>(t.x * s), static_cast<float>(t.y * s), static_cast<float>(t.z * s)};
  }

  void AddFace(MeshRec& mesh, const aiMesh& m, const std::vector<unsigned>& order,
               const aiMatrix4x4& transform, const aiMatrix4x4& normalTransform,
               const std::string& texture) {
    FaceRec face;
    for (std::size_t k = 0; k < 4; ++k) {
      const unsigned index = order[k < order.size() ? k : 0];
      if (index >= m.mNumVertices)
        throw FileError(file_.string(), "", "a face names a vertex the mesh lacks");
      VertexRec& v = face.Vertices[k];
      const Single3 p = Place(transform * m.mVertices[index]);
      v.X = p.x, v.Y = p.y, v.Z = p.z;
      if (m.HasTextureCoords(0))
        v.U = m.mTextureCoords[0][index].x, v.V = m.mTextureCoords[0][index].y;
      if (m.HasNormals()) {
        aiVector3D n = normalTransform * m.mNormals[index] - normalTransform * aiVector3D(0, 0, 0);
        n.Normalize();
        const Single3 t = FromFileAxes(n.x, n.y, n.z, options_.up);
        v.I = t.x, v.J = t.y, v.K = t.z;
      }
    }
    face.TextureNames = {texture, kBlank, kBlank, kBlank, ""};
    mesh.LODs[0].Faces.push_back(std::move(face));
  }

  // A material's bitmap: its base colour or diffuse image, or a plain bitmap of its colour.
  struct Prepared {
    IndexedTexture indexed;
    std::string stem;
    std::vector<std::string> warnings;
  };
  Prepared Prepare(unsigned index) const {
    Prepared out;
    const aiMaterial* material = index < scene_.mNumMaterials ? scene_.mMaterials[index] : nullptr;
    out.stem = material ? material->GetName().C_Str() : "";
    aiString path;
    bool hasImage = false;
    if (material)
      for (const aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE})
        if (!hasImage && material->GetTexture(type, 0, &path) == AI_SUCCESS) hasImage = true;
    if (hasImage) {
      const std::string where = path.C_Str();
      if (where.empty() || where[0] != '*') out.stem = fs::path(where).stem().string();
      try {
        out.indexed = ToIndexed(LoadImage(where), options_.texture, where, out.warnings);
      } catch (const FileError& e) {
        out.warnings.push_back(std::string("image not used: ") + e.what());
        hasImage = false;
      }
    }
    if (!hasImage) {
      aiColor4D colour(0.8f, 0.8f, 0.8f, 1);
      if (material && material->Get(AI_MATKEY_BASE_COLOR, colour) != AI_SUCCESS)
        material->Get(AI_MATKEY_COLOR_DIFFUSE, colour);
      const auto byte = [](float c) {
        return static_cast<std::uint8_t>(std::clamp(std::lround(c * 255.0f), 0L, 255L));
      };
      out.indexed.bitmap = PlainColourBitmap(byte(colour.r), byte(colour.g), byte(colour.b));
    }
    return out;
  }

  // The materials the meshes use, prepared on every core: reducing true-colour images to
  // 256 colours is most of a large import's time.
  void PrepareAll() {
    std::set<unsigned> used;
    for (unsigned m = 0; m < scene_.mNumMeshes; ++m) used.insert(scene_.mMeshes[m]->mMaterialIndex);
    const std::vector<unsigned> list(used.begin(), used.end());
    std::vector<Prepared> done(list.size());
    std::vector<std::exception_ptr> failures(list.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
      for (std::size_t i; (i = next++) < list.size();) try {
          done[i] = Prepare(list[i]);
        } catch (...) {
          failures[i] = std::current_exception();
        }
    };
    std::vector<std::thread> helpers;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    for (unsigned t = 1; t < cores && t < list.size(); ++t) helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers) t.join();
    for (std::size_t i = 0; i < list.size(); ++i) {
      if (failures[i]) std::rethrow_exception(failures[i]);
      prepared_.emplace(list[i], std::move(done[i]));
    }
  }

  // The texture record of material `index`, made once, in the order the meshes use them.
  std::string TextureOf(unsigned index) {
    if (auto it = materials_.find(index); it != materials_.end()) return it->second;
    auto found = prepared_.find(index);
    Prepared p = found != prepared_.end() ? std::move(found->second) : Prepare(index);
    result_.warnings.insert(result_.warnings.end(), p.warnings.begin(), p.warnings.end());
    IndexedTexture& indexed = p.indexed;
    const std::string& stem = p.stem;
    TextureRec record;
    record.Name = UniqueBitmapName(stem.empty() ? "material" : stem);
    record.TransColors = indexed.transColors;
    record.TransOpacity = indexed.transOpacity;
    result_.bitmaps.emplace_back(record.Name, std::move(indexed.bitmap));
    result_.textures.push_back(record);
    materials_[index] = record.Name;
    return record.Name;
  }

  RgbaImage LoadImage(const std::string& where) const {
    if (const aiTexture* embedded = scene_.GetEmbeddedTexture(where.c_str())) {
      if (embedded->mHeight == 0) {
        const auto* p = reinterpret_cast<const std::uint8_t*>(embedded->pcData);
        return DecodeImage(Bytes(p, p + embedded->mWidth), where);
      }
      RgbaImage image{static_cast<int>(embedded->mWidth), static_cast<int>(embedded->mHeight), {}};
      for (std::size_t i = 0; i < static_cast<std::size_t>(image.width) * image.height; ++i) {
        const aiTexel& t = embedded->pcData[i];
        image.rgba.insert(image.rgba.end(), {t.r, t.g, t.b, t.a});
      }
      return image;
    }
    if (!readFiles_ || !io_) throw FileError(where, "", "files are not read here");
    const auto image = io_->Find(where);
    if (!image)
      throw FileError(where, "",
                      "not found inside the model's folder (files outside the model's folder "
                      "are never read)");
    return DecodeImage(ReadFileBytes(*image), image->string());
  }

  std::string UniqueBitmapName(const std::string& stem) {
    return UniqueFileName(title_ + "_" + SanitizeNamePart(stem) + ".BMP", taken_);
  }

  void ComputeMissingNormals() {
    if (withoutNormals_.empty()) return;
    Model scratch;
    for (std::size_t m : withoutNormals_) scratch.Meshes.push_back(result_.meshes[m]);
    CalculateFaceNormals(scratch);
    CalculateVertexNormals(scratch);
    for (std::size_t i = 0; i < withoutNormals_.size(); ++i)
      result_.meshes[withoutNormals_[i]] = scratch.Meshes[i];
  }

  // The game culls and lights by the face normals and maps by the software vectors: a
  // craft straight from an import is ready to be written.
  void ComputeFaceNormalsAndVectors() {
    Model scratch;
    scratch.Meshes = std::move(result_.meshes);
    CalculateFaceNormals(scratch);
    CalculateSoftwareVectors(scratch);
    result_.meshes.clear();
    for (std::size_t m = 0; m < scratch.Meshes.size(); ++m)
      result_.meshes.push_back(std::move(scratch.Meshes.Edit(m)));
  }

  const aiScene& scene_;
  fs::path file_;
  const ModelImportOptions& options_;
  IdCounters& ids_;
  bool readFiles_;
  double scale_;
  FolderIOSystem* io_ = nullptr;
  std::string title_;
  std::set<std::string> taken_, meshNames_;
  std::map<unsigned, std::string> materials_;
  std::map<unsigned, Prepared> prepared_;
  std::vector<std::size_t> withoutNormals_;
  ModelImportResult result_;
  int skippedLines = 0, fanned = 0, splitQuads = 0;
};

void Configure(Assimp::Importer& importer) {
  // The unit is applied once, by FileUnitInMetres, whatever a version of the library does.
  importer.SetPropertyBool(AI_CONFIG_FBX_CONVERT_TO_M, false);
  // Lines and points are skipped by the reader, with a warning; cameras and lights ignored.
  importer.SetPropertyInteger(AI_CONFIG_PP_RVC_FLAGS, aiComponent_CAMERAS | aiComponent_LIGHTS);
}

constexpr unsigned kSteps = aiProcess_ValidateDataStructure | aiProcess_RemoveComponent;

}  // namespace

ModelImportResult ReadModelFile(const fs::path& file, const ModelImportOptions& options,
                                IdCounters& ids, const std::set<std::string>& takenNames) {
  if (HasExtension(file, ".gltf") || HasExtension(file, ".glb"))
    if (auto own = ReadOwnGltf(file, options, ids, takenNames)) return std::move(*own);
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) throw FileError(file.string(), "", "not a readable file");
  std::vector<std::string> ioWarnings;
  Assimp::Importer importer;
  Configure(importer);
  auto* io = new FolderIOSystem(fs::absolute(file).parent_path(), ioWarnings);
  importer.SetIOHandler(io);  // the importer owns it
  const aiScene* scene = importer.ReadFile(fs::absolute(file).string(), kSteps);
  if (!scene) throw FileError(file.string(), "", importer.GetErrorString());
  IdCounters fresh = ids;
  ModelImportResult result = SceneReader(*scene, file, options, fresh, takenNames, true).Run(io);
  result.warnings.insert(result.warnings.end(), ioWarnings.begin(), ioWarnings.end());
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
  std::set<std::string> taken;
  for (const TextureRec& t : model.Textures) taken.insert(t.Name);
  for (const fs::path& folder : {fs::path(model.ProjectPath), options.avoidNamesIn}) {
    std::error_code ec;
    if (!folder.empty())
      for (const auto& entry : fs::directory_iterator(folder, ec))
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
