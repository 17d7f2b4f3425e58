#include "interchange/own_gltf.h"

#include <tiny_gltf.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <unordered_map>

#include "editing/normals.h"
#include "model/file_error.h"
#include "model/name_text.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

// asset.extras.tamsel: 1 wrote the axes mirrored, 2 turns them (see interchange/axes.h) and
// shares vertices, carrying beside the standard attributes only what they cannot.
constexpr int kOwnGltfVersion = 2;

// A face's normal and software vector as the reader makes them where the file does not carry
// them: as Calculate makes them, a zero without its sign (as a project file keeps it), so that
// writer and reader agree bit for bit.
Single3 WithoutNegativeZero(Single3 s) {
  for (float* c : {&s.x, &s.y, &s.z})
    if (*c == 0) *c = 0;
  return s;
}
Single3 ComputedNormal(const FaceRec& face) {
  return WithoutNegativeZero(FaceNormalOf(face));
}
Single3 ComputedVector(const FaceRec& face) {
  return WithoutNegativeZero(SoftwareVectorOf(face));
}

using Value = tinygltf::Value;

Value Num(double v) {
  return Value(v);
}
Value Int(int v) {
  return Value(v);
}
Value Triple(const Single3& p) {
  return Value(Value::Array{Num(p.x), Num(p.y), Num(p.z)});
}
Value Colours(const std::vector<RGB>& colours) {
  Value::Array out;
  for (const RGB& c : colours) out.push_back(Value(Value::Array{Int(c[0]), Int(c[1]), Int(c[2])}));
  return Value(out);
}
Value Rgba(const RGBA& c) {
  return Value(Value::Array{Int(c.R), Int(c.G), Int(c.B), Int(c.A)});
}

// ---- writing ----

class GltfWriter {
 public:
  GltfWriter(const Model& model, const BitmapLoader& load, const fs::path& out)
      : model_(model), load_(load), out_(out) {
    glb_ = HasExtension(out, ".glb");
  }

  // The description is built twice: once for the JSON, which gives every piece of the binary
  // buffer its place, then again to hand the buffer's pieces to the file as they are made,
  // after the JSON. The buffer is never whole in memory, nor copied through a second file.
  ExportReport Run(const ReplaceCheck& mayReplace) {
    Build();
    const std::uint64_t binSize = binSize_;
    tinygltf::TinyGLTF io;
    std::ostringstream stream;
    if (!io.WriteGltfSceneToStream(&gltf_, stream, !glb_, false))
      throw FileError(out_.string(), "", "the glTF writer failed");
    const std::string binName = out_.stem().string() + ".bin";
    const auto emit = [&](const StagedWrites::Sink& sink) {
      sink_ = &sink;
      Build();
      sink_ = nullptr;
      if (binSize_ != binSize)
        throw FileError(out_.string(), "", "the binary buffer came out at another size");
    };
    StagedWrites staged;
    if (glb_) {
      std::string json = WithBuffer(stream.str(), "", binSize, false);
      while (json.size() % 4) json += ' ';
      const std::uint64_t binPadded = (binSize + 3) / 4 * 4;
      const std::uint64_t total = 12 + 8 + json.size() + 8 + binPadded;
      if (total > 0xFFFFFFFFu)
        throw FileError(out_.string(), "", "the model is too large for one .glb file (4 GB)");
      staged.WriteStreamed(out_, [&](const StagedWrites::Sink& sink) {
        const auto word = [&](std::uint32_t v) {
          char b[4];
          std::memcpy(b, &v, 4);  // little-endian, as every machine this runs on
          sink(std::string_view(b, 4));
        };
        word(0x46546C67);  // "glTF"
        word(2);
        word(static_cast<std::uint32_t>(total));
        word(static_cast<std::uint32_t>(json.size()));
        word(0x4E4F534A);  // "JSON"
        sink(json);
        word(static_cast<std::uint32_t>(binPadded));
        word(0x004E4942);  // "BIN"
        emit(sink);
        sink(std::string_view("\0\0\0", binPadded - binSize));
      });
    } else {
      staged.Write(out_, WithBuffer(stream.str(), binName, binSize, true));
      staged.WriteStreamed(out_.parent_path() / binName, emit);
      for (const auto& [path, bytes] : files_) staged.Write(path, bytes);
    }
    return CommitExport(staged, mayReplace);
  }

