#include "opt/opt_import.h"

#include <algorithm>
#include <array>
#include <set>

#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/progress.h"
#include "opt/lod_distance.h"
#include "opt/opt_file.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

struct Tables {
  std::int64_t vertices = -1, texCoords = -1, normals = -1;  // data offsets
  std::int32_t vertexCount = 0, texCoordCount = 0, normalCount = 0;
};

class Importer {
 public:
  Importer(const OptFile& file, std::string title, int existingMeshes, IdCounters ids)
      : f_(file), title_(std::move(title)), existingMeshes_(existingMeshes), ids_(ids) {}

  // The counters after the read; the caller takes them over only when the read succeeded.
  const IdCounters& ids() const { return ids_; }

  OptImportResult Run() {
    const auto& meshes = f_.meshes();
    for (std::size_t i = 0; i < meshes.size(); ++i) {
      ReportProgress(static_cast<std::int64_t>(i), static_cast<std::int64_t>(meshes.size()));
      ReadMesh(static_cast<int>(i), meshes[i]);
    }
    return std::move(result_);
  }

 private:
  // Structural nodes are read once: a node met a second time (a shared or cyclic pointer)
  // would repeat its faces, so the file is refused.
  void Visit(std::int64_t offset, const char* what) {
    if (!visited_.insert(offset).second)
      f_.Fail(offset, std::string(what) + " is referenced twice");
  }

  std::string BitmapName(const std::string& name8) const {
    return SafeTitle(title_) + "_" + SanitizeNamePart(name8) + ".BMP";
  }

  // The file's title as it may stand in a file name: separators and control characters
  // (which no project file could name again) become '_'; spaces and the rest stay.
  static std::string SafeTitle(std::string title) {
    for (char& c : title) {
      const auto u = static_cast<unsigned char>(c);
      if (u < 32 || u == 127 || c == '/' || c == '\\') c = '_';
    }
    return title;
  }

  void ReadMesh(int index, std::int64_t offset) {
    const std::string label = "mesh " + std::to_string(index + 1);
    if (offset < 0) f_.Fail(22 + 4 * index, label + " has no node");
    Visit(offset, "a mesh node");
    const OptNode node = f_.Node(offset, true);
    if (node.type != kGroupNode) f_.Fail(offset, label + " is not a group node");

    MeshRec mesh;
    mesh.Name = "MESH " + std::to_string(existingMeshes_ + index + 1);
    Tables tables;
    std::int64_t holder = -1;
    std::vector<OptNode> children;
    for (std::int64_t child : node.children)
      if (child >= 0) children.push_back(f_.Node(child, false));
    for (const OptNode& c : children) {
      switch (c.type) {
        case kVertexNode:
          tables.vertices = Table(c, 12, "vertex positions", tables.vertexCount);
          break;
        case kTexCoordNode:
          tables.texCoords = Table(c, 8, "texture coordinates", tables.texCoordCount);
          break;
        case kNormalNode:
          tables.normals = Table(c, 12, "vertex normals", tables.normalCount);
          break;
        case kDescriptorNode:
          ReadDescriptor(c, mesh);
          break;
        case kRotationNode:
          ReadRotation(c, mesh);
          break;
        case kHardpointNode:
          ReadHardpoint(c, mesh);
          break;
        case kEngineGlowNode:
          ReadEngineGlow(c, mesh);
          break;
        case kGroupNode:
          if (holder >= 0) f_.Fail(c.offset, label + " has two level-of-detail holders");
          holder = c.offset;
          break;
        default:
          break;  // node types the import does not handle
      }
    }
    if (holder < 0) f_.Fail(offset, label + " has no levels of detail");
    ReadLevels(holder, tables, mesh, label);
    result_.meshes.push_back(std::move(mesh));
  }

  std::int64_t Table(const OptNode& n, int entrySize, const char* what, std::int32_t& count) {
    if (n.dataCount < 0) f_.Fail(n.offset + 16, std::string("negative count of ") + what);
    if (n.dataCount > 0 && n.dataOffset < 0)
      f_.Fail(n.offset + 20, std::string("no data for the ") + what);
    f_.CheckFinite(n.dataOffset, static_cast<std::int64_t>(n.dataCount) * entrySize / 4, what);
    count = n.dataCount;
    return n.dataOffset;
  }

  std::int64_t Data(const OptNode& n, std::int64_t length, const char* what) {
    if (n.dataOffset < 0) f_.Fail(n.offset + 20, std::string(what) + " has no data");
    f_.Need(n.dataOffset, length, what);
    return n.dataOffset;
  }

