#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <unordered_set>

#include "check/check_parts.h"
#include "editing/normals.h"
#include "model/position_key.h"

namespace tamsel {
namespace {

struct V3 {
  double x, y, z;
};
V3 At(const VertexRec& v) {
  return {v.X, v.Y, v.Z};
}
V3 Minus(V3 a, V3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
V3 Cross(V3 a, V3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Dot(V3 a, V3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
double Length(V3 a) {
  return std::sqrt(Dot(a, a));
}
bool IsZero(const Single3& s) {
  return s.x == 0 && s.y == 0 && s.z == 0;
}

using Key = PositionKey;
using KeyHash = PositionKeyHash;
Key KeyOf(const VertexRec& v) {
  return PositionKeyOf(v);
}

bool Finite(const FaceRec& face) {
  for (const VertexRec& v : face.Vertices)
    if (!std::isfinite(v.X) || !std::isfinite(v.Y) || !std::isfinite(v.Z)) return false;
  return true;
}

// How far a quad departs from a flat, convex shape, relative to its size.
enum class QuadShape { Sound, Bent, Concave };
constexpr double kBentTolerance = 0.01;  // of the longer diagonal
// A mesh of more faces than this is worth a low level of detail.
constexpr int kLowLevelWorthFaces = 256;

QuadShape ShapeOf(const FaceRec& face) {
  std::array<V3, 4> p;
  for (std::size_t k = 0; k < 4; ++k) p[k] = At(face.Vertices[k]);
  const V3 d1 = Minus(p[2], p[0]), d2 = Minus(p[3], p[1]);
  const V3 n = Cross(d1, d2);  // the quad's mean normal
  const double size = std::max(Length(d1), Length(d2));
  const double nl = Length(n);
  if (nl == 0 || size == 0) return QuadShape::Sound;  // a degenerate face, found as such
  // Distance of the corners from their mean plane: the two diagonals' closest approach.
  const double gap = std::abs(Dot(Minus(p[1], p[0]), n)) / nl;
  if (gap > kBentTolerance * size) return QuadShape::Bent;
  for (std::size_t k = 0; k < 4; ++k) {
    const V3 turn = Cross(Minus(p[(k + 1) % 4], p[k]), Minus(p[(k + 2) % 4], p[(k + 1) % 4]));
    if (Dot(turn, n) < 0) return QuadShape::Concave;
  }
  return QuadShape::Sound;
}

bool Degenerate(const FaceRec& face) {
  const int n = face.CornerCount();
  for (int a = 0; a < n; ++a)
    for (int b = a + 1; b < n; ++b)
      if (KeyOf(face.Vertices[static_cast<std::size_t>(a)]) ==
          KeyOf(face.Vertices[static_cast<std::size_t>(b)]))
        return true;
  const V3 p0 = At(face.Vertices[0]);
  V3 area{0, 0, 0};
  double longest = 0;
  for (int k = 1; k + 1 < n; ++k) {
    const V3 a = Minus(At(face.Vertices[static_cast<std::size_t>(k)]), p0);
    const V3 b = Minus(At(face.Vertices[static_cast<std::size_t>(k + 1)]), p0);
    const V3 c = Cross(a, b);
    area = {area.x + c.x, area.y + c.y, area.z + c.z};
    longest = std::max({longest, Length(a), Length(b)});
  }
  return Length(area) <= 1e-9 * longest * longest;
}

// The face's corners in a canonical order: equal for faces with the same corners however
// they were turned or wound.
std::vector<Key> CornerSet(const FaceRec& face) {
  std::vector<Key> keys;
  for (int k = 0; k < face.CornerCount(); ++k)
    keys.push_back(KeyOf(face.Vertices[static_cast<std::size_t>(k)]));
  std::sort(keys.begin(), keys.end());
  return keys;
}

bool Textured(const FaceRec& face) {
  const std::string& name = face.TextureNames[0].str();
  return !name.empty() && name != kBlank;
}

// Faces of one level sharing a fault.
struct FaceList {
  std::vector<int> faces;
  void Add(int f) { faces.push_back(f); }
};

class LevelChecker {
 public:
  LevelChecker(const CheckContext& c, int mesh, int level)
      : c_(c),
        mesh_(mesh),
        level_(level),
        lod_(c.model.Meshes[static_cast<std::size_t>(mesh)].LODs[static_cast<std::size_t>(level)]) {
  }

  void Run() {
    const std::string where = LevelWords(c_.model, mesh_, level_);
    if (lod_.Faces.empty()) {
      c_.Add("level-empty", LevelElement(),
             Capital(where) + " has no faces: nothing of the mesh shows at its distances.");
      return;
    }
    FaceList notFinite, noNormal, backward, noVector, degenerate, bent, concave, duplicate, box;
    std::vector<std::pair<std::size_t, int>> hashes;
    bool anyVertexNormal = false;
    for (int f = 0; f < lod_.FaceCount(); ++f) {
      const FaceRec& face = lod_.Faces[static_cast<std::size_t>(f)];
      if (!Finite(face)) {
        notFinite.Add(f);
        continue;
      }
      for (int k = 0; k < face.CornerCount(); ++k) {
        const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
        anyVertexNormal = anyVertexNormal || v.I != 0 || v.J != 0 || v.K != 0;
      }
      if (Degenerate(face)) {
        degenerate.Add(f);
      } else {
        const Single3 made = FaceNormalOf(face);
        if (IsZero(face.Normal))
          noNormal.Add(f);
        else if (Dot({made.x, made.y, made.z}, {face.Normal.x, face.Normal.y, face.Normal.z}) < 0)
          backward.Add(f);
        if (!face.IsTriangle()) {
          const QuadShape shape = ShapeOf(face);
          if (shape == QuadShape::Bent) bent.Add(f);
          if (shape == QuadShape::Concave) concave.Add(f);
        }
      }
      if (Textured(face) && IsZero(face.Vector1) && !IsZero(SoftwareVectorOf(face)))
        noVector.Add(f);
      if (!BoxFits(face)) box.Add(f);
      const std::vector<Key> corners = CornerSet(face);
      std::size_t h = corners.size();
      for (const Key& k : corners) h = h * 1099511628211ull ^ KeyHash {}(k);
      hashes.emplace_back(h, f);
    }
    FindDuplicates(hashes, duplicate);

    const auto report = [&](const FaceList& list, const char* code, const std::string& what) {
      if (list.faces.empty()) return;
      c_.Add(code, FacesElement(list.faces),
             Capital(Counted(list.faces.size(), "face", "faces")) + " of " + where + " " + what);
    };
    report(notFinite, "face-not-finite",
           "have corners that are not finite numbers; the game cannot place them.");
    report(noNormal, "face-normal-missing",
           "have no face normal (0, 0, 0); the game lights them black.");
    report(backward, "face-normal-backward",
           "have a face normal pointing against their winding; the game lights them as if "
           "seen from behind.");
    // A note only: the OPT file is written with zero vectors whatever the project holds, so
    // they matter to the panels and to other tools, not to the game.
    report(noVector, "face-vectors-missing",
           "are textured but have no software vectors; the texture panel shows none for them.");
    report(degenerate, "face-degenerate",
           "have no area (repeated or collinear corners); they draw nothing and confuse "
           "the normals.");
    report(bent, "quad-bent",
           "are quads whose corners are not in one plane; the game may draw them with cracks.");
    report(concave, "quad-concave",
           "are concave quads; the game draws them wrongly. Split them into triangles.");
    report(duplicate, "face-duplicate",
           "repeat an earlier face's corners; the two fight over the same pixels.");
    report(box, "face-box-stale",
           "have boxes that do not hold their corners; the game culls them wrongly.");
    if (!anyVertexNormal && notFinite.faces.size() < lod_.Faces.size())
      c_.Add("vertex-normals-missing", LevelElement(),
             Capital(where) +
                 " has no vertex normals (all 0, 0, 0); the game shades it flat "
                 "and dark.");
  }

 private:
  Element LevelElement() const {
    Element e;
    e.kind = Element::Kind::Level;
    e.mesh = mesh_;
    e.level = level_;
    return e;
  }
  Element FacesElement(std::vector<int> faces) const {
    Element e = LevelElement();
    e.kind = Element::Kind::Faces;
    e.faces = std::move(faces);
    return e;
  }
  // The face's own box holds its corners, within a rounding.
  static bool BoxFits(const FaceRec& face) {
    const auto near = [](float v, float lo, float hi) {
      const float slack = 1e-4f * std::max({1.0f, std::abs(lo), std::abs(hi)});
      return v >= lo - slack && v <= hi + slack;
    };
    for (int k = 0; k < face.CornerCount(); ++k) {
      const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
      if (!near(v.X, face.BoxMin.x, face.BoxMax.x) || !near(v.Y, face.BoxMin.y, face.BoxMax.y) ||
          !near(v.Z, face.BoxMin.z, face.BoxMax.z))
        return false;
    }
    return true;
  }
  void FindDuplicates(std::vector<std::pair<std::size_t, int>>& hashes, FaceList& out) const {
    std::sort(hashes.begin(), hashes.end());
    std::vector<int> repeats;
    for (std::size_t i = 0; i < hashes.size();) {
      std::size_t j = i + 1;
      while (j < hashes.size() && hashes[j].first == hashes[i].first) ++j;
      // Within a run of equal hashes, a face repeats an earlier one with the same corners.
      for (std::size_t a = i + 1; a < j; ++a) {
        const auto corners = CornerSet(lod_.Faces[static_cast<std::size_t>(hashes[a].second)]);
        for (std::size_t b = i; b < a; ++b)
          if (CornerSet(lod_.Faces[static_cast<std::size_t>(hashes[b].second)]) == corners) {
            repeats.push_back(hashes[a].second);
            break;
          }
      }
      i = j;
    }
    std::sort(repeats.begin(), repeats.end());
    out.faces = std::move(repeats);
  }

  const CheckContext& c_;
  int mesh_, level_;
  const LODRec& lod_;
};

}  // namespace

void CheckGeometry(const CheckContext& c) {
  const Model& model = c.model;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    Element meshElement;
    meshElement.kind = Element::Kind::Mesh;
    meshElement.mesh = m;
    if (mesh.LODs.empty()) {
      c.Add(
          "mesh-no-levels", meshElement,
          Capital(MeshWords(model, m)) + " has no levels of detail; the game shows nothing of it.");
      continue;
    }
    std::unordered_set<Key, KeyHash> positions;
    for (const LODRec& lod : mesh.LODs)
      for (const FaceRec& face : lod.Faces)
        for (int k = 0; k < face.CornerCount(); ++k)
          positions.insert(KeyOf(face.Vertices[static_cast<std::size_t>(k)]));
    if (static_cast<long long>(positions.size()) > c.limits.meshVertices)
      c.Add("mesh-vertices", meshElement,
            Capital(MeshWords(model, m)) + " has " +
                Counted(positions.size(), "vertex position", "distinct vertex positions") +
                " over its levels; the " + std::string(ProfileName(c.profile)) +
                " game loads at most " + std::to_string(c.limits.meshVertices) + " per mesh.");
    for (int l = 0; l < mesh.LODCount(); ++l) LevelChecker(c, m, l).Run();
    if (mesh.LODCount() > 1 && mesh.LODs[1].FaceCount() > mesh.LODs[0].FaceCount()) {
      Element level = meshElement;
      level.kind = Element::Kind::Level;
      level.level = 1;
      c.Add("level-more-faces", level,
            "The low level of " + MeshWords(model, m) + " has more faces (" +
                std::to_string(mesh.LODs[1].FaceCount()) + ") than its high level (" +
                std::to_string(mesh.LODs[0].FaceCount()) + "); the levels may be swapped.");
    }
    // A small mesh costs little at a distance; a large one drawn whole there costs much.
    if (mesh.LODCount() == 1 && mesh.LODs[0].FaceCount() > kLowLevelWorthFaces) {
      Element level = meshElement;
      level.kind = Element::Kind::Level;
      level.level = 0;
      c.Add("level-low-missing", level,
            Capital(MeshWords(model, m)) + " has no low level of detail: its " +
                std::to_string(mesh.LODs[0].FaceCount()) + " faces are drawn at every distance.");
    }
  }
}

}  // namespace tamsel