 private:
  void Build() {
    gltf_ = tinygltf::Model();
    materials_.clear();
    files_.clear();
    binSize_ = 0;
    gltf_.asset.version = "2.0";
    gltf_.asset.generator = "Tamsel 0.4";
    gltf_.asset.extras = Value(Value::Object{{"tamsel", Int(kOwnGltfVersion)}});
    gltf_.buffers.resize(1);
    gltf_.samplers.resize(1);
    gltf_.samplers[0].magFilter = TINYGLTF_TEXTURE_FILTER_NEAREST;
    gltf_.samplers[0].minFilter = TINYGLTF_TEXTURE_FILTER_NEAREST;
    MakeMaterials();
    tinygltf::Scene high, low;
    high.name = "Tamsel";
    low.name = "LOD1";
    for (std::size_t m = 0; m < model_.Meshes.size(); ++m) {
      const MeshRec& mesh = model_.Meshes[m];
      for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
        const int node = MeshNode(mesh, static_cast<int>(m), static_cast<int>(l));
        (l == 0 ? high : low).nodes.push_back(node);
      }
    }
    gltf_.scenes.push_back(high);
    if (!low.nodes.empty()) gltf_.scenes.push_back(low);
    gltf_.defaultScene = 0;
  }

  // A piece of the binary buffer: its place while the JSON is made, its bytes when emitted.
  int AddView(const void* data, std::size_t bytes, int target) {
    static constexpr char kZeros[4] = {};
    const std::size_t pad = (4 - binSize_ % 4) % 4;
    if (sink_) {
      (*sink_)(std::string_view(kZeros, pad));
      (*sink_)(std::string_view(static_cast<const char*>(data), bytes));
    }
    binSize_ += pad;
    tinygltf::BufferView view;
    view.buffer = 0;
    view.byteOffset = binSize_;
    view.byteLength = bytes;
    view.target = target;
    binSize_ += bytes;
    gltf_.bufferViews.push_back(view);
    return static_cast<int>(gltf_.bufferViews.size()) - 1;
  }

  int AddAccessor(const std::vector<float>& values, int type, int width, bool bounds,
                  int target = TINYGLTF_TARGET_ARRAY_BUFFER) {
    tinygltf::Accessor a;
    a.bufferView = AddView(values.data(), values.size() * 4, target);
    a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
    a.type = type;
    a.count = values.size() / static_cast<std::size_t>(width);
    if (bounds) {
      a.minValues.assign(static_cast<std::size_t>(width), 0);
      a.maxValues.assign(static_cast<std::size_t>(width), 0);
      for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t c = i % static_cast<std::size_t>(width);
        const double v = values[i];
        if (i < static_cast<std::size_t>(width) || v < a.minValues[c]) a.minValues[c] = v;
        if (i < static_cast<std::size_t>(width) || v > a.maxValues[c]) a.maxValues[c] = v;
      }
    }
    gltf_.accessors.push_back(a);
    return static_cast<int>(gltf_.accessors.size()) - 1;
  }

  int AddImage(const RgbaImage& image, const std::string& name) {
    const Bytes png = EncodePng(image);
    tinygltf::Image i;
    i.name = name;
    i.mimeType = "image/png";
    if (glb_) {
      i.bufferView = AddView(png.data(), png.size(), 0);
    } else {
      i.uri = out_.stem().string() + "_" + SanitizeNamePart(name) + ".png";
      files_.emplace_back(out_.parent_path() / i.uri, png);
    }
    gltf_.images.push_back(i);
    tinygltf::Texture t;
    t.source = static_cast<int>(gltf_.images.size()) - 1;
    t.sampler = 0;
    gltf_.textures.push_back(t);
    return static_cast<int>(gltf_.textures.size()) - 1;
  }

  void MakeMaterials() {
    std::vector<std::string> problems;
    for (const TextureRec& t : model_.Textures) {
      if (materials_.count(t.Name)) continue;
      tinygltf::Material material;
      material.name = t.Name;
      material.pbrMetallicRoughness.metallicFactor = 0;
      material.extras = Value(Value::Object{{"texture", Value(t.Name)},
                                            {"transOpacity", Int(t.TransOpacity)},
                                            {"transTolerance", Int(t.TransTolerance)},
                                            {"transColors", Colours(t.TransColors)},
                                            {"illumBrightness", Int(t.IllumBrightness)},
                                            {"illumTolerance", Int(t.IllumTolerance)},
                                            {"illumColors", Colours(t.IllumColors)}});
      try {
        const Bitmap bitmap = load_(t);
        const RgbaImage base = BaseColourImage(bitmap, t);
        material.pbrMetallicRoughness.baseColorTexture.index = AddImage(base, t.Name);
        if (HasAlpha(base)) material.alphaMode = "BLEND";
        RgbaImage glow;
        if (EmissiveImage(bitmap, t, glow)) {
          material.emissiveTexture.index = AddImage(glow, t.Name + " glow");
          material.emissiveFactor = {1, 1, 1};
        }
      } catch (const FileError& e) {
        problems.push_back(e.what());
      }
      gltf_.materials.push_back(material);
      materials_[t.Name] = static_cast<int>(gltf_.materials.size()) - 1;
    }
    if (!problems.empty()) {
      std::string text = "the model was not exported:";
      for (const std::string& p : problems) text += "\n  " + p;
      throw FileError(out_.string(), "", text);
    }
  }

  static bool HasAlpha(const RgbaImage& image) {
    for (std::size_t i = 3; i < image.rgba.size(); i += 4)
      if (image.rgba[i] != 255) return true;
    return false;
  }

  // One primitive per run of faces with the same texture, corners one after another.
  int MeshNode(const MeshRec& mesh, int m, int l) {
    const LODRec& level = mesh.LODs[static_cast<std::size_t>(l)];
    tinygltf::Mesh gmesh;
    gmesh.name = l == 0 ? mesh.Name : mesh.Name + " LOD1";
    for (std::size_t start = 0; start < level.Faces.size();) {
      std::size_t end = start;
      while (end < level.Faces.size() &&
             level.Faces[end].TextureNames[0] == level.Faces[start].TextureNames[0])
        ++end;
      gmesh.primitives.push_back(Primitive(level, start, end));
      start = end;
    }
    tinygltf::Node node;
    node.name = gmesh.name;
    if (!gmesh.primitives.empty()) {
      gltf_.meshes.push_back(gmesh);
      node.mesh = static_cast<int>(gltf_.meshes.size()) - 1;
    }
    Value::Object extras{
        {"tamselMesh", Int(m)}, {"level", Int(l)}, {"distance", Num(level.Distance)}};
    if (l == 0) {
      extras.insert({{"meshType", Int(mesh.MeshType)},
                     {"explosionType", Int(mesh.ExplosionType)},
                     {"targetId", Int(mesh.TargetId)},
                     {"span", Triple(mesh.Span)},
                     {"center", Triple(mesh.Center)},
                     {"min", Triple(mesh.Min)},
                     {"max", Triple(mesh.Max)},
                     {"target", Triple(mesh.Target)},
                     {"pivot", Triple(mesh.Pivot)},
                     {"axis", Triple(mesh.Axis)},
                     {"aim", Triple(mesh.Aim)},
                     {"degree", Triple(mesh.Degree)}});
      for (std::size_t h = 0; h < mesh.Hardpoints.size(); ++h) {
        const HardpointRec& hp = mesh.Hardpoints[h];
        node.children.push_back(Feature("Hardpoint " + std::to_string(h + 1), hp.Position,
                                        Value::Object{{"tamselHardpoint", Int(1)},
                                                      {"type", Int(hp.HardpointType)},
                                                      {"position", Triple(hp.Position)}}));
      }
      for (std::size_t e = 0; e < mesh.EngineGlows.size(); ++e) {
        const EngineGlowRec& g = mesh.EngineGlows[e];
        node.children.push_back(Feature("Engine glow " + std::to_string(e + 1), g.Position,
                                        Value::Object{{"tamselEngineGlow", Int(1)},
                                                      {"inner", Rgba(g.InnerColor)},
                                                      {"outer", Rgba(g.OuterColor)},
                                                      {"position", Triple(g.Position)},
                                                      {"size", Triple(g.Size)},
                                                      {"density1", Triple(g.Density1)},
                                                      {"density2", Triple(g.Density2)},
                                                      {"density3", Triple(g.Density3)}}));
      }
    }
    node.extras = Value(extras);
    gltf_.nodes.push_back(node);
    return static_cast<int>(gltf_.nodes.size()) - 1;
  }

  int Feature(const std::string& name, const Single3& at, Value::Object extras) {
    tinygltf::Node node;
    node.name = name;
    const Single3 p = ToFileAxes(at, UpAxis::Y);
    node.translation = {p.x, p.y, p.z};
    node.extras = Value(std::move(extras));
    gltf_.nodes.push_back(node);
    return static_cast<int>(gltf_.nodes.size()) - 1;
  }

  // A run of faces of one texture as one primitive: each distinct corner once (position,
  // texture coordinates and normal alike), the faces as triangles over them. What the
  // standard attributes cannot carry exactly travels beside them only where it differs:
  // normals that are not of unit length, texture coordinates whose V does not survive
  // 1 - (1 - V), quads (the corner counts join their triangles again), and face normals
  // and software vectors other than those the import computes from the corners.
  tinygltf::Primitive Primitive(const LODRec& level, std::size_t start, std::size_t end) {
    std::vector<float> positions, normals, uv, exactUv;
    std::vector<std::uint32_t> indices;
    std::vector<float> corners, faceData;
    // Flight-group slots travel only when some face of the run has variants.
    bool variants = false;
    for (std::size_t f = start; f < end && !variants; ++f)
      variants = level.Faces[f].TextureNames[1] != kBlank ||
                 level.Faces[f].TextureNames[2] != kBlank ||
                 level.Faces[f].TextureNames[3] != kBlank;
    Value::Array slots;
    std::unordered_map<std::string, std::uint32_t> vertexOf;
    bool quads = false, uvKept = true, facesComputed = true;
    const auto same = [](const Single3& a, const Single3& b) { return SameBits(a, b); };
    for (std::size_t f = start; f < end; ++f) {
      const FaceRec& face = level.Faces[f];
      const int n = face.CornerCount();
      std::uint32_t id[4] = {};
      for (int k = 0; k < n; ++k) {
        const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        const float key[8] = {v.X, v.Y, v.Z, v.U, v.V, v.I, v.J, v.K};
        const auto [it, added] =
            vertexOf.try_emplace(std::string(reinterpret_cast<const char*>(key), sizeof key),
                                 static_cast<std::uint32_t>(positions.size() / 3));
        id[k] = it->second;
        if (!added) continue;
        const Single3 p = ToFileAxes({v.X, v.Y, v.Z}, UpAxis::Y);
        const Single3 nn = ToFileAxes({v.I, v.J, v.K}, UpAxis::Y);
        positions.insert(positions.end(), {p.x, p.y, p.z});
        normals.insert(normals.end(), {nn.x, nn.y, nn.z});
        const float flipped = 1.0f - v.V;  // glTF counts V from the image's top
        uv.insert(uv.end(), {v.U, flipped});
        exactUv.insert(exactUv.end(), {v.U, v.V});
        uvKept = uvKept && 1.0f - flipped == v.V;
      }
      // The format winds counter-clockwise seen from outside, Tamsel clockwise: the triangles
      // take the corners in reverse, (0, 2, 1) and (0, 3, 2), which our reader undoes.
      indices.insert(indices.end(), {id[0], id[2], id[1]});
      if (n == 4) indices.insert(indices.end(), {id[0], id[3], id[2]});
      quads = quads || n == 4;
      corners.push_back(static_cast<float>(n));
      if (variants)
        slots.push_back(Value(Value::Array{Value(face.TextureNames[1]), Value(face.TextureNames[2]),
                                           Value(face.TextureNames[3])}));
      for (const Single3* s : {&face.Normal, &face.Vector1, &face.Vector2})
        faceData.insert(faceData.end(), {s->x, s->y, s->z});
      facesComputed = facesComputed && same(face.Normal, ComputedNormal(face)) &&
                      same(face.Vector1, ComputedVector(face)) && same(face.Vector2, {0, 0, 0});
    }
    tinygltf::Primitive prim;
    prim.mode = TINYGLTF_MODE_TRIANGLES;
    prim.attributes["POSITION"] = AddAccessor(positions, TINYGLTF_TYPE_VEC3, 3, true);
    const std::vector<float> unit = UnitOrUp(normals);
    prim.attributes["NORMAL"] = AddAccessor(unit, TINYGLTF_TYPE_VEC3, 3, false);
    if (std::memcmp(unit.data(), normals.data(), normals.size() * sizeof(float)) != 0)
      prim.attributes["_TAMSEL_NORMAL"] = AddAccessor(normals, TINYGLTF_TYPE_VEC3, 3, false);
    prim.attributes["TEXCOORD_0"] = AddAccessor(uv, TINYGLTF_TYPE_VEC2, 2, false);
    if (!uvKept) prim.attributes["_TAMSEL_UV"] = AddAccessor(exactUv, TINYGLTF_TYPE_VEC2, 2, false);
    tinygltf::Accessor a;
    a.bufferView =
        AddView(indices.data(), indices.size() * 4, TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
    a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT;
    a.type = TINYGLTF_TYPE_SCALAR;
    a.count = indices.size();
    gltf_.accessors.push_back(a);
    prim.indices = static_cast<int>(gltf_.accessors.size()) - 1;
    const auto material = materials_.find(level.Faces[start].TextureNames[0]);
    if (material != materials_.end()) prim.material = material->second;
    // Per face, in accessors of their own (no attribute names them): the corner counts, and
    // the face normal and the two software vectors. Flight-group slots only when some face
    // has variants.
    Value::Object extras{{"texture", Value(level.Faces[start].TextureNames[0])}};
    if (quads) extras["corners"] = Int(AddAccessor(corners, TINYGLTF_TYPE_SCALAR, 1, false, 0));
    if (!facesComputed)
      extras["faces"] = Int(AddAccessor(faceData, TINYGLTF_TYPE_VEC3, 3, false, 0));
    if (variants) extras["slots"] = Value(std::move(slots));
    prim.extras = Value(extras);
    return prim;
  }

  // glTF wants unit normals: others are scaled to length 1 and a corner without a normal
  // (0, 0, 0) shows (0, 1, 0); the values as they are travel in _TAMSEL_NORMAL.
  static std::vector<float> UnitOrUp(std::vector<float> normals) {
    for (std::size_t i = 0; i < normals.size(); i += 3) {
      const double len = std::sqrt(static_cast<double>(normals[i]) * normals[i] +
                                   static_cast<double>(normals[i + 1]) * normals[i + 1] +
                                   static_cast<double>(normals[i + 2]) * normals[i + 2]);
      if (std::fabs(len - 1) > 1e-3) {
        if (len > 0) {
          for (int c = 0; c < 3; ++c)
            normals[i + static_cast<std::size_t>(c)] =
                static_cast<float>(normals[i + static_cast<std::size_t>(c)] / len);
        } else {
          normals[i] = 0, normals[i + 1] = 1, normals[i + 2] = 0;
        }
      }
    }
    return normals;
  }

  // The stream writer embeds every buffer as a data URI: the buffer is named by its length
  // instead, and in a .gltf by its file.
  static std::string WithBuffer(const std::string& text, const std::string& uri,
                                std::uint64_t length, bool pretty) {
    nlohmann::json doc = nlohmann::json::parse(text);
    doc["buffers"][0] = {{"byteLength", length}};
    if (!uri.empty()) doc["buffers"][0]["uri"] = uri;
    return pretty ? doc.dump(2) : doc.dump();
  }

  const Model& model_;
  const BitmapLoader& load_;
  fs::path out_;
  bool glb_ = false;
  tinygltf::Model gltf_;
  const StagedWrites::Sink* sink_ = nullptr;  // while the buffer is emitted
  std::uint64_t binSize_ = 0;
  std::map<std::string, int> materials_;
  std::vector<std::pair<fs::path, Bytes>> files_;
};

