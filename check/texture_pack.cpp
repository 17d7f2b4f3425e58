#include "check/texture_pack.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "model/file_error.h"

namespace tamsel {
namespace {

using Colour = std::array<std::uint8_t, 3>;

struct Candidate {
  std::size_t texture;
  Bitmap bitmap;
  std::set<Colour> colours;
};

// Where a packed texture went: its atlas and its texels' corner (bottom-left, inside the
// padding), bottom row first as the bitmap keeps its rows.
struct Place {
  std::size_t atlas;
  int x = 0, y = 0;
};

struct Atlas {
  std::vector<std::size_t> members;  // candidates
  std::set<Colour> colours;
  int shelfY = 0, shelfHeight = 0, cursorX = 0;  // the shelf being filled
  int used = 0;                                  // rows taken
};

std::set<Colour> ColoursOf(const Bitmap& b) {
  std::array<bool, 256> seen{};
  for (const std::uint8_t t : b.texels) seen[t] = true;
  std::set<Colour> colours;
  for (int k = 0; k < 256; ++k)
    if (seen[static_cast<std::size_t>(k)]) colours.insert({b.Red(k), b.Green(k), b.Blue(k)});
  return colours;
}

// The colour settings that must agree for two textures to share a bitmap.
auto ColourKey(const TextureRec& t) {
  return std::tie(t.TransOpacity, t.TransTolerance, t.TransColors, t.IllumBrightness,
                  t.IllumTolerance, t.IllumColors);
}

int PowerOfTwoAtLeast(int n) {
  int p = 1;
  while (p < n) p *= 2;
  return p;
}

}  // namespace

int AtlasSide(Profile profile) {
  const int side = LimitsOf(profile).textureSide;
  return side > 0 ? side : 512;
}

PackReport PackTextures(Model& model, Profile profile, FileTransaction& files,
                        const BitmapLoader& bitmaps) {
  PackReport report;
  report.texturesBefore = report.texturesAfter = model.TextureCount();
  const int side = AtlasSide(profile);
  const auto powerOfTwo = [](int n) { return n > 0 && (n & (n - 1)) == 0; };
  // A texture whose sides are powers of two sits at a multiple of its size, so that the
  // smaller mip levels never mix it with a neighbour; where room allows it keeps a border of
  // one texel too, so that a face's edge samples what the texture's own repeat gave it.
  const auto padOf = [&](const Bitmap& b, int border) {
    return powerOfTwo(b.width) && powerOfTwo(b.height) ? border : kAtlasPadding;
  };
  // Which textures every face lets go: named in slot 0 alone, coordinates within [0, 1].
  std::map<std::string, bool> packable;
  for (const TextureRec& t : model.Textures) packable.emplace(t.Name, true);
  for (const MeshRec& mesh : model.Meshes)
    for (const LODRec& lod : mesh.LODs)
      for (const FaceRec& face : lod.Faces) {
        for (std::size_t s = 1; s < 4; ++s)
          if (auto it = packable.find(face.TextureNames[s].str()); it != packable.end())
            it->second = false;
        auto it = packable.find(face.TextureNames[0].str());
        if (it == packable.end() || !it->second) continue;
        bool variants = false;
        for (std::size_t s = 1; s < 4; ++s) variants = variants || face.TextureNames[s] != kBlank;
        bool inside = !variants;
        for (int k = 0; k < face.CornerCount() && inside; ++k) {
          const VertexRec& v = face.Vertices[static_cast<std::size_t>(k)];
          inside = v.U >= 0 && v.U <= 1 && v.V >= 0 && v.V <= 1;
        }
        if (!inside) it->second = false;
      }
  std::vector<Candidate> candidates;
  for (std::size_t t = 0; t < model.Textures.size(); ++t) {
    const TextureRec& rec = model.Textures[t];
    if (!packable[rec.Name]) continue;
    Bitmap b;
    try {
      b = bitmaps(rec);
    } catch (const FileError&) {
      continue;  // unreadable: the check says so; it stays as it is
    }
    const int pad = powerOfTwo(b.width) && powerOfTwo(b.height) ? 0 : kAtlasPadding;
    if (b.width <= 0 || b.height <= 0 || b.width + 2 * pad > side || b.height + 2 * pad > side)
      continue;
    std::set<Colour> colours = ColoursOf(b);
    candidates.push_back({t, std::move(b), std::move(colours)});
  }
  // Tallest first, then widest, then in record order: shelves fill evenly, and the same
  // craft always packs the same way.
  std::vector<std::size_t> order(candidates.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::make_pair(candidates[a].bitmap.height, candidates[a].bitmap.width) >
           std::make_pair(candidates[b].bitmap.height, candidates[b].bitmap.width);
  });
  struct Plan {
    int border = 0;  // around power-of-two textures
    std::vector<Atlas> atlases;
    std::vector<Place> places;
    // The textures the candidates become: an atlas each, or themselves where alone.
    std::size_t Textures() const {
      std::size_t n = 0;
      for (const Atlas& a : atlases) n += a.members.size() > 1 ? 1 : a.members.size();
      return n;
    }
  };
  const auto plan = [&](int border) {
    Plan result;
    result.border = border;
    std::vector<Atlas>& atlases = result.atlases;
    std::vector<Place>& places = result.places;
    places.resize(candidates.size());
    for (const std::size_t c : order) {
      const Candidate& cand = candidates[c];
      const int pad = padOf(cand.bitmap, border);
      const int w = cand.bitmap.width + 2 * pad, h = cand.bitmap.height + 2 * pad;
      const auto aligned = [&](int at, int size) {
        return pad == 0 ? (at + size - 1) / size * size : at;
      };
      bool placed = false;
      for (std::size_t a = 0; a < atlases.size() && !placed; ++a) {
        Atlas& atlas = atlases[a];
        if (ColourKey(model.Textures[candidates[atlas.members.front()].texture]) !=
            ColourKey(model.Textures[cand.texture]))
          continue;
        std::set<Colour> joined = atlas.colours;
        joined.insert(cand.colours.begin(), cand.colours.end());
        if (joined.size() > 256) continue;
        // On the shelf being filled, or on a new shelf above the rows taken.
        int x = aligned(atlas.cursorX, w), y = aligned(atlas.shelfY, h);
        if (x + w > side || y + h > atlas.shelfY + atlas.shelfHeight) {
          if (aligned(atlas.used, h) + h > side) continue;
          x = 0;
          y = atlas.shelfY = aligned(atlas.used, h);
          atlas.shelfHeight = h;
        }
        atlas.cursorX = x + w;
        atlas.used = std::max(atlas.used, y + h);
        atlas.members.push_back(c);
        atlas.colours = std::move(joined);
        places[c] = {a, x + pad, y + pad};
        placed = true;
      }
      if (!placed) {
        Atlas atlas;
        atlas.members.push_back(c);
        atlas.colours = cand.colours;
        atlas.shelfY = 0;
        atlas.shelfHeight = h;
        atlas.cursorX = w;
        atlas.used = h;
        places[c] = {atlases.size(), pad, pad};
        atlases.push_back(std::move(atlas));
      }
    }
    return result;
  };
  // The border where it costs no texture; without it where the count needs the room.
  Plan chosen = plan(1);
  if (Plan tight = plan(0); tight.Textures() < chosen.Textures()) chosen = std::move(tight);
  const int border = chosen.border;
  const std::vector<Atlas>& atlases = chosen.atlases;
  const std::vector<Place>& places = chosen.places;
  // Each atlas of two textures or more becomes a bitmap and a record.
  std::map<std::string, std::tuple<std::string, double, double, double, double>> moved;
  std::set<std::size_t> gone;
  int number = 0;
  for (const Atlas& atlas : atlases) {
    if (atlas.members.size() < 2) continue;
    const int width = side, height = std::min(side, PowerOfTwoAtLeast(atlas.used));
    Bitmap out;
    out.width = width, out.height = height;
    out.texels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    std::map<Colour, std::uint8_t> index;
    for (const Colour& colour : atlas.colours) {
      const std::size_t k = index.size();
      index[colour] = static_cast<std::uint8_t>(k);
      out.palette[4 * k] = colour[2];
      out.palette[4 * k + 1] = colour[1];
      out.palette[4 * k + 2] = colour[0];
    }
    for (const std::size_t c : atlas.members) {
      const Bitmap& b = candidates[c].bitmap;
      const Place& at = places[c];
      const int pad = padOf(b, border);
      // The texels, and around them copies of the nearest edge texel.
      for (int y = -pad; y < b.height + pad; ++y)
        for (int x = -pad; x < b.width + pad; ++x) {
          // The border repeats the texture, as the texture repeats on a face of its own.
          const int sx = (x % b.width + b.width) % b.width,
                    sy = (y % b.height + b.height) % b.height;
          const auto index2 = [](int row, int rowLength, int column) {
            return static_cast<std::size_t>(row) * static_cast<std::size_t>(rowLength) +
                   static_cast<std::size_t>(column);
          };
          const std::uint8_t t = b.texels[index2(sy, b.width, sx)];
          out.texels[index2(at.y + y, width, at.x + x)] = index[{b.Red(t), b.Green(t), b.Blue(t)}];
        }
    }
    // A file of that name that holds other bytes keeps them; the atlas takes a free name.
    const std::string name =
        files.Bring("ATLAS_" + std::to_string(++number) + ".BMP", EncodeBitmap(out));
    for (const std::size_t c : atlas.members) {
      const Bitmap& b = candidates[c].bitmap;
      const Place& at = places[c];
      // Without a border, the coordinates keep a sixty-fourth of a texel inside the texture:
      // rounding on the way across a face then never reaches the neighbour's first texel.
      const double inset = padOf(b, border) == 0 ? 1.0 / 64 : 0;
      moved[model.Textures[candidates[c].texture].Name] = {
          name, (at.x + inset) / width, (at.y + inset) / height, (b.width - 2 * inset) / width,
          (b.height - 2 * inset) / height};
      gone.insert(candidates[c].texture);
      ++report.packed;
    }
    TextureRec record = model.Textures[candidates[atlas.members.front()].texture];
    record.Name = name;
    model.Textures.push_back(record);
    report.atlases.push_back(name);
  }
  if (report.atlases.empty()) return report;
  // The faces follow their textures into the atlases.
  for (std::size_t m = 0; m < model.Meshes.size(); ++m) {
    bool names = false;
    for (const LODRec& lod : model.Meshes[m].LODs)
      for (const FaceRec& face : lod.Faces)
        names = names || moved.count(face.TextureNames[0].str());
    if (!names) continue;
    for (LODRec& lod : model.Meshes.Edit(m).LODs)
      for (FaceRec& face : lod.Faces) {
        const auto it = moved.find(face.TextureNames[0].str());
        if (it == moved.end()) continue;
        const auto& [atlas, u0, v0, du, dv] = it->second;
        face.TextureNames[0] = atlas;
        for (VertexRec& v : face.Vertices) {
          v.U = static_cast<float>(u0 + v.U * du);
          v.V = static_cast<float>(v0 + v.V * dv);
        }
      }
  }
  model.Textures.KeepIf([&](std::size_t t) { return !gone.count(t); });
  report.texturesAfter = model.TextureCount();
  return report;
}

}  // namespace tamsel
