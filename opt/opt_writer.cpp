#include "opt/opt_writer.h"

#include "model/finite_check.h"

#include <array>
#include <bit>
#include <cstdio>
#include <map>
#include <unordered_map>

#include "model/file_error.h"
#include "model/file_io.h"
#include "model/progress.h"
#include "opt/lod_distance.h"
#include "opt/opt_out.h"
#include "opt/texture_encoder.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

// Tables of distinct values compared exactly, as Singles compare: -0 equals +0.
template <std::size_t N>
class DistinctTable {
 public:
  std::int32_t Add(const std::array<float, N>& v) {
    Key key;
    for (std::size_t i = 0; i < N; ++i)
      key[i] = std::bit_cast<std::uint32_t>(v[i] == 0 ? 0.0f : v[i]);
    auto [it, added] = index_.try_emplace(key, static_cast<std::int32_t>(values_.size()));
    if (added) values_.push_back(v);
    return it->second;
  }
  const std::vector<std::array<float, N>>& values() const { return values_; }

 private:
  using Key = std::array<std::uint32_t, N>;
  struct Hash {
    std::size_t operator()(const Key& k) const {
      std::size_t h = 1469598103934665603ull;
      for (std::uint32_t v : k) h = (h ^ v) * 1099511628211ull;
      return h;
    }
  };
  std::unordered_map<Key, std::int32_t, Hash> index_;
  std::vector<std::array<float, N>> values_;
};

struct CornerIndices {
  std::array<std::int32_t, 4> vertex{}, texCoord{}, normal{};
};

// The four texture names a face group is written with: a "BLANK" among slots 1..3 of a
// switch takes slot 0's texture, so the switch always has four textures.
struct Group {
  std::array<std::string, 4> names;
  std::vector<std::size_t> faces;
  bool Switch() const { return names[1] != kBlank || names[2] != kBlank || names[3] != kBlank; }
  std::string SideName(int k) const {
    return names[static_cast<std::size_t>(k)] == kBlank ? names[0]
                                                        : names[static_cast<std::size_t>(k)];
  }
};

std::vector<Group> GroupsOf(const LODRec& level) {
  std::vector<Group> groups;
  std::map<std::array<std::string, 4>, std::size_t> index;
  for (std::size_t f = 0; f < level.Faces.size(); ++f) {
    const auto& n = level.Faces[f].TextureNames;
    const std::array<std::string, 4> key = {n[0], n[1], n[2], n[3]};
    auto [it, added] = index.try_emplace(key, groups.size());
    if (added) groups.push_back({key, {}});
    groups[it->second].faces.push_back(f);
  }
  return groups;
}

class Writer {
 public:
  Writer(const Model& model, const BitmapLoader& load, std::mt19937& random)
      : model_(model), load_(load), encoder_(random) {}

  Bytes Run() {
    CheckInputs();
    try {
      return WriteAll();
    } catch (const OptTooLarge& e) {
      throw FileError(OptFilePath(model_).string(), "", e.what());
    }
  }

 private:
  Bytes WriteAll() {
    out_.Long(-5);
    out_.Long(0);
    out_.Long(108);
    out_.Byte(2);
    out_.Byte(0);
    out_.Long(model_.MeshCount());
    out_.Long(122);
    out_.Zeros(4 * model_.Meshes.size());
    written_.assign(model_.Textures.size(), false);
    for (std::size_t m = 0; m < model_.Meshes.size(); ++m) {
      ReportProgress(static_cast<std::int64_t>(m), static_cast<std::int64_t>(model_.Meshes.size()));
      out_.PatchLong(22 + 4 * m, out_.NextPointer());
      WriteMesh(model_.Meshes[m]);
    }
    out_.PatchLong(4, static_cast<std::int32_t>(out_.Size() - 8));
    return out_.Take();
  }

  // Every number must be a finite Single, and every texture a face needs must be in the
  // list with a readable bitmap; all problems are reported together so the user can mend
  // them in one go.
  void CheckInputs() {
    for (std::size_t t = 0; t < model_.Textures.size(); ++t)
      lastIndex_[model_.Textures[t].Name] = t;
    std::vector<std::string> problems;
    for (std::size_t m = 0; m < model_.Meshes.size(); ++m)
      if (auto where = FindNonFinite(model_.Meshes[m], static_cast<int>(m)))
        problems.push_back(*where + " is not a finite number");
    std::vector<bool> checked(model_.Textures.size(), false);
    bitmaps_.resize(model_.Textures.size());
    for (std::size_t m = 0; m < model_.Meshes.size(); ++m)
      for (std::size_t l = 0; l < model_.Meshes[m].LODs.size(); ++l)
        for (const Group& g : GroupsOf(model_.Meshes[m].LODs[l]))
          for (int k = 0; k < (g.Switch() ? 4 : 1); ++k) {
            const std::string name = g.SideName(k);
            const std::string where = "mesh " + std::to_string(m + 1) + ", level " +
                                      std::to_string(l + 1) + ", face " +
                                      std::to_string(g.faces.front() + 1);
            auto it = lastIndex_.find(name);
            if (it == lastIndex_.end()) {
              problems.push_back(where + ": texture \"" + name + "\" is not in the texture list");
              continue;
            }
            const std::size_t t = it->second;
            if (checked[t]) continue;
            checked[t] = true;
            if (t > 99999) {
              problems.push_back("texture \"" + name +
                                 "\": more than 100000 textures cannot be named");
              continue;
            }
            try {
              bitmaps_[t] = load_(model_.Textures[t]);
            } catch (const FileError& e) {
              problems.push_back(where + ": " + e.what());
            }
          }
    if (problems.empty()) return;
    std::string text = "the OPT file was not written:";
    for (std::size_t i = 0; i < problems.size() && i < 20; ++i) text += "\n  " + problems[i];
    if (problems.size() > 20) text += "\n  and " + std::to_string(problems.size() - 20) + " more";
    throw FileError(OptFilePath(model_).string(), "", text);
  }