// ---- reading ----

const Value& Get(const Value& object, const char* key) {
  static const Value none;
  return object.IsObject() && object.Has(key) ? object.Get(key) : none;
}
double NumberOf(const Value& v, double fallback = 0) {
  return v.IsNumber() || v.IsInt() ? v.GetNumberAsDouble() : fallback;
}
int IntOf(const Value& v, int fallback = 0) {
  return v.IsNumber() || v.IsInt() ? static_cast<int>(v.GetNumberAsDouble()) : fallback;
}
Single3 TripleOf(const Value& v) {
  if (!v.IsArray() || v.ArrayLen() != 3) return {};
  return {static_cast<float>(NumberOf(v.Get(0))), static_cast<float>(NumberOf(v.Get(1))),
          static_cast<float>(NumberOf(v.Get(2)))};
}
std::uint8_t ByteOf(const Value& v) {
  return static_cast<std::uint8_t>(std::clamp(IntOf(v), 0, 255));
}
std::vector<RGB> ColoursOf(const Value& v) {
  std::vector<RGB> out;
  for (std::size_t i = 0; v.IsArray() && i < v.ArrayLen(); ++i)
    if (v.Get(static_cast<int>(i)).IsArray() && v.Get(static_cast<int>(i)).ArrayLen() == 3)
      out.push_back({ByteOf(v.Get(static_cast<int>(i)).Get(0)),
                     ByteOf(v.Get(static_cast<int>(i)).Get(1)),
                     ByteOf(v.Get(static_cast<int>(i)).Get(2))});
  return out;
}
RGBA RgbaOf(const Value& v) {
  if (!v.IsArray() || v.ArrayLen() != 4) return {};
  return {ByteOf(v.Get(0)), ByteOf(v.Get(1)), ByteOf(v.Get(2)), ByteOf(v.Get(3))};
}

