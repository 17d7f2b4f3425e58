#include "interchange/model_export.h"

#include <cctype>
#include <map>
#include <set>

#include "interchange/axes.h"
#include "interchange/own_gltf.h"
#include "interchange/texture_image.h"
#include "model/file_error.h"
#include "model/name_text.h"
#include "model/number_text.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

std::string Numbers(std::initializer_list<float> values) {
  std::string out;
  for (float v : values) out.append(" ").append(FormatSingle(v));
  return out;
}

// A material's name as OBJ and MTL take it: one word.
std::string MaterialName(const std::string& texture) {
  std::string name = SanitizeNamePart(texture);
  return name.empty() ? "material" : name;
}

// An object's name as OBJ takes it: one word, so blanks become '_'.
std::string ObjectName(std::string name) {
  if (name.empty()) return "mesh";
  for (char& c : name)
    if (std::isspace(static_cast<unsigned char>(c))) c = '_';
  return name;
}

}  // namespace

ExportReport CommitExport(StagedWrites& staged, const ReplaceCheck& mayReplace) {
  ExportReport report;
  report.replaced = staged.Replacing();
  if (!report.replaced.empty() && mayReplace && !mayReplace(report.replaced)) {
    staged.Discard();
    report.replaced.clear();
    report.declined = true;
    return report;
  }
  for (const CommittedFile& c : staged.Commit()) report.written.push_back(c.target);
  return report;
}

ExportReport ExportModel(const Model& model, const BitmapLoader& bitmaps, const fs::path& out,
                         const ReplaceCheck& mayReplace) {
  // What a killed export left beside its files goes; a live writer's temporaries stay.
  RemoveStaleTemporaries(fs::absolute(out).parent_path());
  if (HasExtension(out, ".gltf") || HasExtension(out, ".glb"))
    return WriteGltf(model, bitmaps, out, mayReplace);
  if (HasExtension(out, ".obj")) return WriteObj(model, bitmaps, out, mayReplace);
  throw FileError(out.string(), "", "export writes .gltf, .glb or .obj files");
}

ExportReport WriteObj(const Model& model, const BitmapLoader& bitmaps, const fs::path& out,
                      const ReplaceCheck& mayReplace) {
  StagedWrites staged;
  const std::string stem = out.stem().string();
  std::string mtl = "# Tamsel 0.4\n";
  std::vector<std::string> problems;
  std::map<std::string, std::string> materials;  // texture name -> material name
  std::set<std::string> taken;
  for (const TextureRec& t : model.Textures) {
    if (materials.count(t.Name)) continue;
    // Named after the bitmap without its extension: "craft_hull.png", not "craft_hull.BMP.png".
    const std::string name = UniqueFileName(MaterialName(fs::path(t.Name).stem().string()), taken);
    materials[t.Name] = name;
    // The transparent colours' opacity as the image's alpha, as in the glTF export.
    const std::string png = stem + "_" + name + ".png";
    try {
      staged.Write(out.parent_path() / png, EncodePng(BaseColourImage(bitmaps(t), t)));
    } catch (const FileError& e) {
      problems.push_back(e.what());
    }
    mtl += "newmtl " + name + "\nKd 1 1 1\nmap_Kd " + png + "\n";
    if (!t.TransColors.empty()) mtl += "map_d " + png + "\n";
  }
  if (!problems.empty()) {
    std::string text = "the model was not exported:";
    for (const std::string& p : problems) text += "\n  " + p;
    throw FileError(out.string(), "", text);
  }
  std::string obj = "# Tamsel 0.4\nmtllib " + stem + ".mtl\n";
  std::size_t next = 1;
  for (const MeshRec& mesh : model.Meshes) {
    if (mesh.LODs.empty()) continue;
    obj += "o " + ObjectName(mesh.Name) + "\n";
    std::string current;
    for (const FaceRec& face : mesh.LODs[0].Faces) {
      const int n = face.CornerCount();
      for (int k = 0; k < n; ++k) {
        const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        const Single3 p = ToFileAxes({v.X, v.Y, v.Z}, UpAxis::Y);
        const Single3 nn = ToFileAxes({v.I, v.J, v.K}, UpAxis::Y);
        obj.append("v").append(Numbers({p.x, p.y, p.z}));
        obj.append("\nvt").append(Numbers({v.U, v.V}));
        obj.append("\nvn").append(Numbers({nn.x, nn.y, nn.z})).append("\n");
      }
      const auto material = materials.find(face.TextureNames[0]);
      const std::string wanted = material == materials.end() ? "" : material->second;
      if (!wanted.empty() && wanted != current) obj += "usemtl " + wanted + "\n";
      current = wanted;
      // The format winds counter-clockwise seen from outside, Tamsel clockwise: corner 0,
      // then the others in reverse.
      obj += "f";
      for (int k = 0; k < n; ++k) {
        const std::string i = std::to_string(next + static_cast<std::size_t>((n - k) % n));
        obj.append(" ").append(i).append("/").append(i).append("/").append(i);
      }
      obj += "\n";
      next += static_cast<std::size_t>(n);
    }
  }
  staged.Write(out, obj);
  staged.Write(out.parent_path() / (stem + ".mtl"), mtl);
  return CommitExport(staged, mayReplace);
}

}  // namespace tamsel