  Single3 Triple(std::int64_t at, const char* what) {
    return {f_.Single(at, what), f_.Single(at + 4, what), f_.Single(at + 8, what)};
  }

  void ReadDescriptor(const OptNode& n, MeshRec& mesh) {
    const std::int64_t d = Data(n, 72, "a hitzone descriptor");
    mesh.MeshType = f_.Long(d, "the mesh type");
    mesh.ExplosionType = f_.Long(d + 4, "the explosion type");
    mesh.Span = Triple(d + 8, "the hitzone span");
    mesh.Center = Triple(d + 20, "the hitzone centre");
    mesh.Min = Triple(d + 32, "the hitzone minimum");
    mesh.Max = Triple(d + 44, "the hitzone maximum");
    mesh.TargetId = f_.Long(d + 56, "the target id");
    mesh.Target = Triple(d + 60, "the hitzone target");
  }

  void ReadRotation(const OptNode& n, MeshRec& mesh) {
    const std::int64_t d = Data(n, 48, "the rotation data");
    mesh.Pivot = Triple(d, "the rotation pivot");
    mesh.Axis = Triple(d + 12, "the rotation axis");
    mesh.Aim = Triple(d + 24, "the translation vector");
    mesh.Degree = Triple(d + 36, "the scale vector");
  }

  void ReadHardpoint(const OptNode& n, MeshRec& mesh) {
    // Read once, like the structure: a pointer repeated millions of times is no craft.
    Visit(n.offset, "a hardpoint node");
    const std::int64_t d = Data(n, 16, "a hardpoint");
    mesh.Hardpoints.push_back(
        {f_.Long(d, "the hardpoint type"), Triple(d + 4, "the hardpoint position")});
  }

  void ReadEngineGlow(const OptNode& n, MeshRec& mesh) {
    Visit(n.offset, "an engine glow node");
    const std::int64_t d = Data(n, 72, "an engine glow");
    const auto colour = [&](std::int64_t at) {
      return RGBA{f_.Byte(at + 2, "a colour"), f_.Byte(at + 1, "a colour"), f_.Byte(at, "a colour"),
                  f_.Byte(at + 3, "a colour")};
    };
    EngineGlowRec g;
    g.InnerColor = colour(d + 4);
    g.OuterColor = colour(d + 8);
    g.Size = Triple(d + 12, "the engine glow size");
    g.Position = Triple(d + 24, "the engine glow position");
    g.Density1 = Triple(d + 36, "density 1");
    g.Density2 = Triple(d + 48, "density 2");
    g.Density3 = Triple(d + 60, "density 3");
    mesh.EngineGlows.push_back(g);
  }

  void ReadLevels(std::int64_t holderAt, const Tables& tables, MeshRec& mesh,
                  const std::string& label) {
    Visit(holderAt, "a level-of-detail holder");
    const OptNode holder = f_.Node(holderAt, true);
    std::int64_t lodAt = -1;
    for (std::int64_t child : holder.children)
      if (child >= 0) lodAt = child;  // the last non-null child
    if (lodAt < 0) f_.Fail(holderAt, label + ": the level-of-detail holder has no levels");
    Visit(lodAt, "a level-of-detail node");
    const OptNode header = f_.Node(lodAt, false);
    if (header.type != kLodNode)
      f_.Fail(lodAt, label + ": expected a level-of-detail node (type 21)");
    if (header.childCount < 1 || header.childCount > 2)
      f_.Fail(lodAt + 8, label + " has " + std::to_string(header.childCount) +
                             " levels of detail; 1 or 2 are supported");
    const OptNode lod = f_.Node(lodAt, true);
    const std::size_t levels = lod.children.size();
    const std::int64_t values =
        Data(lod, 4 * static_cast<std::int64_t>(levels), "the switch values");
    mesh.LODs.resize(levels);
    for (LODRec& level : mesh.LODs) level.Id = ids_.NewMeshId();
    for (std::size_t j = 0; j < levels; ++j) {
      mesh.LODs[j].Distance = DistanceFromSwitch(
          f_.Single(values + 4 * static_cast<std::int64_t>(j), "a switch value"));
      if (lod.children[j] < 0)
        f_.Fail(lodAt, label + ": level " + std::to_string(j + 1) + " is missing");
      ReadLevelGroup(lod.children[j], tables, mesh.LODs[j]);
    }
  }

