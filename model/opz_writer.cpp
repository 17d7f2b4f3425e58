#include <algorithm>
#include <array>
#include <charconv>
#include <deque>
#include <future>
#include <thread>

#include "model/file_error.h"
#include "model/finite_check.h"
#include "model/number_text.h"
#include "model/opz.h"
#include "model/progress.h"

namespace tamsel {
namespace {

class OpzOut {
 public:
  // With a sink, what is buffered goes on in pieces; without one it stays for Take.
  explicit OpzOut(const std::function<void(std::string_view)>* sink = nullptr) : sink_(sink) {
    if (sink_) out_.reserve(kPiece + 4096);
  }
  // Hands on what is buffered once a piece is full; Flush hands on the rest.
  void Maybe() {
    if (sink_ && out_.size() >= kPiece) Flush();
  }
  void Flush() {
    if (sink_ && !out_.empty()) (*sink_)(out_);
    out_.clear();
  }
  void Append(std::string_view text) {
    out_ += text;
    Maybe();
  }
  std::string Take() { return std::move(out_); }

  void Line(std::string_view text) {
    out_ += text;
    out_ += "\r\n";
  }
  // Counts, codes, bytes and single numbers: a blank before a non-negative number, one after.
  void Number(std::string_view digits) {
    if (digits.empty() || digits.front() != '-') out_ += ' ';
    out_ += digits;
    out_ += " \r\n";
  }
  void Count(std::int64_t n) { Number(std::to_string(n)); }
  void Single(float v) { Number(FormatSingle(v)); }
  void Triple(const Single3& v) { Triple(v.x, v.y, v.z); }
  void Triple(float x, float y, float z) {
    AppendSingle(out_, x);
    out_ += ", ";
    AppendSingle(out_, y);
    out_ += ", ";
    AppendSingle(out_, z);
    out_ += "\r\n";
  }
  void Pair(float u, float v) {
    AppendSingle(out_, u);
    out_ += ", ";
    AppendSingle(out_, v);
    out_ += "\r\n";
  }
  void Colour(const RGBA& c) {
    Line(std::to_string(c.R) + ", " + std::to_string(c.G) + ", " + std::to_string(c.B) + ", " +
         std::to_string(c.A));
  }
  void Colour(const RGB& c) {
    Line(std::to_string(c[0]) + ", " + std::to_string(c[1]) + ", " + std::to_string(c[2]));
  }
  // "FACE 12" and the like, without a string of their own.
  void Labelled(std::string_view label, std::size_t n) {
    out_ += label;
    char digits[24];
    const auto [end, ec] = std::to_chars(digits, digits + sizeof digits, n);
    out_.append(digits, ec == std::errc{} ? end : digits);
    out_ += "\r\n";
  }

