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

using Corners = std::array<std::array<std::optional<float>, 3>, 4>;

// One 3DFACE as its pairs gave it: the layer, the corners' coordinates and the line of its
// first pair after the "3DFACE" (0 when it has none).
struct FaceEntity {
  std::string_view layer = "0";
  Corners corners;
  int line = 0;
};

// Builds the meshes, one per layer in the order layers first appear, from the faces.
class FaceCollector {
 public:
  FaceCollector(const std::string& fileName, IdCounters& ids) : fileName_(fileName), ids_(ids) {}

  void Add(const FaceEntity& e) {
    const Corners& corners = e.corners;
    for (int k = 0; k < 3; ++k)
      for (int a = 0; a < 3; ++a)
        if (!corners[static_cast<std::size_t>(k)][static_cast<std::size_t>(a)])
          throw FileError(fileName_, FileError::Line(e.line),
                          "a 3DFACE lacks group code " + std::to_string(10 * (a + 1) + k));
    // Faces of one layer mostly follow each other: the last layer is asked first.
    if (last_ == meshes_.size() || e.layer != lastLayer_) {
      auto it = layers_.find(e.layer);
      if (it == layers_.end()) {
        it = layers_.emplace(std::string(e.layer), meshes_.size()).first;
        MeshRec mesh;
        mesh.Name = WithoutControlCharacters(std::string(e.layer));  // a line of the project file
        mesh.LODs.resize(1);
        mesh.LODs[0].Id = ids_.NewMeshId();
        meshes_.push_back(std::move(mesh));
      }
      last_ = it->second;
      lastLayer_ = it->first;
    }
    FaceRec& face = meshes_[last_].LODs[0].Faces.emplace_back();
    // Without corner 3, or with corner 3 repeating corner 2 (how drawings write a
    // triangle), the face is a triangle: corner 3 repeats corner 0.
    const bool fourth = (corners[3][0] || corners[3][1] || corners[3][2]) &&
                        !(corners[3][0].value_or(0) == *corners[2][0] &&
                          corners[3][1].value_or(0) == *corners[2][1] &&
                          corners[3][2].value_or(0) == *corners[2][2]);
    for (int k = 0; k < 4; ++k) {
      const auto& c = corners[static_cast<std::size_t>(fourth || k < 3 ? k : 0)];
      VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      v.Id = ids_.NewVertexId();
      v.X = c[0].value_or(0);
      v.Y = c[1].value_or(0);
      v.Z = c[2].value_or(0);
    }
    face.Id = ids_.NewFaceId();
    face.TextureNames = texture_;
  }
  std::vector<MeshRec> Take() { return std::move(meshes_); }

 private:
  const std::string& fileName_;
  IdCounters& ids_;
  std::vector<MeshRec> meshes_;
  std::map<std::string, std::size_t, std::less<>> layers_;
  std::size_t last_ = 0;        // the mesh of the last face, or meshes_.size() before one
  std::string_view lastLayer_;  // its layer's name, held by layers_
  const std::array<TextureName, kTextureSlots> texture_{kDefaultTexture, kBlank, kBlank, kBlank,
                                                        ""};
};

}  // namespace

// One pass over the text: the pairs are read as views into it and each face is built as
// its entity ends, so a drawing costs its faces, not its pairs.
std::vector<MeshRec> ReadDxfFaces(std::string_view text, const std::string& fileName,
                                  IdCounters& ids) {
  GroupPairReader reader(text, fileName);
  int code = 0, line = 0, lastLine = 0;
  std::string_view value;
  const auto next = [&] {
    if (!reader.Next(code, value, line)) return false;
    lastLine = line;
    return true;
  };
  // What is missing is missing at the end: the message names the line after the last pair.
  const auto missing = [&](const char* what) {
    return FileError(fileName, FileError::Line(lastLine == 0 ? 0 : lastLine + 1), what);
  };
  bool section = false;
  while (next()) {
    if (section && code == 2 && value == "ENTITIES") break;
    section = code == 0 && value == "SECTION";
  }
  if (!(section && code == 2 && value == "ENTITIES"))
    throw missing("the drawing has no ENTITIES section");

  IdCounters fresh = ids;
  FaceCollector faces(fileName, fresh);
  std::optional<FaceEntity> face;  // the 3DFACE being read
  bool ended = false, firstPair = false;
  while (next()) {
    if (code == 0) {
      if (face) faces.Add(*face);
      face.reset();
      if (value == "ENDSEC") {
        ended = true;
        break;
      }
      if (value == "3DFACE") face.emplace(), firstPair = true;
      continue;
    }
    if (!face) continue;
    if (firstPair) face->line = line, firstPair = false;
    if (code == 8) face->layer = value;
    if (code < 10 || code > 33 || code % 10 > 3) continue;
    const auto v = ParseSingle(value);
    if (!v)
      throw FileError(fileName, FileError::Line(line + 1),
                      "expected a coordinate (a finite number), found \"" +
                          std::string(value.substr(0, 40)) + "\"");
    face->corners[static_cast<std::size_t>(code % 10)][static_cast<std::size_t>(code / 10 - 1)] =
        *v;
  }
  if (!ended) throw missing("the ENTITIES section has no end (ENDSEC)");
  while (next()) {
  }  // the rest of the drawing is read for its form only: a broken pair is still an error
  ids = fresh;
  return faces.Take();
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
  // Mapped, not read into a string: the drawing is passed once, in order.
  const MappedText drawing(dxfFile);
  std::vector<MeshRec> meshes = ReadDxfFaces(drawing.text(), dxfFile.string(), ids);
  if (meshes.empty()) throw FileError(dxfFile.string(), "", "the drawing holds no 3DFACE entities");

  std::vector<TextureRec> textures;
  std::vector<IncomingFile> incoming;
  const bool haveDefault =
      std::any_of(model.Textures.begin(), model.Textures.end(),
                  [](const TextureRec& t) { return t.Name == kDefaultTexture; });
  if (!haveDefault) {
    // Always the same plain bitmap, whatever folder the program runs in. The import's rules
    // for bitmaps keep a different file of that name in the project and name ours anew.
    incoming.push_back({kDefaultTexture, EncodeBitmap(PlainDefaultBitmap()), false});
    TextureRec t;
    t.Name = kDefaultTexture;
    textures.push_back(t);
  }
  return WithFiles(model.ProjectPath, files, [&](FileTransaction& tx) {
    return CommitRead(model, tx, std::move(incoming), std::move(meshes), std::move(textures), ids);
  });
}

}  // namespace tamsel