class GltfReader {
 public:
  GltfReader(const tinygltf::Model& gltf, const fs::path& file, const ModelImportOptions& options,
             IdCounters& ids, const std::set<std::string>& taken)
      : gltf_(gltf), file_(file), options_(options), ids_(ids) {
    for (const std::string& name : taken) taken_.insert(LowerCase(name));
  }

  ModelImportResult Run() {
    ReadMaterials();
    std::map<int, MeshRec> meshes;
    for (const tinygltf::Node& node : gltf_.nodes) {
      const Value& mesh = Get(node.extras, "tamselMesh");
      if (!mesh.IsInt() && !mesh.IsNumber()) continue;
      const int level = IntOf(Get(node.extras, "level"));
      if (level < 0 || level > 1) Fail("a node has level " + std::to_string(level));
      MeshRec& rec = meshes[IntOf(mesh)];
      if (rec.LODs.size() < static_cast<std::size_t>(level) + 1)
        rec.LODs.resize(static_cast<std::size_t>(level) + 1);
      LODRec& lod = rec.LODs[static_cast<std::size_t>(level)];
      lod.Distance = static_cast<float>(NumberOf(Get(node.extras, "distance")));
      if (node.mesh >= 0 && static_cast<std::size_t>(node.mesh) < gltf_.meshes.size())
        for (const tinygltf::Primitive& p :
             gltf_.meshes[static_cast<std::size_t>(node.mesh)].primitives)
          ReadPrimitive(p, lod);
      if (level == 0) ReadMeshValues(node, rec);
    }
    for (auto& [index, mesh] : meshes) {
      if (mesh.LODs.empty() || (mesh.LODs[0].Faces.empty() && mesh.LODs.size() < 2)) continue;
      for (LODRec& lod : mesh.LODs) AssignNewIds(lod, ids_);
      result_.meshes.push_back(std::move(mesh));
    }
    if (result_.meshes.empty()) Fail("the file holds no meshes");
    return std::move(result_);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw FileError(file_.string(), "", what);
  }