  // Textures and face groups of one level. The face-texture slots carry over from group
  // to group the way the file's order intends: a texture node names slot 0 for the face
  // data that follow until the next texture.
  void ReadLevelGroup(std::int64_t groupAt, const Tables& tables, LODRec& level) {
    Visit(groupAt, "a level group");
    const OptNode group = f_.Node(groupAt, true);
    if (group.type != kGroupNode) f_.Fail(groupAt, "expected a level group (type 0)");
    for (std::int64_t childAt : group.children) {
      if (childAt < 0) continue;
      const OptNode child = f_.Node(childAt, false);
      switch (child.type) {
        case kTextureNode:
        case kTextureRefNode:
          slots_[0] = TextureName(child);
          break;
        case kTextureSwitchNode: {
          Visit(childAt, "a texture switch");
          const OptNode sw = f_.Node(childAt, true);
          for (std::size_t k = 0; k < 4; ++k) {
            slots_[k].clear();
            if (k < sw.children.size() && sw.children[k] >= 0) {
              const OptNode t = f_.Node(sw.children[k], false);
              if (t.type == kTextureNode || t.type == kTextureRefNode) slots_[k] = TextureName(t);
            }
          }
          break;
        }
        case kFaceDataNode:
          Visit(childAt, "a face data node");
          ReadFaces(child, tables, level);
          for (std::size_t k = 1; k < 4; ++k) slots_[k].clear();
          break;
        default:
          break;
      }
    }
  }

  // The texture's name; a full texture node is also turned into a bitmap and a record,
  // once however often it is referenced.
  std::string TextureName(const OptNode& n) {
    if (n.type == kTextureRefNode) {
      const std::int64_t at = n.dataOffset >= 0 ? n.dataOffset : n.offset + 24;
      return f_.Name8(at, "a texture reference name");
    }
    const std::string name =
        n.nameOffset >= 0 ? f_.Name8(n.nameOffset, "a texture name") : std::string();
    if (textures_.insert(n.offset).second) ReadTexture(n, name);
    return name;
  }

  void ReadTexture(const OptNode& n, const std::string& name) {
    const std::int64_t d = Data(n, 24, "a texture");
    const std::int64_t palette = f_.Pointer(d, "a palette pointer");
    const std::int32_t texels = f_.Long(d + 8, "a texel count");
    const std::int32_t width = f_.Long(d + 16, "a texture width");
    const std::int32_t height = f_.Long(d + 20, "a texture height");
    if (width <= 0 || height <= 0 || static_cast<std::int64_t>(width) * height != texels)
      f_.Fail(d + 8, "texture \"" + name + "\" has an impossible size " + std::to_string(width) +
                         " x " + std::to_string(height));
    if (palette < 0) f_.Fail(d, "texture \"" + name + "\" has no palette");
    const std::uint8_t* level8 = f_.Span(palette + 3584, 512, "a palette");
    const std::uint8_t* pixels = f_.Span(d + 24, texels, "the texels of a texture");
    const std::string file = BitmapName(name);
    result_.bitmaps.emplace_back(file, BitmapFromOptTexture(level8, pixels, width, height));
    TextureRec record;
    record.Name = file;
    result_.textures.push_back(std::move(record));
  }

  std::string SlotName(std::size_t k) const {
    return slots_[k].empty() ? kBlank : BitmapName(slots_[k]);
  }

