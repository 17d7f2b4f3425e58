#include "editing/clipboard_text.h"

#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>

#include "editing/select_many.h"
#include "editing/ship_features.h"
#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/import_commit.h"
#include "model/number_text.h"
#include "model/opz.h"

namespace tamsel {
namespace {

constexpr std::string_view kHeader = "Tamsel clipboard 1";
constexpr std::string_view kSource = "clipboard";
constexpr const char* kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string KindWord(TargetKind kind) {
  switch (kind) {
    case TargetKind::Meshes:
      return "meshes";
    case TargetKind::Faces:
      return "faces";
    case TargetKind::Hardpoint:
      return "hardpoints";
    case TargetKind::EngineGlow:
      return "engine glows";
    case TargetKind::Corners:
      break;
  }
  return "";
}

void Base64Lines(std::string& out, const Bytes& bytes) {
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::uint32_t n = (std::uint32_t{bytes[i]} << 16) |
                            (i + 1 < bytes.size() ? std::uint32_t{bytes[i + 1]} << 8 : 0) |
                            (i + 2 < bytes.size() ? std::uint32_t{bytes[i + 2]} : 0);
    line += kBase64[n >> 18 & 63];
    line += kBase64[n >> 12 & 63];
    line += i + 1 < bytes.size() ? kBase64[n >> 6 & 63] : '=';
    line += i + 2 < bytes.size() ? kBase64[n & 63] : '=';
    if (line.size() >= 76) {
      out += line + "\r\n";
      line.clear();
    }
  }
  if (!line.empty()) out += line + "\r\n";
  out += "\r\n";
}

// Appends the bytes a line of base64 holds; false on a character that is not base64.
bool Unbase64(std::string_view line, Bytes& out) {
  std::uint32_t n = 0;
  int bits = 0;
  for (const char c : line) {
    if (c == '=') break;
    const char* at = std::char_traits<char>::find(kBase64, 64, c);
    if (!at) return false;
    n = (n << 6) | static_cast<std::uint32_t>(at - kBase64);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<std::uint8_t>(n >> bits & 0xFF));
    }
  }
  return true;
}

// The texture records the faces name, in the model's order.
std::vector<TextureRec> TexturesNamed(const Model& model, const std::vector<MeshRec>& meshes) {
  std::set<std::string> names;
  for (const MeshRec& mesh : meshes)
    for (const LODRec& lod : mesh.LODs)
      for (const FaceRec& face : lod.Faces)
        for (const TextureName& slot : face.TextureNames) names.insert(slot.str());
  std::vector<TextureRec> textures;
  for (const TextureRec& t : model.Textures)
    if (names.count(t.Name)) textures.push_back(t);
  return textures;
}

// The copied elements as meshes.
std::vector<MeshRec> CopiedMeshes(const Model& model, const EditTarget& target) {
  std::vector<MeshRec> meshes;
  const auto L = static_cast<std::size_t>(target.level);
  if (target.kind == TargetKind::Hardpoint || target.kind == TargetKind::EngineGlow) {
    MeshRec holder = MeshShell(model.Meshes[static_cast<std::size_t>(target.item.mesh)]);
    holder.LODs.resize(1);
    holder.Hardpoints.clear();
    holder.EngineGlows.clear();
    if (const HardpointRec* hp =
            target.kind == TargetKind::Hardpoint ? HardpointAt(model, target.item) : nullptr)
      holder.Hardpoints.push_back(*hp);
    if (const EngineGlowRec* glow =
            target.kind == TargetKind::EngineGlow ? EngineGlowAt(model, target.item) : nullptr)
      holder.EngineGlows.push_back(*glow);
    if (holder.Hardpoints.empty() && holder.EngineGlows.empty()) return {};
    meshes.push_back(std::move(holder));
    return meshes;
  }
  std::vector<FaceRec> faces;
  for (const MeshRec& mesh : model.Meshes) {
    if (!mesh.HasLevel(target.level) || !mesh.LODs[L].Selected) continue;
    if (target.kind == TargetKind::Meshes) {
      meshes.push_back(mesh);
      continue;
    }
    for (const FaceRec& face : mesh.LODs[L].Faces)
      if (face.Selected) faces.push_back(face);
  }
  if (target.kind == TargetKind::Faces && !faces.empty()) {
    MeshRec holder;
    holder.Name = "faces";
    holder.LODs.resize(1);
    holder.LODs[0].Faces = std::move(faces);
    meshes.push_back(std::move(holder));
  }
  return meshes;
}