  void ReadMeshValues(const tinygltf::Node& node, MeshRec& mesh) {
    const Value& x = node.extras;
    mesh.Name = WithoutControlCharacters(node.name);
    mesh.MeshType = IntOf(Get(x, "meshType"));
    mesh.ExplosionType = IntOf(Get(x, "explosionType"));
    mesh.TargetId = IntOf(Get(x, "targetId"));
    mesh.Span = TripleOf(Get(x, "span")), mesh.Center = TripleOf(Get(x, "center"));
    mesh.Min = TripleOf(Get(x, "min")), mesh.Max = TripleOf(Get(x, "max"));
    mesh.Target = TripleOf(Get(x, "target")), mesh.Pivot = TripleOf(Get(x, "pivot"));
    mesh.Axis = TripleOf(Get(x, "axis")), mesh.Aim = TripleOf(Get(x, "aim"));
    mesh.Degree = TripleOf(Get(x, "degree"));
    for (int child : node.children) {
      if (child < 0 || static_cast<std::size_t>(child) >= gltf_.nodes.size()) continue;
      const Value& f = gltf_.nodes[static_cast<std::size_t>(child)].extras;
      if (Get(f, "tamselHardpoint").IsInt())
        mesh.Hardpoints.push_back({IntOf(Get(f, "type")), TripleOf(Get(f, "position"))});
      if (Get(f, "tamselEngineGlow").IsInt()) {
        EngineGlowRec g;
        g.InnerColor = RgbaOf(Get(f, "inner")), g.OuterColor = RgbaOf(Get(f, "outer"));
        g.Position = TripleOf(Get(f, "position")), g.Size = TripleOf(Get(f, "size"));
        g.Density1 = TripleOf(Get(f, "density1")), g.Density2 = TripleOf(Get(f, "density2"));
        g.Density3 = TripleOf(Get(f, "density3"));
        mesh.EngineGlows.push_back(g);
      }
    }
  }

  std::vector<float> Floats(const tinygltf::Primitive& p, const char* attribute, int width) {
    const auto it = p.attributes.find(attribute);
    return it == p.attributes.end() ? std::vector<float>{} : FloatsAt(it->second, attribute, width);
  }

