#include <algorithm>
#include <functional>
#include <future>
#include <limits>
#include <thread>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "model/file_error.h"
#include "model/file_io.h"
#include "model/number_text.h"
#include "model/opz.h"
#include "model/progress.h"

namespace tamsel {
namespace {

// Lines per element that cannot be empty, at the least, so that a count can be checked
// against the records the rest of the file can hold before any is made (names may be empty
// lines; numbers and headers may not). A line that is not empty takes two bytes at the
// least, its line break included: the bytes left bound the records without a pass over
// the whole file to count its lines.
constexpr std::int64_t kMinMeshLines = 15, kMinLevelLines = 3, kMinFaceLines = 16,
                       kMinHardpointLines = 3, kMinGlowLines = 8, kMinTextureLines = 7;

// Where the line `lines` lines after the one at `at` starts (the text's end when it has
// fewer). The readers' runs start apart by some 100 000 lines: counting the breaks sixteen
// bytes at a time finds them several times faster than a search per line.
std::size_t SkipLines(std::string_view text, std::size_t at, std::size_t lines) {
#if defined(__SSE2__)
  const __m128i breaks = _mm_set1_epi8('\n');
  while (lines > 0 && at + 16 <= text.size()) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, breaks)));
    for (; mask != 0; mask &= mask - 1)
      if (--lines == 0) return at + static_cast<std::size_t>(__builtin_ctz(mask)) + 1;
    at += 16;
  }
#endif
  for (; lines > 0 && at < text.size(); --lines) {
    const std::size_t end = text.find('\n', at);
    at = end == std::string_view::npos ? text.size() : end + 1;
  }
  return at;
}

// The lines of the text, read as they are asked for: a file of millions of lines is not
// split up front.
class OpzIn {
 public:
  OpzIn(std::string_view text, const std::string& fileName,
        const std::function<void(std::size_t)>& passed)
      : text_(text), fileName_(fileName), passed_(passed) {}
  // Everything before the current line is read for good.
  void Passed() const {
    if (passed_) passed_(at_);
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw FileError(fileName_, FileError::Line(line_), what);
  }

  std::string_view Next(const char* what) {
    ++line_;
    if (at_ >= text_.size()) Fail(std::string("the file ends early; expected ") + what);
    std::size_t end = text_.find('\n', at_);
    if (end == std::string_view::npos) end = text_.size();
    const std::string_view line = Strip(text_.substr(at_, end - at_));
    at_ = end + 1;
    // The writer could not write a line break back inside a name; nor can a number hold one.
    if (line.find('\r') != std::string_view::npos)
      Fail(std::string(what) + " holds a carriage return");
    return line;
  }
  // Lines that are not empty from here to the end, at the most.
  std::int64_t MostLinesLeft() const {
    const std::size_t bytes = at_ < text_.size() ? text_.size() - at_ : 0;
    return static_cast<std::int64_t>((bytes + 1) / 2);
  }
  // Everything after the last record must be empty lines.
  void End() {
    while (at_ < text_.size()) {
      const std::string_view line = Next("nothing");
      if (!TrimBlanks(line).empty())
        Fail("unexpected \"" + Shown(line) +
             "\" after the last texture (more records than counted?)");
    }
  }