TargetKind KindNamed(std::string_view word) {
  for (TargetKind kind :
       {TargetKind::Meshes, TargetKind::Faces, TargetKind::Hardpoint, TargetKind::EngineGlow})
    if (KindWord(kind) == word) return kind;
  throw FileError(std::string(kSource), "line 2", "unknown kind \"" + std::string(word) + "\"");
}

std::string_view NextLine(std::string_view text, std::size_t& at) {
  const std::size_t end = text.find('\n', at);
  std::string_view line = text.substr(at, end == std::string_view::npos ? text.npos : end - at);
  at = end == std::string_view::npos ? text.size() : end + 1;
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

}  // namespace

std::string CopyText(const Model& model, const EditTarget& target) {
  if (target.kind == TargetKind::Corners) return {};
  std::vector<MeshRec> meshes = CopiedMeshes(model, target);
  if (meshes.empty()) return {};
  Model parts;
  std::vector<TextureRec> textures = TexturesNamed(model, meshes);
  for (MeshRec& mesh : meshes) parts.Meshes.push_back(std::move(mesh));
  for (TextureRec& t : textures) parts.Textures.push_back(t);
  std::string out = std::string(kHeader) + "\r\nkind: " + KindWord(target.kind) + "\r\n";
  for (const TextureRec& t : parts.Textures) {
    Bytes bytes;
    try {
      bytes = ReadFileBytes(std::filesystem::path(model.ProjectPath) / t.Name);
    } catch (const FileError&) {
      continue;  // the paste keeps the name; a project that has the bitmap shows it
    }
    out += "bitmap: " + t.Name + " " + std::to_string(bytes.size()) + "\r\n";
    Base64Lines(out, bytes);
  }
  out += "project:\r\n";
  out += WriteOpzText(parts, "clipboard");
  return out;
}

bool IsClipboardText(std::string_view text) {
  std::size_t at = 0;
  return NextLine(text, at) == kHeader;
}