  // The floats of an accessor, checked against the buffer.
  std::vector<float> FloatsAt(int index, const char* attribute, int width) {
    if (index < 0 || static_cast<std::size_t>(index) >= gltf_.accessors.size())
      Fail("a bad accessor");
    const tinygltf::Accessor& a = gltf_.accessors[static_cast<std::size_t>(index)];
    if (a.componentType != TINYGLTF_COMPONENT_TYPE_FLOAT || a.bufferView < 0 ||
        static_cast<std::size_t>(a.bufferView) >= gltf_.bufferViews.size())
      Fail(std::string("the accessor of ") + attribute + " is not one Tamsel writes");
    const tinygltf::BufferView& v = gltf_.bufferViews[static_cast<std::size_t>(a.bufferView)];
    if (v.buffer < 0 || static_cast<std::size_t>(v.buffer) >= gltf_.buffers.size())
      Fail("a bad buffer view");
    const auto& data = gltf_.buffers[static_cast<std::size_t>(v.buffer)].data;
    const std::size_t count = a.count * static_cast<std::size_t>(width);
    const std::size_t start = v.byteOffset + a.byteOffset;
    if (v.byteStride != 0 && v.byteStride != static_cast<std::size_t>(4 * width))
      Fail("an interleaved accessor");
    if (start > data.size() || count > (data.size() - start) / 4 || count * 4 > v.byteLength)
      Fail(std::string("the data of ") + attribute + " lies outside its buffer");
    std::vector<float> out(count);
    std::memcpy(out.data(), data.data() + start, count * 4);
    return out;
  }

  // The corners of each face, as indices into the primitive's vertices. The first version
  // wrote each face's corners in a row of their own, with the corner counts; later ones
  // share the vertices and take the faces from the triangles, (0, 2, 1) and (0, 3, 2).
  std::vector<std::array<std::size_t, 4>> FaceCorners(const tinygltf::Primitive& p,
                                                      const std::vector<float>& counts,
                                                      std::size_t vertices) {
    std::vector<std::array<std::size_t, 4>> faces;
    if (Version() < 2) {
      std::size_t vertex = 0;
      for (const float c : counts) {
        const int n = static_cast<int>(c);
        if ((n != 3 && n != 4) || vertex + static_cast<std::size_t>(n) > vertices)
          Fail("the corner counts do not match the vertices");
        faces.push_back({vertex, vertex + 1, vertex + 2, vertex + (n == 4 ? 3 : 0)});
        vertex += static_cast<std::size_t>(n);
      }
      return faces;
    }
    const std::vector<std::uint32_t> index = IndicesOf(p);
    const std::size_t count = counts.empty() ? index.size() / 3 : counts.size();
    std::size_t at = 0;
    for (std::size_t f = 0; f < count; ++f) {
      const int n = counts.empty() ? 3 : static_cast<int>(counts[f]);
      if ((n != 3 && n != 4) || at + (n == 4 ? 6u : 3u) > index.size())
        Fail("the corner counts do not match the triangles");
      std::array<std::size_t, 4> c{index[at], index[at + 2], index[at + 1], index[at]};
      if (n == 4) c[3] = index[at + 4];
      for (const std::size_t i : c)
        if (i >= vertices) Fail("a triangle names a vertex the primitive lacks");
      faces.push_back(c);
      at += n == 4 ? 6 : 3;
    }
    return faces;
  }

  std::vector<std::uint32_t> IndicesOf(const tinygltf::Primitive& p) {
    if (p.indices < 0 || static_cast<std::size_t>(p.indices) >= gltf_.accessors.size())
      Fail("a primitive without triangles");
    const tinygltf::Accessor& a = gltf_.accessors[static_cast<std::size_t>(p.indices)];
    if (a.componentType != TINYGLTF_COMPONENT_TYPE_UNSIGNED_INT || a.bufferView < 0 ||
        static_cast<std::size_t>(a.bufferView) >= gltf_.bufferViews.size())
      Fail("the triangles' accessor is not one Tamsel writes");
    const tinygltf::BufferView& v = gltf_.bufferViews[static_cast<std::size_t>(a.bufferView)];
    if (v.buffer < 0 || static_cast<std::size_t>(v.buffer) >= gltf_.buffers.size())
      Fail("a bad buffer view");
    const auto& data = gltf_.buffers[static_cast<std::size_t>(v.buffer)].data;
    const std::size_t start = v.byteOffset + a.byteOffset;
    if (start > data.size() || a.count > (data.size() - start) / 4 || a.count * 4 > v.byteLength)
      Fail("the triangles lie outside their buffer");
    std::vector<std::uint32_t> out(a.count);
    std::memcpy(out.data(), data.data() + start, a.count * 4);
    return out;
  }

  int Version() const { return IntOf(Get(gltf_.asset.extras, "tamsel")); }