  std::int32_t Count(const char* what, std::int64_t linesPerItem) {
    const std::string_view line = Next(what);
    const auto n = ParseInteger(line);
    if (!n) Fail(std::string("expected ") + what + ", found \"" + Shown(line) + "\"");
    if (*n < 0) Fail(std::string(what) + " is negative");
    if (*n > std::numeric_limits<std::int32_t>::max() || *n * linesPerItem > MostLinesLeft())
      Fail(std::string(what) + " " + std::to_string(*n) + " is more than the file holds");
    return static_cast<std::int32_t>(*n);
  }
  std::int32_t Code(const char* what) {
    const std::string_view line = Next(what);
    const auto n = ParseInteger(line);
    if (!n || *n < std::numeric_limits<std::int32_t>::min() ||
        *n > std::numeric_limits<std::int32_t>::max())
      Fail(std::string("expected ") + what + ", found \"" + Shown(line) + "\"");
    return static_cast<std::int32_t>(*n);
  }
  std::uint8_t Byte(const char* what, int low = 0, int high = 255) {
    const std::string_view line = Next(what);
    const auto n = ParseInteger(line);
    if (!n || *n < low || *n > high)
      Fail(std::string("expected ") + what + " (" + std::to_string(low) + " to " +
           std::to_string(high) + "), found \"" + Shown(line) + "\"");
    return static_cast<std::uint8_t>(*n);
  }
  float Single(const char* what) {
    const std::string_view line = Next(what);
    const auto v = ParseSingle(line);
    if (!v)
      Fail(std::string("expected ") + what + " (a finite number), found \"" + Shown(line) + "\"");
    return *v;
  }
  // Comma-separated fields, each a finite Single.
  template <std::size_t N>
  std::array<float, N> Fields(const char* what) {
    const std::string_view line = Next(what);
    std::array<float, N> values{};
    std::string_view rest = line;
    for (std::size_t i = 0; i < N; ++i) {
      const std::size_t comma = rest.find(',');
      const bool last = i + 1 == N;
      if (last != (comma == std::string_view::npos))
        Fail(std::string("expected ") + what + " (" + std::to_string(N) +
             " numbers separated by commas), found \"" + Shown(line) + "\"");
      const auto v = ParseSingle(rest.substr(0, comma));
      if (!v)
        Fail(std::string("expected ") + what + " (finite numbers), found \"" + Shown(line) + "\"");
      values[i] = *v;
      if (!last) rest.remove_prefix(comma + 1);
    }
    return values;
  }
  Single3 Triple(const char* what) {
    const auto v = Fields<3>(what);
    return {v[0], v[1], v[2]};
  }
  // Three or four bytes separated by commas.
  std::array<std::uint8_t, 4> Colour(const char* what, bool needAlpha) {
    const std::string_view line = Next(what);
    std::array<std::uint8_t, 4> c{};
    std::string_view rest = line;
    int n = 0;
    while (true) {
      const std::size_t comma = rest.find(',');
      const auto v = ParseInteger(rest.substr(0, comma));
      if (!v || *v < 0 || *v > 255 || n == 4)
        Fail(std::string("expected ") + what + " (bytes 0 to 255 separated by commas), found \"" +
             Shown(line) + "\"");
      c[static_cast<std::size_t>(n++)] = static_cast<std::uint8_t>(*v);
      if (comma == std::string_view::npos) break;
      rest.remove_prefix(comma + 1);
    }
    if (n < (needAlpha ? 4 : 3))
      Fail(std::string("expected ") + what + " with " + (needAlpha ? "four" : "three") +
           " values, found \"" + Shown(line) + "\"");
    return c;
  }
  void Header(std::string_view keyword) {
    const std::string_view line = TrimBlanks(Next("a header"));
    if (line.substr(0, keyword.size()) != keyword)
      Fail("expected the header \"" + std::string(keyword) + " ...\", found \"" + Shown(line) +
           "\"");
  }
  std::string Text(const char* what) { return std::string(Next(what)); }

