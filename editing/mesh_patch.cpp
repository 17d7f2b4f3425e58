#include "editing/mesh_patch.h"

#include <cstring>
#include <type_traits>

#include "editing/document.h"

namespace tamsel {
namespace {

static_assert(std::is_trivially_copyable_v<FaceRec>, "faces are patched as bytes");

const std::uint8_t* RawBytes(const FaceRec* faces) {
  return reinterpret_cast<const std::uint8_t*>(faces);
}

void PutCount(std::vector<std::uint8_t>& out, std::size_t n) {
  do {
    out.push_back(static_cast<std::uint8_t>((n & 0x7F) | (n > 0x7F ? 0x80 : 0)));
    n >>= 7;
  } while (n);
}

std::size_t GetCount(const std::uint8_t*& at) {
  std::size_t n = 0;
  for (int shift = 0;; shift += 7) {
    const std::uint8_t b = *at++;
    n |= static_cast<std::size_t>(b & 0x7F) << shift;
    if (!(b & 0x80)) return n;
  }
}

}  // namespace

std::size_t MeshPatch::Bytes() const {
  std::size_t bytes = RecordBytes(shell) + delta.capacity();
  for (const LODRec& lod : shell.LODs) bytes += lod.Faces.capacity() * sizeof(FaceRec);
  return bytes;
}

// The delta: for each level in turn, pairs of (zeros to skip, bytes that differ) counts,
// the differing bytes after each pair; the level ends where its bytes do.
std::optional<MeshPatch> MakeMeshPatch(const MeshRec& mesh, const MeshRec& base) {
  if (mesh.LODs.size() != base.LODs.size()) return std::nullopt;
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l)
    if (mesh.LODs[l].Faces.size() != base.LODs[l].Faces.size()) return std::nullopt;
  MeshPatch patch;
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
    const std::size_t size = mesh.LODs[l].Faces.size() * sizeof(FaceRec);
    const std::uint8_t* a = RawBytes(mesh.LODs[l].Faces.data());
    const std::uint8_t* b = RawBytes(base.LODs[l].Faces.data());
    std::size_t i = 0;
    while (i < size) {
      std::size_t same = i;
      while (same < size && a[same] == b[same]) ++same;
      std::size_t differ = same;
      // A lone equal byte inside a changed number costs more as a run than as a literal.
      while (differ < size &&
             (a[differ] != b[differ] || (differ + 1 < size && a[differ + 1] != b[differ + 1])))
        ++differ;
      PutCount(patch.delta, same - i);
      PutCount(patch.delta, differ - same);
      for (std::size_t k = same; k < differ; ++k)
        patch.delta.push_back(static_cast<std::uint8_t>(a[k] ^ b[k]));
      i = differ;
    }
  }
  patch.shell = MeshShell(mesh);
  patch.delta.shrink_to_fit();
  if (patch.Bytes() >= RecordBytes(mesh)) return std::nullopt;
  return patch;
}

MeshRec ApplyMeshPatch(const MeshPatch& patch, const MeshRec& base) {
  MeshRec mesh = patch.shell;
  const std::uint8_t* at = patch.delta.data();
  for (std::size_t l = 0; l < mesh.LODs.size(); ++l) {
    SharedVector<FaceRec>& faces = mesh.LODs[l].Faces;
    faces = base.LODs[l].Faces;
    auto* bytes = reinterpret_cast<std::uint8_t*>(faces.data());
    const std::size_t size = faces.size() * sizeof(FaceRec);
    for (std::size_t i = 0; i < size;) {
      i += GetCount(at);
      const std::size_t n = GetCount(at);
      for (std::size_t k = 0; k < n; ++k) bytes[i + k] ^= at[k];
      at += n;
      i += n;
    }
  }
  return mesh;
}

}  // namespace tamsel
