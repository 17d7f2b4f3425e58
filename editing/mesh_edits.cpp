#include "editing/mesh_edits.h"

#include <cmath>
#include <numbers>
#include <numeric>

#include "editing/edit_target.h"
#include "editing/element_edits.h"
#include "editing/select_many.h"
#include "editing/ship_features.h"
#include "model/bounds.h"

namespace tamsel {
namespace {

// A name no mesh has: `base`, or "base 2", "base 3" ...
std::string FreeMeshName(const Model& model, const std::string& base) {
  const auto taken = [&](const std::string& name) {
    for (const MeshRec& mesh : model.Meshes)
      if (mesh.Name == name) return true;
    return false;
  };
  if (!taken(base)) return base;
  for (int n = 2;; ++n)
    if (std::string name = base + " " + std::to_string(n); !taken(name)) return name;
}

VertexRec CornerAt(double x, double y, double z, double u, double v, const Single3& n) {
  VertexRec c;
  c.X = static_cast<float>(x), c.Y = static_cast<float>(y), c.Z = static_cast<float>(z);
  c.U = static_cast<float>(u), c.V = static_cast<float>(v);
  c.I = n.x, c.J = n.y, c.K = n.z;
  return c;
}

// A face of the given corners (three or four), its normal `n` and every slot `texture`.
FaceRec FaceOf(std::vector<VertexRec> corners, const Single3& n, const std::string& texture) {
  FaceRec face;
  face.Normal = n;
  for (std::size_t k = 0; k < 4; ++k) face.Vertices[k] = corners[k < corners.size() ? k : 0];
  face.TextureNames = {texture, kBlank, kBlank, kBlank, ""};
  return face;
}

// A rectangle of half-sizes hu, hv around c in the plane of u and v, wound clockwise seen
// from the side n = u x v points to, as faces face outward.
FaceRec Side(const Single3& c, const Single3& n, const Single3& u, const Single3& v, double hu,
             double hv, const std::string& texture) {
  const auto at = [&](double a, double b) {
    return CornerAt(c.x + a * hu * u.x + b * hv * v.x, c.y + a * hu * u.y + b * hv * v.y,
                    c.z + a * hu * u.z + b * hv * v.z, (a + 1) / 2, (1 - b) / 2, n);
  };
  return FaceOf({at(-1, -1), at(-1, 1), at(1, 1), at(1, -1)}, n, texture);
}

Single3 CrossOf(const Single3& a, const Single3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

std::vector<FaceRec> BoxFaces(const Single3& at, double half, const std::string& texture) {
  static const Single3 kOut[6] = {{0, 0, -1}, {0, 0, 1},  {0, 1, 0},
                                  {0, -1, 0}, {-1, 0, 0}, {1, 0, 0}};
  std::vector<FaceRec> faces;
  for (const Single3& n : kOut) {
    const Single3 u = n.x != 0 ? Single3{0, 1, 0} : Single3{1, 0, 0};
    const Single3 v = CrossOf(n, u);
    const Single3 c{static_cast<float>(at.x + n.x * half), static_cast<float>(at.y + n.y * half),
                    static_cast<float>(at.z + n.z * half)};
    faces.push_back(Side(c, n, u, v, half, half, texture));
  }
  return faces;
}

// Sixteen sides around Z and two caps of triangles to the axis.
std::vector<FaceRec> CylinderFaces(const Single3& at, double half, const std::string& texture) {
  constexpr int kSides = 16;
  std::vector<FaceRec> faces;
  const auto angle = [](int i) { return 2 * std::numbers::pi * i / kSides; };
  for (int i = 0; i < kSides; ++i) {
    const double a0 = angle(i), a1 = angle(i + 1), mid = (a0 + a1) / 2;
    const Single3 n{static_cast<float>(std::cos(mid)), static_cast<float>(std::sin(mid)), 0};
    const auto rim = [&](double a, double z, double u) {
      return CornerAt(at.x + half * std::cos(a), at.y + half * std::sin(a), at.z + z, u,
                      z > 0 ? 1 : 0, n);
    };
    const double u0 = static_cast<double>(i) / kSides, u1 = static_cast<double>(i + 1) / kSides;
    // Clockwise seen from outside: up the first edge, across the top, down the second.
    faces.push_back(
        FaceOf({rim(a0, -half, u0), rim(a0, half, u0), rim(a1, half, u1), rim(a1, -half, u1)}, n,
               texture));
  }
  for (const double z : {-half, half}) {
    const Single3 n{0, 0, z < 0 ? -1.0f : 1.0f};
    const auto cap = [&](double a) {
      return CornerAt(at.x + half * std::cos(a), at.y + half * std::sin(a), at.z + z,
                      (1 + std::cos(a)) / 2, (1 + std::sin(a)) / 2, n);
    };
    const VertexRec centre = CornerAt(at.x, at.y, at.z + z, 0.5, 0.5, n);
    for (int i = 0; i < kSides; ++i) {
      // Seen from outside the cap runs clockwise: with -Z outward the angle grows, with +Z
      // it falls.
      if (z < 0)
        faces.push_back(FaceOf({centre, cap(angle(i)), cap(angle(i + 1))}, n, texture));
      else
        faces.push_back(FaceOf({centre, cap(angle(i + 1)), cap(angle(i))}, n, texture));
    }
  }
  return faces;
}

}  // namespace

int NewMesh(Model& model, NewShape shape, double size, const Single3& at,
            const std::string& texture) {
  const std::string slot = texture.empty() ? kBlank : texture;
  const double half = size / 2;
  std::vector<FaceRec> faces;
  std::string name = "Mesh";
  switch (shape) {
    case NewShape::Empty:
      break;
    case NewShape::Box:
      faces = BoxFaces(at, half, slot);
      name = "Box";
      break;
    case NewShape::Cylinder:
      faces = CylinderFaces(at, half, slot);
      name = "Cylinder";
      break;
    case NewShape::Plane:
      faces.push_back(
          Side(at, {0, 0, -1}, {1, 0, 0}, CrossOf({0, 0, -1}, {1, 0, 0}), half, half, slot));
      name = "Plane";
      break;
  }
  MeshRec mesh;
  mesh.Name = FreeMeshName(model, name);
  mesh.LODs.resize(1);
  mesh.LODs[0].Faces = std::move(faces);
  AssignNewIds(mesh.LODs[0], model.Ids);
  CalculateMeshBounds(mesh);
  FitHitzoneToHighLevel(mesh);
  SetRotationToHighLevel(mesh);
  if (mesh.LODs[0].Faces.empty())  // a box of no size where it was made
    mesh.Center = mesh.Target = mesh.Pivot = mesh.Min = mesh.Max = at;
  SelectNone(model, 0, PickKind::Mesh);
  mesh.LODs[0].Selected = kTrue;
  model.Meshes.push_back(std::move(mesh));
  CalculateBounds(model, {model.MeshCount() - 1});
  return model.MeshCount() - 1;
}

std::vector<int> MergeMeshes(Model& model, int level) {
  const std::vector<int> chosen = SelectedMeshes(model, level);
  if (chosen.size() < 2) return {};
  MeshRec& first = model.Meshes.Edit(static_cast<std::size_t>(chosen[0]));
  for (std::size_t i = 1; i < chosen.size(); ++i) {
    const MeshRec& other = model.Meshes[static_cast<std::size_t>(chosen[i])];
    for (std::size_t l = 0; l < other.LODs.size(); ++l) {
      if (l >= first.LODs.size()) {
        first.LODs.push_back(other.LODs[l]);
        first.LODs.back().Selected = kFalse;
        continue;
      }
      auto& faces = first.LODs[l].Faces.Edit();
      faces.insert(faces.end(), other.LODs[l].Faces.begin(), other.LODs[l].Faces.end());
    }
    first.Hardpoints.insert(first.Hardpoints.end(), other.Hardpoints.begin(),
                            other.Hardpoints.end());
    first.EngineGlows.insert(first.EngineGlows.end(), other.EngineGlows.begin(),
                             other.EngineGlows.end());
  }
  std::vector<int> removed(chosen.begin() + 1, chosen.end());
  std::size_t next = 0;
  model.Meshes.KeepIf([&](std::size_t m) {
    if (next < removed.size() && removed[next] == static_cast<int>(m)) {
      ++next;
      return false;
    }
    return true;
  });
  CalculateBounds(model, {chosen[0]});
  return removed;
}

int SeparateFaces(Model& model, int level) {
  const auto L = static_cast<std::size_t>(level);
  std::vector<FaceRec> moved;
  std::vector<int> changed;
  int from = -1;
  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& seen = model.Meshes[static_cast<std::size_t>(m)];
    if (!seen.HasLevel(level) || !seen.LODs[L].Selected) continue;
    bool any = false;
    for (const FaceRec& face : seen.LODs[L].Faces) any = any || face.Selected;
    if (!any) continue;
    if (from < 0) from = m;
    MeshRec& mesh = model.Meshes.Edit(static_cast<std::size_t>(m));
    mesh.LODs[L].Selected = kFalse;
    auto& faces = mesh.LODs[L].Faces.Edit();
    for (FaceRec& face : faces)
      if (face.Selected) moved.push_back(face);
    std::erase_if(faces, [](const FaceRec& f) { return f.Selected != kFalse; });
    changed.push_back(m);
  }
  if (moved.empty()) return 0;
  MeshRec part = MeshShell(model.Meshes[static_cast<std::size_t>(from)]);
  part.Name = FreeMeshName(model, part.Name + " part");
  part.Hardpoints.clear();
  part.EngineGlows.clear();
  part.LODs.resize(1);
  part.LODs[0].Distance = 0;
  part.LODs[0].Id = model.Ids.NewMeshId();
  part.LODs[0].Selected = kTrue;
  for (FaceRec& face : moved) face.Selected = kFalse;
  const int count = static_cast<int>(moved.size());
  part.LODs[0].Faces = std::move(moved);
  CalculateMeshBounds(part);
  FitHitzoneToHighLevel(part);
  part.Pivot = part.LODs[0].BoxCenter;
  model.Meshes.push_back(std::move(part));
  changed.push_back(model.MeshCount() - 1);
  CalculateBounds(model, changed);
  return count;
}

bool MoveMesh(Model& model, int from, int to) {
  const int n = model.MeshCount();
  if (from < 0 || from >= n || to < 0 || to >= n || from == to) return false;
  model.Meshes.MoveTo(static_cast<std::size_t>(from), static_cast<std::size_t>(to));
  return true;
}

std::vector<int> IndicesAfterRemoval(int count, const std::vector<int>& removed) {
  std::vector<int> index(static_cast<std::size_t>(std::max(count, 0)));
  std::size_t r = 0;
  int next = 0;
  for (int m = 0; m < count; ++m) {
    if (r < removed.size() && removed[r] == m) {
      index[static_cast<std::size_t>(m)] = -1;
      ++r;
    } else {
      index[static_cast<std::size_t>(m)] = next++;
    }
  }
  return index;
}

std::vector<int> IndicesAfterMove(int count, int from, int to) {
  std::vector<int> order(static_cast<std::size_t>(std::max(count, 0)));
  std::iota(order.begin(), order.end(), 0);
  if (from >= 0 && from < count && to >= 0 && to < count) {
    order.erase(order.begin() + from);
    order.insert(order.begin() + to, from);
  }
  std::vector<int> index(static_cast<std::size_t>(std::max(count, 0)));
  for (int at = 0; at < count; ++at)
    index[static_cast<std::size_t>(order[static_cast<std::size_t>(at)])] = at;
  return index;
}

void FollowMeshes(Focus& focus, const std::vector<int>& newIndex) {
  const auto follow = [&](int m) {
    return m >= 0 && m < static_cast<int>(newIndex.size()) ? newIndex[static_cast<std::size_t>(m)]
                                                           : -1;
  };
  focus.mesh = follow(focus.mesh);
  const auto item = [&](std::optional<ItemRef>& ref) {
    if (!ref) return;
    if ((ref->mesh = follow(ref->mesh)) < 0) ref.reset();
  };
  item(focus.hardpoint);
  item(focus.engineGlow);
  if (focus.face && (focus.face->mesh = follow(focus.face->mesh)) < 0) focus.face.reset();
  if (focus.corner && (focus.corner->mesh = follow(focus.corner->mesh)) < 0) focus.corner.reset();
}

LowLevelPlan PlanLowLevel(const Model& model, int target) {
  LowLevelPlan plan;
  const auto name = [&](int m) {
    return "\"" + model.Meshes[static_cast<std::size_t>(m)].Name + "\"";
  };
  int selected = 0;
  for (int m = 0; m < model.MeshCount(); ++m)
    if (model.Meshes[static_cast<std::size_t>(m)].LODs[0].Selected) {
      ++selected;
      if (m != target && plan.source < 0) plan.source = m;
    }
  if (target < 0 || target >= model.MeshCount()) {
    plan.source = -1;
    plan.text =
        "Assign LOD: focus the mesh that is to get a low level, then select the mesh whose high "
        "level becomes it too";
    return plan;
  }
  if (plan.source < 0) {
    plan.text = "Assign LOD: " + std::to_string(selected) + " mesh" + (selected == 1 ? "" : "es") +
                " selected; select a second mesh (Shift) whose high level is to become the low "
                "level of " +
                name(target);
    return plan;
  }
  plan.target = target;
  const MeshRec& source = model.Meshes[static_cast<std::size_t>(plan.source)];
  plan.losesFeatures = !source.Hardpoints.empty() || !source.EngineGlows.empty();
  plan.replacesLow = model.Meshes[static_cast<std::size_t>(target)].LODCount() > 1;
  plan.text = "Assign LOD: the high level of " + name(plan.source) + " becomes the low level of " +
              name(target) + ", and " + name(plan.source) + " is removed";
  if (plan.replacesLow) plan.text += "; " + name(target) + "'s low level is replaced";
  if (plan.losesFeatures)
    plan.text += "; its " + std::to_string(source.HardpointCount()) + " hardpoint(s) and " +
                 std::to_string(source.EngineGlowCount()) + " engine glow(s) are lost";
  return plan;
}

}  // namespace tamsel