  // Reads `faces` with `read`, each face exactly kFaceLines lines, on every core when they
  // are many: runs of faces are read side by side, each by a reader of its own over its
  // lines, while this one finds where the next run starts. Errors name the same line as one
  // reader would, the first run's first.
  template <typename ReadFace>
  void ReadFaces(std::vector<FaceRec>& faces, ReadFace read) {
    constexpr std::size_t kParallelFrom = 2048;
    const std::size_t n = faces.size();
    const std::size_t runs =
        n < kParallelFrom ? 1 : std::max<std::size_t>(2, 2 * std::thread::hardware_concurrency());
    const std::size_t perRun = (n + runs - 1) / std::max<std::size_t>(runs, 1);
    if (runs == 1) {
      for (FaceRec& face : faces) read(*this, face);
      return;
    }
    // Each run starts as soon as the pass over the line breaks before it has found where.
    std::vector<std::future<void>> pending;
    std::size_t f = 0;
    for (; f < n && at_ < text_.size(); f += perRun) {
      const std::size_t last = std::min(n, f + perRun);
      pending.push_back(std::async(
          std::launch::async, [f, last, &faces, &read, part = OpzIn(*this, at_, line_)]() mutable {
            for (std::size_t k = f; k < last; ++k) read(part, faces[k]);
          }));
      const std::size_t lines = (last - f) * kFaceLines;
      at_ = SkipLines(text_, at_, lines);
      line_ += static_cast<std::int64_t>(lines);
    }
    for (auto& p : pending) p.get();
    // The text ended before the last run: this reader names the first missing line.
    for (; f < n; ++f) read(*this, faces[f]);
  }
  static constexpr int kFaceLines = 20;

 private:
  // A reader of the same text from a given line on.
  OpzIn(const OpzIn& whole, std::size_t at, std::int64_t line)
      : text_(whole.text_), fileName_(whole.fileName_), at_(at), line_(line) {}

  static std::string Shown(std::string_view line) {
    return std::string(line.substr(0, 60)) + (line.size() > 60 ? "..." : "");
  }
  static std::string_view Strip(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
  }
  std::string_view text_;
  const std::string& fileName_;
  std::size_t at_ = 0;
  std::int64_t line_ = 0;
  std::function<void(std::size_t)> passed_;  // the whole file's reader only
};

// One face: its header and OpzIn::kFaceLines - 1 lines after it.
void ReadFace(OpzIn& in, FaceRec& face) {
  in.Header("FACE");
  for (std::size_t k = 0; k < 4; ++k) {
    const Single3 p = in.Triple("a corner position");
    face.Vertices[k].X = p.x, face.Vertices[k].Y = p.y, face.Vertices[k].Z = p.z;
  }
  for (std::size_t k = 0; k < 4; ++k) {
    const auto uv = in.Fields<2>("texture coordinates");
    face.Vertices[k].U = uv[0], face.Vertices[k].V = uv[1];
  }
  for (std::size_t k = 0; k < 4; ++k) {
    const Single3 n = in.Triple("a corner normal");
    face.Vertices[k].I = n.x, face.Vertices[k].J = n.y, face.Vertices[k].K = n.z;
  }
  face.Normal = in.Triple("the face normal");
  face.Vector1 = in.Triple("the first software vector");
  face.Vector2 = in.Triple("the second software vector");
  for (std::size_t s = 0; s < 4; ++s) face.TextureNames[s] = in.Text("a texture name");
}