  void ReadFaces(const OptNode& n, const Tables& t, LODRec& level) {
    const std::int32_t count = n.dataCount;
    if (count < 0) f_.Fail(n.offset + 16, "negative face count");
    const std::int64_t d = Data(n, 4 + 100 * static_cast<std::int64_t>(count), "a face block");
    std::array<std::string, 4> names;
    names[0] = SlotName(0);
    const bool variants = !slots_[1].empty();
    for (std::size_t k = 1; k < 4; ++k) names[k] = variants ? SlotName(k) : kBlank;
    const std::int64_t normals = d + 4 + 64 * static_cast<std::int64_t>(count);
    const std::int64_t vectors = d + 4 + 76 * static_cast<std::int64_t>(count);
    // The whole block lies in the file (Data above); its Singles are checked once here, so
    // the loop reads without further checks.
    f_.CheckFinite(normals, 9 * static_cast<std::int64_t>(count),
                   "a face normal or texturing direction");
    const auto triple = [&](std::int64_t at) {
      return Single3{f_.RawSingle(at), f_.RawSingle(at + 4), f_.RawSingle(at + 8)};
    };
    // A level's faces come in one block per texture: growing to exactly each block's end
    // would copy the whole level at every block, so the room at least doubles.
    const std::size_t need = level.Faces.size() + static_cast<std::size_t>(count);
    if (need > level.Faces.capacity())
      level.Faces.reserve(std::max(need, 2 * level.Faces.capacity()));
    for (std::int32_t i = 0; i < count; ++i) {
      const std::int64_t rec = d + 4 + 64 * static_cast<std::int64_t>(i);
      FaceRec& face = level.Faces.emplace_back();
      face.Id = ids_.NewFaceId();
      const bool triangle = f_.RawLong(rec + 12) == -1;
      const int corners = triangle ? 3 : 4;
      for (int k = 0; k < corners; ++k) {
        VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        const std::int64_t p = Index(rec + 4 * k, t.vertexCount, "a vertex index", t.vertices, 12);
        v.X = f_.RawSingle(p);
        v.Y = f_.RawSingle(p + 4);
        v.Z = f_.RawSingle(p + 8);
        const std::int64_t uv =
            Index(rec + 32 + 4 * k, t.texCoordCount, "a texture coordinate index", t.texCoords, 8);
        v.U = f_.RawSingle(uv);
        v.V = f_.RawSingle(uv + 4);
        const std::int64_t ijk =
            Index(rec + 48 + 4 * k, t.normalCount, "a normal index", t.normals, 12);
        v.I = f_.RawSingle(ijk);
        v.J = f_.RawSingle(ijk + 4);
        v.K = f_.RawSingle(ijk + 8);
      }
      if (triangle) face.Vertices[3] = face.Vertices[0];
      for (std::size_t k = 0; k < 4; ++k) face.Vertices[k].Id = ids_.NewVertexId();
      face.Normal = triple(normals + 12 * static_cast<std::int64_t>(i));
      face.Vector1 = triple(vectors + 24 * static_cast<std::int64_t>(i));
      face.Vector2 = triple(vectors + 24 * static_cast<std::int64_t>(i) + 12);
      for (std::size_t k = 0; k < 4; ++k) face.TextureNames[k] = names[k];
    }
  }

  // The table entry an index names; an index outside the table is an error.
  std::int64_t Index(std::int64_t at, std::int32_t count, const char* what, std::int64_t table,
                     int entrySize) {
    const std::int32_t index = f_.RawLong(at);
    if (index < 0 || index >= count)
      f_.Fail(at, std::string(what) + " " + std::to_string(index) + " is outside its table of " +
                      std::to_string(count) + " entries");
    return table + static_cast<std::int64_t>(index) * entrySize;
  }

  const OptFile& f_;
  std::string title_;
  int existingMeshes_;
  IdCounters ids_;
  OptImportResult result_;
  std::set<std::int64_t> visited_, textures_;
  std::array<std::string, 4> slots_;
};

}  // namespace

std::string OptTitle(const fs::path& optFile) {
  const fs::path name = optFile.filename();
  return HasExtension(name, ".opt") ? name.stem().string() : name.string();
}

OptImportResult ReadOptImport(Bytes bytes, const std::string& filePath, IdCounters& ids,
                              int existingMeshes) {
  const OptFile file(std::move(bytes), filePath);
  Importer importer(file, OptTitle(filePath), existingMeshes, ids);
  OptImportResult result = importer.Run();
  ids = importer.ids();
  return result;
}

std::size_t ImportOpt(Model& model, const fs::path& optFile, FileTransaction* files) {
  if (model.ProjectPath.empty()) throw FileError(optFile.string(), "", "no project is open");
  IdCounters ids = model.Ids;
  OptImportResult result =
      ReadOptImport(ReadFileBytes(optFile), optFile.string(), ids, model.MeshCount());
  return WithFiles(model.ProjectPath, files, [&](FileTransaction& tx) {
    return CommitRead(model, tx, EncodedBitmaps(result.bitmaps), std::move(result.meshes),
                      std::move(result.textures), ids);
  });
}

std::vector<IncomingFile> EncodedBitmaps(
    const std::vector<std::pair<std::string, Bitmap>>& bitmaps) {
  std::vector<IncomingFile> files;
  files.reserve(bitmaps.size());
  for (const auto& [name, bitmap] : bitmaps) files.push_back({name, EncodeBitmap(bitmap), false});
  return files;
}

}  // namespace tamsel
