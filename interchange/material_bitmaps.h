// The bitmaps of a scene's materials: one bitmap per distinct image (or plain colour),
// decoded once however many materials use it, named after the image file's own name.
#pragma once

#include <assimp/scene.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "interchange/model_import.h"
#include "interchange/texture_image.h"

namespace tamsel {

class MaterialBitmaps {
 public:
  // Finds a file the scene names; null when files are not read (bytes in memory).
  using Finder = std::function<std::optional<std::filesystem::path>(std::string_view)>;

  MaterialBitmaps(const aiScene& scene, const TextureOptions& options, Finder find,
                  std::string title, const std::set<std::string>& takenNames,
                  std::string fileName = "the model");

  // Decodes and reduces the images of the materials the meshes use, on every core: most of
  // a large import's time.
  void PrepareAll();
  // What a material's faces take: the texture record's name and, for a plain colour on a
  // mesh without texture coordinates, the coordinates of its cell in a swatch bitmap. A
  // plain colour on a mesh with coordinates (an unwrap waiting to be painted) takes a small
  // bitmap of its own colour instead, so that the coordinates stay.
  struct Texture {
    std::string name;
    std::optional<float> u, v;
  };
  // The record and its bitmap are added to `result` the first time the material's image (or
  // swatch) is used.
  Texture TextureOf(unsigned index, ModelImportResult& result, bool keepsCoordinates = false);
  // Fills the swatch bitmaps with the colours given out: call once, after the last face.
  void Finish(ModelImportResult& result);

  // Plain colours share swatch bitmaps, a column of kSwatchRows texels per colour, up to 256
  // colours each: a model of many flat colours takes a few textures, not one per colour.
  static constexpr int kSwatchWidth = 256, kSwatchRows = 8;

 private:
  struct Source {
    std::string key;    // "file:PATH", "embedded:NAME" or "colour:R,G,B"
    std::string where;  // the image as the material names it ("" for a colour)
    std::string label;  // the image as messages name it
    std::string stem;   // what the bitmap is named after
    RGB colour{};
  };
  // An image's bitmap, or why it could not be used.
  struct Prepared {
    IndexedTexture indexed;
    std::vector<std::string> warnings;
    bool failed = false;
  };
  Source SourceOf(unsigned index);
  Source ColourOf(unsigned index) const;
  Prepared Prepare(const Source& source) const;
  RgbaImage LoadImage(const Source& source) const;

  const aiScene& scene_;
  TextureOptions options_;
  Finder find_;
  std::string title_;
  std::string fileName_;                                               // of the model, for messages
  std::set<std::string> taken_;                                        // lower case
  std::map<std::string, std::optional<std::filesystem::path>> found_;  // by the name as written
  std::map<unsigned, Source> sources_;
  std::map<std::string, Prepared> prepared_;  // by key
  std::map<std::string, std::string> names_;  // record name by key
  struct Swatch {
    std::size_t bitmap;        // its index in the result's bitmaps
    std::vector<RGB> colours;  // in the order of their cells
  };
  Texture SwatchCell(const RGB& colour, const std::string& stem, ModelImportResult& result);
  std::vector<Swatch> swatches_;
  // A plain colour's own bitmap, kPlainSide square, shared by every material of that colour.
  Texture PlainBitmap(const RGB& colour, ModelImportResult& result);
  static constexpr int kPlainSide = 8;
  std::map<std::string, std::string> plain_;                          // record name by colour
  std::map<std::string, std::pair<std::size_t, std::size_t>> cells_;  // colour key -> swatch, cell
  std::set<std::string> missingTold_;
  std::vector<std::string> missing_;  // warnings not yet handed over
};

}  // namespace tamsel