MeshRec ReadMesh(OpzIn& in) {
  MeshRec mesh;
  mesh.Name = in.Text("the mesh name");
  const std::int32_t levels = in.Count("the level count", kMinLevelLines);
  if (levels < 1 || levels > 2)
    in.Fail("a mesh has 1 or 2 levels of detail, not " + std::to_string(levels));
  const std::int32_t hardpoints = in.Count("the hardpoint count", kMinHardpointLines);
  const std::int32_t glows = in.Count("the engine glow count", kMinGlowLines);
  mesh.MeshType = in.Code("the mesh type");
  mesh.ExplosionType = in.Code("the explosion type");
  mesh.Span = in.Triple("the hitzone span");
  mesh.Center = in.Triple("the hitzone centre");
  mesh.Min = in.Triple("the hitzone minimum");
  mesh.Max = in.Triple("the hitzone maximum");
  mesh.TargetId = in.Code("the target id");
  mesh.Target = in.Triple("the target");
  mesh.Pivot = in.Triple("the rotation pivot");
  mesh.Axis = in.Triple("the rotation axis");
  mesh.Aim = in.Triple("the translation vector");
  mesh.Degree = in.Triple("the scale vector");
  mesh.LODs.resize(static_cast<std::size_t>(levels));
  for (LODRec& level : mesh.LODs) {
    in.Header("LOD");
    const std::int32_t faces = in.Count("the face count", kMinFaceLines);
    level.Distance = in.Single("the level distance");
    level.Faces.resize(static_cast<std::size_t>(faces));
    in.ReadFaces(level.Faces.Edit(), ReadFace);
    in.Passed();
  }
  mesh.Hardpoints.resize(static_cast<std::size_t>(hardpoints));
  for (HardpointRec& hp : mesh.Hardpoints) {
    in.Header("HP");
    hp.HardpointType = in.Code("the hardpoint type");
    hp.Position = in.Triple("the hardpoint position");
  }
  mesh.EngineGlows.resize(static_cast<std::size_t>(glows));
  for (EngineGlowRec& g : mesh.EngineGlows) {
    in.Header("EG");
    const auto inner = in.Colour("the inner colour", true);
    const auto outer = in.Colour("the outer colour", true);
    g.InnerColor = {inner[0], inner[1], inner[2], inner[3]};
    g.OuterColor = {outer[0], outer[1], outer[2], outer[3]};
    g.Position = in.Triple("the engine glow position");
    g.Size = in.Triple("the engine glow size");
    g.Density1 = in.Triple("density 1");
    g.Density2 = in.Triple("density 2");
    g.Density3 = in.Triple("density 3");
  }
  return mesh;
}

std::vector<RGB> ReadColours(OpzIn& in, const char* countWhat) {
  const std::int32_t n = in.Count(countWhat, 1);
  std::vector<RGB> colours(static_cast<std::size_t>(n));
  for (RGB& c : colours) {
    const auto v = in.Colour("a colour", false);
    c = {v[0], v[1], v[2]};
  }
  return colours;
}

TextureRec ReadTexture(OpzIn& in) {
  TextureRec t;
  t.Name = in.Text("the texture name");
  if (!IsSafeFileName(t.Name))
    in.Fail("the texture name \"" + t.Name + "\" is not a file name inside the project folder");
  t.TransOpacity = in.Byte("the opacity");
  t.TransTolerance = in.Byte("the transparency tolerance");
  t.TransColors = ReadColours(in, "the transparent colour count");
  t.IllumBrightness = in.Byte("the brightness", 1, 16);
  t.IllumTolerance = in.Byte("the illumination tolerance");
  t.IllumColors = ReadColours(in, "the illuminated colour count");
  return t;
}

}  // namespace

std::vector<TextureRec> ReadOpzMeshes(std::string_view text, const std::string& fileName,
                                      const std::function<void(MeshRec&&)>& mesh,
                                      const std::function<void(std::size_t)>& passed) {
  OpzIn in(text, fileName, passed);
  const std::int32_t meshes = in.Count("the mesh count", kMinMeshLines);
  const std::int32_t textures = in.Count("the texture count", kMinTextureLines);
  for (std::int32_t m = 0; m < meshes; ++m) {
    ReportProgress(m, meshes);
    mesh(ReadMesh(in));
  }
  std::vector<TextureRec> records;
  records.reserve(static_cast<std::size_t>(textures));
  for (std::int32_t t = 0; t < textures; ++t) records.push_back(ReadTexture(in));
  in.End();
  return records;
}

ProjectData ReadOpzText(std::string_view text, IdCounters& ids, const std::string& fileName,
                        const std::function<void(std::size_t)>& passed) {
  ProjectData data;
  data.textures = ReadOpzMeshes(
      text, fileName, [&](MeshRec&& mesh) { data.meshes.push_back(std::move(mesh)); }, passed);
  IdCounters fresh = ids;
  for (MeshRec& mesh : data.meshes)
    for (LODRec& level : mesh.LODs) AssignNewIds(level, fresh);
  ids = fresh;
  return data;
}

}  // namespace tamsel