  void WriteMesh(const MeshRec& mesh) {
    // Distinct tables over all levels, faces in order, corners 0..n-1.
    DistinctTable<3> positions, normals;
    DistinctTable<2> coords;
    std::vector<std::vector<CornerIndices>> indices(mesh.LODs.size());
    for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
      indices[l].resize(mesh.LODs[l].Faces.size());
      for (std::size_t f = 0; f < mesh.LODs[l].Faces.size(); ++f) {
        const FaceRec& face = mesh.LODs[l].Faces[f];
        CornerIndices& ci = indices[l][f];
        ci.vertex.fill(-1);
        ci.texCoord.fill(-1);
        ci.normal.fill(-1);
        for (int k = 0; k < face.CornerCount(); ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          ci.vertex[static_cast<std::size_t>(k)] = positions.Add({v.X, v.Y, v.Z});
          ci.texCoord[static_cast<std::size_t>(k)] = coords.Add({v.U, v.V});
          ci.normal[static_cast<std::size_t>(k)] = normals.Add({v.I, v.J, v.K});
        }
      }
    }
    const std::size_t glows = mesh.EngineGlows.size(), hps = mesh.Hardpoints.size();
    const std::size_t array = out_.Node(0, static_cast<std::int32_t>(6 + glows + hps), 1, false);
    int child = 0;

    out_.PatchChild(array, child++);
    WriteVertexTable(positions.values(), mesh);
    out_.PatchChild(array, child++);
    out_.Node(13, 0, static_cast<std::int32_t>(coords.values().size()), true);
    for (const auto& uv : coords.values()) out_.Single(uv[0]), out_.Single(uv[1]);
    out_.PatchChild(array, child++);
    out_.Node(11, 0, static_cast<std::int32_t>(normals.values().size()), true);
    for (const auto& n : normals.values()) out_.Single(n[0]), out_.Single(n[1]), out_.Single(n[2]);

    out_.PatchChild(array, child++);
    out_.Node(25, 0, 1, true);
    out_.Long(mesh.MeshType);
    out_.Long(mesh.ExplosionType);
    for (const Single3* v : {&mesh.Span, &mesh.Center, &mesh.Min, &mesh.Max}) Triple(*v);
    out_.Long(mesh.TargetId);
    Triple(mesh.Target);

    for (const EngineGlowRec& g : mesh.EngineGlows) {
      out_.PatchChild(array, child++);
      out_.Node(28, 0, 1, true);
      out_.Long(0);
      for (const RGBA* c : {&g.InnerColor, &g.OuterColor}) {
        out_.Byte(c->B);
        out_.Byte(c->G);
        out_.Byte(c->R);
        out_.Byte(c->A);
      }
      for (const Single3* v : {&g.Size, &g.Position, &g.Density1, &g.Density2, &g.Density3})
        Triple(*v);
    }

    out_.PatchChild(array, child++);
    out_.Node(23, 0, 1, true);
    for (const Single3* v : {&mesh.Pivot, &mesh.Axis, &mesh.Aim, &mesh.Degree}) Triple(*v);