  void ReadPrimitive(const tinygltf::Primitive& p, LODRec& lod) {
    const std::vector<float> positions = Floats(p, "POSITION", 3);
    std::vector<float> normals = Floats(p, "_TAMSEL_NORMAL", 3);
    if (normals.empty()) normals = Floats(p, "NORMAL", 3);
    std::vector<float> uv = Floats(p, "_TAMSEL_UV", 2);
    const bool exactUv = !uv.empty();
    if (!exactUv) uv = Floats(p, "TEXCOORD_0", 2);
    const int countsAt = IntOf(Get(p.extras, "corners"), -1);
    const std::vector<float> counts = countsAt < 0 && Version() >= 2
                                          ? std::vector<float>{}
                                          : FloatsAt(countsAt, "the corner counts", 1);
    const int facesAt = IntOf(Get(p.extras, "faces"), -1);
    const std::vector<float> faces = facesAt < 0 && Version() >= 2
                                         ? std::vector<float>{}
                                         : FloatsAt(facesAt, "the face vectors", 3);
    const Value& slots = Get(p.extras, "slots");
    std::string texture;
    if (const auto it = textureOfMaterial_.find(p.material); it != textureOfMaterial_.end())
      texture = it->second;
    else
      texture =
          Get(p.extras, "texture").IsString() ? Get(p.extras, "texture").Get<std::string>() : "";
    const std::vector<std::array<std::size_t, 4>> corners =
        FaceCorners(p, counts, positions.size() / 3);
    for (std::size_t f = 0; f < corners.size(); ++f) {
      FaceRec face;
      for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t i = corners[f][k];
        VertexRec& v = face.Vertices[k];
        const Single3 pos = Axes(positions[3 * i], positions[3 * i + 1], positions[3 * i + 2]);
        const double s = options_.scale;
        v.X = static_cast<float>(pos.x * s), v.Y = static_cast<float>(pos.y * s),
        v.Z = static_cast<float>(pos.z * s);
        if (normals.size() >= 3 * (i + 1)) {
          const Single3 nn = Axes(normals[3 * i], normals[3 * i + 1], normals[3 * i + 2]);
          v.I = nn.x, v.J = nn.y, v.K = nn.z;
        }
        if (uv.size() >= 2 * (i + 1))
          v.U = uv[2 * i], v.V = exactUv ? uv[2 * i + 1] : 1.0f - uv[2 * i + 1];
      }
      face.TextureNames = {Renamed(texture), kBlank, kBlank, kBlank, ""};
      const Value& s =
          slots.IsArray() && f < slots.ArrayLen() ? slots.Get(static_cast<int>(f)) : Value();
      for (int k = 0; k < 3; ++k)
        if (s.IsArray() && s.ArrayLen() == 3 && s.Get(k).IsString())
          face.TextureNames[static_cast<std::size_t>(k + 1)] = Renamed(s.Get(k).Get<std::string>());
      if (faces.size() >= 9 * (f + 1)) {
        Single3* parts[3] = {&face.Normal, &face.Vector1, &face.Vector2};
        for (std::size_t q = 0; q < 3; ++q)
          *parts[q] = {faces[9 * f + 3 * q], faces[9 * f + 3 * q + 1], faces[9 * f + 3 * q + 2]};
      } else if (faces.empty() && Version() >= 2) {
        // Written only where they differ from these: the face's own, from its corners.
        face.Normal = ComputedNormal(face);
        face.Vector1 = ComputedVector(face);
      }
      lod.Faces.push_back(std::move(face));
    }
  }

  // The file's axes as the craft's: our first exports mirrored them, later ones turn them.
  Single3 Axes(float x, float y, float z) const {
    return Version() < 2 ? MirroredFileAxes(x, y, z) : FromFileAxes(x, y, z, UpAxis::Y);
  }

  // Texture names as the project will know them: kept unless the project has one already.
  std::string Renamed(const std::string& name) {
    if (name == kBlank || name.empty()) return name;
    const auto it = renamed_.find(name);
    return it == renamed_.end() ? name : it->second;
  }

  void ReadMaterials() {
    for (std::size_t m = 0; m < gltf_.materials.size(); ++m) {
      const tinygltf::Material& material = gltf_.materials[m];
      const Value& x = material.extras;
      if (!Get(x, "texture").IsString()) continue;
      const std::string original = Get(x, "texture").Get<std::string>();
      TextureRec t;
      t.Name = UniqueName(original);
      renamed_[original] = t.Name;
      textureOfMaterial_[static_cast<int>(m)] = original;
      t.TransOpacity = ByteOf(Get(x, "transOpacity"));
      t.TransTolerance = ByteOf(Get(x, "transTolerance"));
      t.TransColors = ColoursOf(Get(x, "transColors"));
      t.IllumBrightness =
          static_cast<std::uint8_t>(std::clamp(IntOf(Get(x, "illumBrightness"), 8), 1, 16));
      t.IllumTolerance = ByteOf(Get(x, "illumTolerance"));
      t.IllumColors = ColoursOf(Get(x, "illumColors"));
      result_.bitmaps.emplace_back(
          t.Name, BitmapOf(material.pbrMetallicRoughness.baseColorTexture.index, t.Name));
      result_.textures.push_back(t);
    }
  }

  // The base colour image without its alpha (the texture's transparency is in its settings).
  Bitmap BitmapOf(int texture, const std::string& name) {
    if (texture < 0 || static_cast<std::size_t>(texture) >= gltf_.textures.size())
      return PlainColourBitmap(204, 204, 204);
    const int source = gltf_.textures[static_cast<std::size_t>(texture)].source;
    if (source < 0 || static_cast<std::size_t>(source) >= gltf_.images.size())
      return PlainColourBitmap(204, 204, 204);
    const tinygltf::Image& image = gltf_.images[static_cast<std::size_t>(source)];
    if (image.bits != 8 || (image.component != 3 && image.component != 4) || image.width <= 0 ||
        image.height <= 0 ||
        image.image.size() != static_cast<std::size_t>(image.width) *
                                  static_cast<std::size_t>(image.height) *
                                  static_cast<std::size_t>(image.component))
      Fail("the image of " + name + " is not an 8-bit RGB or RGBA image");
    RgbaImage rgba{image.width, image.height, {}};
    rgba.rgba.reserve(static_cast<std::size_t>(image.width) *
                      static_cast<std::size_t>(image.height) * 4);
    for (std::size_t i = 0; i < image.image.size(); i += static_cast<std::size_t>(image.component))
      rgba.rgba.insert(rgba.rgba.end(),
                       {image.image[i], image.image[i + 1], image.image[i + 2], 255});
    return ToIndexed(std::move(rgba), options_.texture, name, result_.warnings).bitmap;
  }

  std::string UniqueName(const std::string& wanted) {
    return UniqueFileName(IsSafeFileName(wanted) ? wanted : SanitizeNamePart(wanted), taken_);
  }

  const tinygltf::Model& gltf_;
  fs::path file_;
  const ModelImportOptions& options_;
  IdCounters& ids_;
  std::set<std::string> taken_;
  std::map<std::string, std::string> renamed_;
  std::map<int, std::string> textureOfMaterial_;
  ModelImportResult result_;
};