PasteResult PasteText(Model& model, std::string_view text, int level, int into,
                      FileTransaction& files) {
  std::size_t at = 0;
  if (NextLine(text, at) != kHeader)
    throw FileError(std::string(kSource), "line 1", "not parts copied from Tamsel");
  const std::string_view kindLine = NextLine(text, at);
  if (kindLine.substr(0, 6) != "kind: ")
    throw FileError(std::string(kSource), "line 2", "no kind of parts");
  PasteResult result;
  result.kind = KindNamed(kindLine.substr(6));
  std::vector<IncomingFile> incoming;
  for (std::int64_t line = 3;; ++line) {
    if (at >= text.size()) throw FileError(std::string(kSource), "", "no project part");
    const std::string_view head = NextLine(text, at);
    if (head == "project:") break;
    if (head.substr(0, 8) != "bitmap: ")
      throw FileError(std::string(kSource), FileError::Line(line),
                      "a bitmap or the project expected");
    const std::string_view rest = head.substr(8);
    const std::size_t blank = rest.rfind(' ');
    const auto size = blank == rest.npos ? std::nullopt : ParseInteger(rest.substr(blank + 1));
    if (!size || *size < 0)
      throw FileError(std::string(kSource), FileError::Line(line), "a bitmap without its size");
    IncomingFile file;
    file.name = std::string(rest.substr(0, blank));
    if (!IsSafeFileName(file.name))
      throw FileError(std::string(kSource), FileError::Line(line),
                      "the bitmap name \"" + file.name + "\" is no plain file name");
    for (std::string_view data; !(data = NextLine(text, at)).empty(); ++line)
      if (!Unbase64(data, file.bytes))
        throw FileError(std::string(kSource), FileError::Line(line + 1), "damaged bitmap bytes");
    if (static_cast<std::int64_t>(file.bytes.size()) != *size)
      throw FileError(std::string(kSource), "bitmap " + file.name, "damaged bitmap bytes");
    incoming.push_back(std::move(file));
  }
  IdCounters ids = model.Ids;
  ProjectData data = ReadOpzText(text.substr(at), ids, std::string(kSource));
  if (data.meshes.empty()) throw FileError(std::string(kSource), "", "nothing to paste");
  const bool intoMesh = result.kind != TargetKind::Meshes;
  if (intoMesh && (into < 0 || into >= model.MeshCount()))
    throw std::invalid_argument("Paste " + KindWord(result.kind) +
                                ": select the mesh they go into first");
  if (result.kind == TargetKind::Faces &&
      !model.Meshes[static_cast<std::size_t>(into)].HasLevel(level))
    throw std::invalid_argument("Paste faces: the mesh has no such level of detail");

  // The bitmaps first: a name taken by another file renames the faces' slots.
  for (const TextureRec& t : model.Textures) files.Reserve(t.Name);
  std::map<std::string, std::string> renamed;
  for (const IncomingFile& file : incoming) {
    const std::string name = files.Bring(file.name, file.bytes);
    if (name != file.name) renamed[file.name] = name;
  }
  for (const std::string& note : files.Notes()) result.notes.push_back(note);
  for (TextureRec& t : data.textures)
    if (auto it = renamed.find(t.Name); it != renamed.end()) t.Name = it->second;
  for (MeshRec& mesh : data.meshes)
    for (LODRec& lod : mesh.LODs)
      for (FaceRec& face : lod.Faces)
        for (TextureName& slot : face.TextureNames)
          if (auto it = renamed.find(slot.str()); it != renamed.end()) slot = it->second;
  std::set<std::string> known;
  for (const TextureRec& t : model.Textures) known.insert(t.Name);
  for (TextureRec& t : data.textures)
    if (known.insert(t.Name).second) model.Textures.push_back(std::move(t));

  // What is pasted becomes the selection: the faces, then the meshes, let go first.
  SelectNone(model, level, PickKind::Face);
  SelectNone(model, level, PickKind::Mesh);
  model.Ids = ids;
  if (result.kind == TargetKind::Meshes) {
    result.mesh = model.MeshCount();
    for (MeshRec& mesh : data.meshes) {
      if (mesh.HasLevel(level)) mesh.LODs[static_cast<std::size_t>(level)].Selected = kTrue;
      model.Meshes.push_back(std::move(mesh));
      ++result.count;
    }
    CalculateBoundsFrom(model, static_cast<std::size_t>(result.mesh));
    return result;
  }
  result.mesh = into;
  MeshRec& target = model.Meshes.Edit(static_cast<std::size_t>(into));
  if (target.HasLevel(level)) target.LODs[static_cast<std::size_t>(level)].Selected = kTrue;
  const MeshRec& holder = data.meshes.front();
  if (result.kind == TargetKind::Faces) {
    auto& faces = target.LODs[static_cast<std::size_t>(level)].Faces.Edit();
    for (const FaceRec& face : holder.LODs[0].Faces) {
      faces.push_back(face);
      faces.back().Selected = kTrue;
      ++result.count;
    }
    CalculateBounds(model, {into});
  } else if (result.kind == TargetKind::Hardpoint) {
    result.firstItem = target.HardpointCount();
    target.Hardpoints.insert(target.Hardpoints.end(), holder.Hardpoints.begin(),
                             holder.Hardpoints.end());
    result.count = holder.HardpointCount();
  } else {
    result.firstItem = target.EngineGlowCount();
    target.EngineGlows.insert(target.EngineGlows.end(), holder.EngineGlows.begin(),
                              holder.EngineGlows.end());
    result.count = holder.EngineGlowCount();
  }
  return result;
}

}  // namespace tamsel
