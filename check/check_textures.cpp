#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "check/check_parts.h"

namespace tamsel {
namespace {

bool PowerOfTwo(int n) {
  return n > 0 && (n & (n - 1)) == 0;
}

bool Near(const RGB& a, const RGB& b, int tolerance) {
  for (std::size_t i = 0; i < 3; ++i)
    if (std::abs(int{a[i]} - int{b[i]}) > tolerance) return false;
  return true;
}

// A colour as the game's 5-6-5 palette holds it, which is what transparency is tested on.
RGB Packed(const RGB& c) {
  return {static_cast<std::uint8_t>(c[0] & ~7), static_cast<std::uint8_t>(c[1] & ~3),
          static_cast<std::uint8_t>(c[2] & ~7)};
}

std::string Quoted(const std::set<std::string>& names) {
  std::string text;
  int shown = 0;
  for (const std::string& n : names) {
    if (shown == 3) return text + " and " + std::to_string(names.size() - 3) + " more";
    text += (shown++ ? ", \"" : "\"") + n + "\"";
  }
  return text;
}

Element TextureElement(int t) {
  Element e;
  e.kind = Element::Kind::Texture;
  e.texture = t;
  return e;
}

}  // namespace

void CheckTextures(const CheckContext& c, const BitmapFactsSource& bitmaps) {
  const Model& model = c.model;
  // As the OPT writer finds them: the last record of a name wins.
  std::unordered_map<std::string, int> index;
  for (int t = 0; t < model.TextureCount(); ++t)
    index[model.Textures[static_cast<std::size_t>(t)].Name] = t;
  std::vector<bool> used(model.Textures.size(), false);

  for (int m = 0; m < model.MeshCount(); ++m) {
    const MeshRec& mesh = model.Meshes[static_cast<std::size_t>(m)];
    for (int l = 0; l < mesh.LODCount(); ++l) {
      std::vector<int> blank, unlisted, fgUnlisted;
      std::set<std::string> unlistedNames, fgNames;
      const LODRec& lod = mesh.LODs[static_cast<std::size_t>(l)];
      for (int f = 0; f < lod.FaceCount(); ++f) {
        const auto& names = lod.Faces[static_cast<std::size_t>(f)].TextureNames;
        const std::string& first = names[0].str();
        if (first.empty() || first == kBlank) {
          blank.push_back(f);
        } else if (const auto it = index.find(first); it == index.end()) {
          unlisted.push_back(f);
          unlistedNames.insert(first);
        } else {
          used[static_cast<std::size_t>(it->second)] = true;
        }
        bool missing = false;
        for (std::size_t k = 1; k < 4; ++k) {
          const std::string& name = names[k].str();
          if (name == kBlank) continue;  // the flight group shows slot 0's texture
          if (const auto it = index.find(name); it != index.end()) {
            used[static_cast<std::size_t>(it->second)] = true;
          } else {
            missing = true;
            fgNames.insert(name.empty() ? "(empty)" : name);
          }
        }
        if (missing) fgUnlisted.push_back(f);
      }
      const std::string where = LevelWords(model, m, l);
      const auto faces = [&](std::vector<int> list) {
        Element e;
        e.kind = Element::Kind::Faces;
        e.mesh = m;
        e.level = l;
        e.faces = std::move(list);
        return e;
      };
      if (!blank.empty())
        c.Add("face-untextured", faces(blank),
              Capital(Counted(blank.size(), "face", "faces")) + " of " + where +
                  " have no texture in slot 0 (BLANK); the OPT file cannot be written with them.");
      if (!unlisted.empty())
        c.Add("texture-not-listed", faces(unlisted),
              Capital(Counted(unlisted.size(), "face", "faces")) + " of " + where + " name " +
                  Quoted(unlistedNames) +
                  ", not in the texture list; the OPT file cannot be written with them.");
      if (!fgUnlisted.empty())
        c.Add("flight-group-not-listed", faces(fgUnlisted),
              Capital(Counted(fgUnlisted.size(), "face", "faces")) + " of " + where +
                  " have flight-group slots naming " + Quoted(fgNames) +
                  ", not in the texture list; the OPT file cannot be written with them.");
    }
  }

  int usedCount = 0;
  for (int t = 0; t < model.TextureCount(); ++t) {
    const TextureRec& texture = model.Textures[static_cast<std::size_t>(t)];
    const std::string name = "Texture \"" + texture.Name + "\"";
    // A record hidden by a later one of the same name is never written.
    const bool shadowed = index[texture.Name] != t;
    if (!used[static_cast<std::size_t>(t)] || shadowed) {
      c.Add("texture-unused", TextureElement(t),
            name + " is named by no face; it is not written into the OPT file.");
      continue;
    }
    ++usedCount;
    const BitmapFacts facts = bitmaps(texture);
    if (!facts.readable) {
      c.Add("bitmap-unreadable", TextureElement(t),
            name + " cannot be read (" + facts.problem +
                "); the OPT file cannot be written without it.");
      continue;
    }
    if (facts.bitsPerPixel != 8) {
      c.Add("bitmap-not-8-bit", TextureElement(t),
            name + " is a " + std::to_string(facts.bitsPerPixel) +
                "-bit bitmap; the game takes 8-bit textures of 256 colours.");
      continue;
    }
    const int side = c.limits.textureSide;
    if (!PowerOfTwo(facts.width) || !PowerOfTwo(facts.height) ||
        (side > 0 && (facts.width > side || facts.height > side))) {
      const std::string size = std::to_string(facts.width) + " x " + std::to_string(facts.height);
      c.Add("texture-size", TextureElement(t),
            name + " is " + size + "; the " + std::string(ProfileName(c.profile)) +
                " game takes sides that are powers of two" +
                (side > 0 ? ", at most " + std::to_string(side) : std::string()) + ".");
    }
    const auto unmatched = [&](const std::vector<RGB>& colours, int tolerance, bool packed) {
      int n = 0;
      for (const RGB& wanted : colours)
        n += std::none_of(facts.colours.begin(), facts.colours.end(), [&](const RGB& have) {
          return Near(packed ? Packed(have) : have, wanted, tolerance);
        });
      return n;
    };
    if (const int n = unmatched(texture.TransColors, texture.TransTolerance, true))
      c.Add("transparent-colour-unused", TextureElement(t),
            name + " has " +
                Counted(static_cast<std::size_t>(n), "transparent colour", "transparent colours") +
                " that match no colour of its bitmap as the game's 16-bit palette holds it; they "
                "make nothing transparent.");
    if (const int n = unmatched(texture.IllumColors, texture.IllumTolerance, false))
      c.Add("illuminated-colour-unused", TextureElement(t),
            name + " has " +
                Counted(static_cast<std::size_t>(n), "illuminated colour", "illuminated colours") +
                " that match no colour of its bitmap; they light nothing.");
  }
  if (usedCount > c.limits.textures)
    c.Add("texture-count", Element{},
          "The craft uses " + std::to_string(usedCount) + " textures; the " +
              std::string(ProfileName(c.profile)) + " game loads at most " +
              std::to_string(c.limits.textures) + ".");
}

}  // namespace tamsel