 private:
  static constexpr std::size_t kPiece = 1 << 20;
  const std::function<void(std::string_view)>* sink_;
  std::string out_;
};

// A mesh's text in steps, so that a large mesh is formatted in pieces: its header, then
// per level a header and one step per face, then its hardpoints and engine glows.
std::size_t StepCount(const MeshRec& mesh) {
  std::size_t n = 2;
  for (const LODRec& level : mesh.LODs) n += 1 + level.Faces.size();
  return n;
}

void WriteMeshHeader(OpzOut& o, const MeshRec& mesh) {
  o.Line(mesh.Name);  // names were checked before
  o.Count(mesh.LODCount());
  o.Count(mesh.HardpointCount());
  o.Count(mesh.EngineGlowCount());
  o.Count(mesh.MeshType);
  o.Count(mesh.ExplosionType);
  o.Triple(mesh.Span);
  o.Triple(mesh.Center);
  o.Triple(mesh.Min);
  o.Triple(mesh.Max);
  o.Count(mesh.TargetId);
  for (const Single3* v : {&mesh.Target, &mesh.Pivot, &mesh.Axis, &mesh.Aim, &mesh.Degree})
    o.Triple(*v);
}

void WriteFace(OpzOut& o, const FaceRec& face, std::size_t f) {
  o.Labelled("FACE ", f + 1);
  for (std::size_t k = 0; k < 4; ++k)
    o.Triple(face.Vertices[k].X, face.Vertices[k].Y, face.Vertices[k].Z);
  for (std::size_t k = 0; k < 4; ++k) o.Pair(face.Vertices[k].U, face.Vertices[k].V);
  for (std::size_t k = 0; k < 4; ++k)
    o.Triple(face.Vertices[k].I, face.Vertices[k].J, face.Vertices[k].K);
  o.Triple(face.Normal);
  o.Triple(face.Vector1);
  o.Triple(face.Vector2);
  for (std::size_t s = 0; s < 4; ++s) o.Line(face.TextureNames[s].str());
  o.Maybe();
}

void WriteMeshTrailer(OpzOut& o, const MeshRec& mesh) {
  for (std::size_t h = 0; h < mesh.Hardpoints.size(); ++h) {
    o.Labelled("HP ", h + 1);
    o.Count(mesh.Hardpoints[h].HardpointType);
    o.Triple(mesh.Hardpoints[h].Position);
  }
  for (std::size_t e = 0; e < mesh.EngineGlows.size(); ++e) {
    const EngineGlowRec& g = mesh.EngineGlows[e];
    o.Labelled("EG ", e + 1);
    o.Colour(g.InnerColor);
    o.Colour(g.OuterColor);
    for (const Single3* v : {&g.Position, &g.Size, &g.Density1, &g.Density2, &g.Density3})
      o.Triple(*v);
  }
}

// Steps [from, to) of the mesh's text.
void WriteSteps(OpzOut& o, const MeshRec& mesh, std::size_t from, std::size_t to) {
  if (from == 0 && to > 0) WriteMeshHeader(o, mesh);
  std::size_t base = 1;
  for (std::size_t l = 0; l < mesh.LODs.size() && base < to; ++l) {
    const LODRec& level = mesh.LODs[l];
    if (base >= from) {
      o.Labelled("LOD ", l + 1);
      o.Count(level.FaceCount());
      o.Single(level.Distance);
    }
    const std::size_t first = from > base + 1 ? from - base - 1 : 0;
    const std::size_t last = std::min(level.Faces.size(), to - base - 1);
    for (std::size_t f = first; f < last; ++f) WriteFace(o, level.Faces[f], f);
    base += 1 + level.Faces.size();
  }
  if (base >= from && base < to) WriteMeshTrailer(o, mesh);
}

// Names are checked before anything is written, so that a refused model hands the sink
// nothing.
void CheckNames(const Model& model, const std::string& fileName) {
  const auto check = [&](const std::string& text, const char* what) {
    if (text.find_first_of("\r\n") != std::string::npos) {
      std::string message(what);
      message.append(" \"").append(text).append("\" contains a line break and cannot be saved");
      throw FileError(fileName, "", message);
    }
  };
  // Slot names are held once each (TextureName), and neighbouring faces mostly name the
  // same ones: a name is looked at when its slot names another than the face before.
  std::array<const std::string*, kTextureSlots> seen{};
  for (const MeshRec& mesh : model.Meshes) {
    check(mesh.Name, "The mesh name");
    for (const LODRec& level : mesh.LODs)
      for (const FaceRec& face : level.Faces)
        for (std::size_t k = 0; k < kTextureSlots; ++k) {
          const std::string& name = face.TextureNames[k].str();
          if (seen[k] == &name) continue;
          check(name, "The texture name");
          seen[k] = &name;
        }
  }
  for (const TextureRec& t : model.Textures) check(t.Name, "The texture name");
}

}  // namespace

void WriteOpz(const Model& model, const std::string& fileName,
              const std::function<void(std::string_view)>& sink) {
  // "inf" or "nan" in the file would make the project one that never opens again.
  if (auto where = FindNonFinite(model))
    throw FileError(fileName, "",
                    "the project was not written: " + *where + " is not a finite number");
  CheckNames(model, fileName);
  OpzOut o(&sink);
  o.Count(model.MeshCount());
  o.Count(model.TextureCount());
  // Meshes are formatted on every core, in runs of about kRunSteps faces (a large mesh in
  // several), a few runs ahead of the writing, and written in order: number formatting is
  // most of a save, and the runs bound the text held at once.
  constexpr std::size_t kRunSteps = 4096;
  struct Segment {
    std::size_t mesh, from, to;
  };
  const std::size_t meshes = model.Meshes.size();
  const std::size_t ahead = std::max(2u, std::thread::hardware_concurrency());
  std::deque<std::pair<std::size_t, std::future<std::string>>> pending;  // meshes done + text
  std::size_t next = 0, step = 0;
  const auto launch = [&] {
    std::vector<Segment> run;
    std::size_t steps = 0;
    while (next < meshes && steps < kRunSteps) {
      const std::size_t total = StepCount(model.Meshes[next]);
      const std::size_t to = std::min(total, step + (kRunSteps - steps));
      run.push_back({next, step, to});
      steps += to - step;
      step = to;
      if (step == total) ++next, step = 0;
    }
    pending.emplace_back(next, std::async(std::launch::async, [&model, run] {
                           OpzOut text;
                           for (const Segment& s : run)
                             WriteSteps(text, model.Meshes[s.mesh], s.from, s.to);
                           return text.Take();
                         }));
  };
  while (next < meshes || !pending.empty()) {
    while (next < meshes && pending.size() < ahead) launch();
    auto [done, text] = std::move(pending.front());
    pending.pop_front();
    o.Append(text.get());
    ReportProgress(static_cast<std::int64_t>(done), static_cast<std::int64_t>(meshes));
  }
  for (const TextureRec& t : model.Textures) {
    o.Line(t.Name);
    o.Count(t.TransOpacity);
    o.Count(t.TransTolerance);
    o.Count(t.TransColorCount());
    for (const RGB& c : t.TransColors) o.Colour(c);
    o.Count(t.IllumBrightness);
    o.Count(t.IllumTolerance);
    o.Count(t.IllumColorCount());
    for (const RGB& c : t.IllumColors) o.Colour(c);
  }
  o.Flush();
}

std::string WriteOpzText(const Model& model, const std::string& fileName) {
  std::string text;
  WriteOpz(model, fileName, [&text](std::string_view piece) { text.append(piece); });
  return text;
}

}  // namespace tamsel