// The file's JSON, discarded when there is none. A .glb keeps its JSON in the first chunk
// (length at byte 12, JSON from byte 20).
nlohmann::json JsonOf(std::string_view bytes, bool binary) {
  const char* begin = bytes.data();
  const char* end = begin + bytes.size();
  if (binary) {
    if (bytes.size() < 20) return nlohmann::json::value_t::discarded;
    std::uint32_t length = 0;
    std::memcpy(&length, bytes.data() + 12, 4);
    if (length > bytes.size() - 20) return nlohmann::json::value_t::discarded;
    begin += 20;
    end = begin + length;
  }
  return nlohmann::json::parse(begin, end, nullptr, false);
}

// Whether the file's JSON holds asset.extras.tamsel as a number.
bool MarkedAsOurs(const Bytes& bytes, bool binary) {
  const nlohmann::json json =
      JsonOf({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, binary);
  if (json.is_discarded() || !json.is_object()) return false;
  const auto asset = json.find("asset");
  if (asset == json.end() || !asset->is_object()) return false;
  const auto extras = asset->find("extras");
  if (extras == asset->end() || !extras->is_object()) return false;
  const auto mark = extras->find("tamsel");
  return mark != extras->end() && mark->is_number_integer();
}

// Reads only inside the model's folder, as the general import does.
struct Guard {
  fs::path folder;
  std::vector<std::string>* warnings;
  bool Inside(const std::string& path) const { return IsInsideFolder(folder, path); }
};

}  // namespace

std::optional<ModelImportResult> ReadOwnGltf(const fs::path& file,
                                             const ModelImportOptions& options, IdCounters& ids,
                                             const std::set<std::string>& takenNames) {
  const Bytes bytes = ReadFileBytes(file);
  const bool binary = bytes.size() >= 4 && std::memcmp(bytes.data(), "glTF", 4) == 0;
  // Only a file whose asset says it is ours is read here, wherever the writer put the asset.
  if (!MarkedAsOurs(bytes, binary)) return std::nullopt;
  std::vector<std::string> refused;
  Guard guard{fs::absolute(file).parent_path(), &refused};
  tinygltf::TinyGLTF loader;
  tinygltf::FsCallbacks fs{};
  fs.FileExists = [](const std::string& path, void* user) {
    std::error_code ec;
    return static_cast<Guard*>(user)->Inside(path) && fs::is_regular_file(path, ec);
  };
  fs.ExpandFilePath = [](const std::string& path, void*) { return path; };
  fs.ReadWholeFile = [](std::vector<unsigned char>* out, std::string* err, const std::string& path,
                        void* user) {
    auto* g = static_cast<Guard*>(user);
    if (!g->Inside(path)) {
      g->warnings->push_back("not read (outside the model's folder): " + path);
      if (err) *err += "refused " + path;
      return false;
    }
    try {
      const Bytes data = ReadFileBytes(path);
      out->assign(data.begin(), data.end());
      return true;
    } catch (const FileError& e) {
      if (err) *err += e.what();
      return false;
    }
  };
  fs.WriteWholeFile = [](std::string*, const std::string&, const std::vector<unsigned char>&,
                         void*) { return false; };
  fs.user_data = &guard;
  loader.SetFsCallbacks(fs);
  tinygltf::Model gltf;
  std::string error, warning;
  const std::string base = file.parent_path().string();
  const bool ok = binary ? loader.LoadBinaryFromMemory(&gltf, &error, &warning, bytes.data(),
                                                       static_cast<unsigned>(bytes.size()), base)
                         : loader.LoadASCIIFromString(&gltf, &error, &warning,
                                                      reinterpret_cast<const char*>(bytes.data()),
                                                      static_cast<unsigned>(bytes.size()), base);
  if (!ok) throw FileError(file.string(), "", "not a readable glTF file: " + error);
  if (!Get(gltf.asset.extras, "tamsel").IsInt()) return std::nullopt;
  IdCounters fresh = ids;
  ModelImportResult result = GltfReader(gltf, file, options, fresh, takenNames).Run();
  result.warnings.insert(result.warnings.end(), refused.begin(), refused.end());
  ids = fresh;
  return result;
}

std::vector<std::string> GltfExtensionsUsed(const fs::path& file) {
  std::vector<std::string> used;
  try {
    // Mapped: of a .glb only the JSON, its first chunk, is read, not the buffer behind it.
    const MappedText mapped(file);
    const std::string_view text = mapped.text();
    const bool binary = text.size() >= 4 && text.substr(0, 4) == "glTF";
    const nlohmann::json json = JsonOf(text, binary);
    if (!json.is_object()) return used;
    const auto list = json.find("extensionsUsed");
    if (list == json.end() || !list->is_array()) return used;
    for (const auto& name : *list)
      if (name.is_string()) used.push_back(name.get<std::string>());
  } catch (const FileError&) {
  }
  return used;
}

ExportReport WriteGltf(const Model& model, const BitmapLoader& bitmaps, const fs::path& out,
                       const ReplaceCheck& mayReplace) {
  return GltfWriter(model, bitmaps, out).Run(mayReplace);
}

}  // namespace tamsel
