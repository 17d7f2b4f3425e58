#include "dxf/dxf_import.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "dxf/group_pairs.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/import_commit.h"
#include "model/number_text.h"
#include "opt/bitmap.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

struct Entity {
  std::string type;
  std::vector<const GroupPair*> pairs;
};

// The entities of the ENTITIES section: each starts at a code 0 and runs to the next.
std::vector<Entity> Entities(const std::vector<GroupPair>& pairs, const std::string& fileName) {
  std::size_t i = 0;
  for (; i + 1 < pairs.size(); ++i)
    if (pairs[i].code == 0 && pairs[i].value == "SECTION" && pairs[i + 1].code == 2 &&
        pairs[i + 1].value == "ENTITIES")
      break;
  // What is missing is missing at the end: the message names the last line read.
  const auto lastLine = [&] { return FileError::Line(pairs.empty() ? 0 : pairs.back().line + 1); };
  if (i + 1 >= pairs.size())
    throw FileError(fileName, lastLine(), "the drawing has no ENTITIES section");
  std::vector<Entity> entities;
  for (i += 2; i < pairs.size(); ++i) {
    const GroupPair& p = pairs[i];
    if (p.code == 0) {
      if (p.value == "ENDSEC") return entities;
      entities.push_back({p.value, {}});
    } else if (!entities.empty()) {
      entities.back().pairs.push_back(&p);
    }
  }
  throw FileError(fileName, lastLine(), "the ENTITIES section has no end (ENDSEC)");
}

}  // namespace

std::vector<MeshRec> ReadDxfFaces(std::string_view text, const std::string& fileName,
                                  IdCounters& ids) {
  const std::vector<GroupPair> pairs = ReadGroupPairs(text, fileName);
  IdCounters fresh = ids;
  std::vector<MeshRec> meshes;
  std::map<std::string, std::size_t> layers;
  for (const Entity& e : Entities(pairs, fileName)) {
    if (e.type != "3DFACE") continue;
    std::string layer = "0";
    std::array<std::array<std::optional<float>, 3>, 4> corners;
    for (const GroupPair* p : e.pairs) {
      if (p->code == 8) layer = p->value;
      if (p->code < 10 || p->code > 33 || p->code % 10 > 3) continue;
      const auto v = ParseSingle(p->value);
      if (!v)
        throw FileError(
            fileName, FileError::Line(p->line + 1),
            "expected a coordinate (a finite number), found \"" + p->value.substr(0, 40) + "\"");
      corners[static_cast<std::size_t>(p->code % 10)][static_cast<std::size_t>(p->code / 10 - 1)] =
          *v;
    }
    const int line = e.pairs.empty() ? 0 : e.pairs.front()->line;
    for (int k = 0; k < 3; ++k)
      for (int a = 0; a < 3; ++a)
        if (!corners[static_cast<std::size_t>(k)][static_cast<std::size_t>(a)])
          throw FileError(fileName, FileError::Line(line),
                          "a 3DFACE lacks group code " + std::to_string(10 * (a + 1) + k));
    auto [it, added] = layers.try_emplace(layer, meshes.size());
    if (added) {
      MeshRec mesh;
      mesh.Name = WithoutControlCharacters(layer);  // a line of the project file
      mesh.LODs.resize(1);
      mesh.LODs[0].Id = fresh.NewMeshId();
      meshes.push_back(std::move(mesh));
    }
    FaceRec& face = meshes[it->second].LODs[0].Faces.emplace_back();
    // Without corner 3, or with corner 3 repeating corner 2 (how drawings write a
    // triangle), the face is a triangle: corner 3 repeats corner 0.
    const bool fourth = (corners[3][0] || corners[3][1] || corners[3][2]) &&
                        !(corners[3][0].value_or(0) == *corners[2][0] &&
                          corners[3][1].value_or(0) == *corners[2][1] &&
                          corners[3][2].value_or(0) == *corners[2][2]);
    for (int k = 0; k < 4; ++k) {
      const auto& c = corners[static_cast<std::size_t>(fourth || k < 3 ? k : 0)];
      VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      v.Id = fresh.NewVertexId();
      v.X = c[0].value_or(0);
      v.Y = c[1].value_or(0);
      v.Z = c[2].value_or(0);
    }
    face.Id = fresh.NewFaceId();
    face.TextureNames = {kDefaultTexture, kBlank, kBlank, kBlank, ""};
  }
  ids = fresh;
  return meshes;
}

namespace {

Bitmap PlainDefaultBitmap() {
  Bitmap b;
  b.width = b.height = 64;
  for (int k = 0; k < 256; ++k)
    for (int c = 0; c < 3; ++c)
      b.palette[static_cast<std::size_t>(4 * k + c)] = static_cast<std::uint8_t>(k);
  b.texels.assign(64 * 64, 160);
  return b;
}

}  // namespace

std::size_t ImportDxf(Model& model, const fs::path& dxfFile, FileTransaction* files) {
  if (model.ProjectPath.empty()) throw FileError(dxfFile.string(), "", "no project is open");
  IdCounters ids = model.Ids;
  std::vector<MeshRec> meshes = ReadDxfFaces(ReadFileText(dxfFile), dxfFile.string(), ids);
  if (meshes.empty()) throw FileError(dxfFile.string(), "", "the drawing holds no 3DFACE entities");

  std::vector<TextureRec> textures;
  std::vector<IncomingFile> incoming;
  const bool haveDefault =
      std::any_of(model.Textures.begin(), model.Textures.end(),
                  [](const TextureRec& t) { return t.Name == kDefaultTexture; });
  if (!haveDefault) {
    const fs::path target = fs::path(model.ProjectPath) / kDefaultTexture;
    const fs::path source = fs::path(model.StartFolder) / kDefaultTexture;
    std::error_code ec;
    // The program's own default bitmap when it has one; a project's own default.bmp is
    // used as it is; else a plain grey one.
    if (!model.StartFolder.empty() && fs::exists(source, ec)) {
      if (!fs::equivalent(source, target, ec))
        incoming.push_back({kDefaultTexture, ReadFileBytes(source), false});
    } else if (!fs::exists(target, ec)) {
      incoming.push_back({kDefaultTexture, EncodeBitmap(PlainDefaultBitmap()), false});
    }
    TextureRec t;
    t.Name = kDefaultTexture;
    textures.push_back(t);
  }
  return WithFiles(model.ProjectPath, files, [&](FileTransaction& tx) {
    return CommitRead(model, tx, std::move(incoming), std::move(meshes), std::move(textures), ids);
  });
}

}  // namespace tamsel