    out_.PatchChild(array, child++);
    const std::size_t holder = out_.Node(0, 4, 1, false);
    out_.PatchChild(holder, 3);
    const auto levels = static_cast<std::int32_t>(mesh.LODs.size());
    const std::size_t lodArray = out_.Node(21, levels, levels, true);
    for (const LODRec& level : mesh.LODs) out_.Single(SwitchFromDistance(level.Distance));
    for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
      out_.PatchChild(lodArray, static_cast<int>(l));
      WriteLevel(mesh.LODs[l], indices[l]);
    }

    for (const HardpointRec& hp : mesh.Hardpoints) {
      out_.PatchChild(array, child++);
      out_.Node(22, 0, 1, true);
      out_.Long(hp.HardpointType);
      Triple(hp.Position);
    }
  }

  // The positions, then the high level's box widened by 0.5 on every side.
  void WriteVertexTable(const std::vector<std::array<float, 3>>& positions, const MeshRec& mesh) {
    out_.Node(3, 0, static_cast<std::int32_t>(positions.size() + 2), true);
    for (const auto& p : positions) out_.Single(p[0]), out_.Single(p[1]), out_.Single(p[2]);
    std::array<float, 3> lo{}, hi{};
    bool any = false;
    if (!mesh.LODs.empty())
      for (const FaceRec& face : mesh.LODs[0].Faces)
        for (int k = 0; k < face.CornerCount(); ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          const float c[3] = {v.X, v.Y, v.Z};
          for (int a = 0; a < 3; ++a) {
            if (!any || c[a] < lo[static_cast<std::size_t>(a)])
              lo[static_cast<std::size_t>(a)] = c[a];
            if (!any || c[a] > hi[static_cast<std::size_t>(a)])
              hi[static_cast<std::size_t>(a)] = c[a];
          }
          any = true;
        }
    for (float v : lo) out_.Single(v - 0.5f);
    for (float v : hi) out_.Single(v + 0.5f);
  }

  void WriteLevel(const LODRec& level, const std::vector<CornerIndices>& indices) {
    const std::vector<Group> groups = GroupsOf(level);
    const std::size_t array = out_.Node(0, static_cast<std::int32_t>(2 * groups.size()), 1, false);
    for (std::size_t g = 0; g < groups.size(); ++g) {
      const Group& group = groups[g];
      out_.PatchChild(array, static_cast<int>(2 * g));
      if (group.Switch()) {
        const std::size_t sw = out_.Node(24, 4, 1, false);
        for (int k = 0; k < 4; ++k) {
          out_.PatchChild(sw, k);
          WriteTexture(group.SideName(k));
        }
      } else {
        WriteTexture(group.names[0]);
      }
      out_.PatchChild(array, static_cast<int>(2 * g + 1));
      WriteFaces(level, group.faces, indices);
    }
  }

  void WriteTexture(const std::string& name) {
    const std::size_t t = lastIndex_.at(name);
    const std::string optName = OptTextureName(t);
    if (written_[t]) {
      out_.Node(7, 0, 1, true);
      out_.Name8(optName);
      return;
    }
    written_[t] = true;
    encoder_.Write(out_, optName, model_.Textures[t], bitmaps_[t]);
  }

  void WriteFaces(const LODRec& level, const std::vector<std::size_t>& faces,
                  const std::vector<CornerIndices>& indices) {
    out_.Node(1, 0, static_cast<std::int32_t>(faces.size()), true);
    std::int32_t corners = 0;
    for (std::size_t f : faces) corners += level.Faces[f].CornerCount();
    out_.Long(corners);
    for (std::size_t n = 0; n < faces.size(); ++n) {
      const CornerIndices& ci = indices[faces[n]];
      const bool triangle = level.Faces[faces[n]].IsTriangle();
      for (std::int32_t v : ci.vertex) out_.Long(v);
      for (int k = 0; k < 4; ++k)
        out_.Long(triangle && k == 3 ? -1 : static_cast<std::int32_t>(4 * n) + k);
      for (std::int32_t v : ci.texCoord) out_.Long(v);
      for (std::int32_t v : ci.normal) out_.Long(v);
    }
    for (std::size_t f : faces) Triple(level.Faces[f].Normal);
    out_.Zeros(24 * faces.size());
  }

  void Triple(const Single3& v) {
    out_.Single(v.x);
    out_.Single(v.y);
    out_.Single(v.z);
  }

  const Model& model_;
  const BitmapLoader& load_;
  TextureEncoder encoder_;
  OptOut out_;
  std::unordered_map<std::string, std::size_t> lastIndex_;
  std::vector<Bitmap> bitmaps_;
  std::vector<bool> written_;
};

}  // namespace

std::string OptTextureName(std::size_t index) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "TEX%05zu", index);
  return buf;
}

BitmapLoader ProjectBitmaps(const Model& model) {
  const fs::path folder = model.ProjectPath;
  return [folder](const TextureRec& t) {
    if (!IsSafeFileName(t.Name))
      throw FileError(t.Name, "", "not a file name inside the project folder");
    const fs::path path = folder / t.Name;
    return DecodeBitmap(ReadFileBytes(path), path.string());
  };
}

Bytes WriteOptBytes(const Model& model, const BitmapLoader& bitmaps, std::mt19937& random) {
  return Writer(model, bitmaps, random).Run();
}

fs::path OptFilePath(const Model& model) {
  fs::path folder = fs::path(model.ProjectPath).lexically_normal();
  if (folder.filename().empty()) folder = folder.parent_path();
  return folder / (folder.filename().string() + ".opt");
}

fs::path CreateOpt(const Model& model, std::mt19937& random) {
  const fs::path path = OptFilePath(model);
  WriteFileAtomic(path, WriteOptBytes(model, ProjectBitmaps(model), random));
  RemoveStaleTemporaries(path.parent_path(), path.filename().string());  // of killed writes
  return path;
}

fs::path CreateOpt(const Model& model, std::optional<std::uint32_t> seed) {
  std::mt19937 random(seed ? *seed : std::random_device{}());
  return CreateOpt(model, random);
}

}  // namespace tamsel
