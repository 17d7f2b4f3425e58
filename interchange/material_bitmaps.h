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
                  std::string title, const std::set<std::string>& takenNames);

  // Decodes and reduces the images of the materials the meshes use, on every core: most of
  // a large import's time.
  void PrepareAll();
  // The name of the texture record of material `index`; the record and its bitmap are added
  // to `result` the first time its image (or colour) is used.
  std::string TextureOf(unsigned index, ModelImportResult& result);

 private:
  struct Source {
    std::string key;    // "file:PATH", "embedded:NAME" or "colour:R,G,B"
    std::string where;  // the image as the material names it ("" for a colour)
    std::string stem;   // what the bitmap is named after
    RGB colour{};
  };
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
  std::set<std::string> taken_;                                        // lower case
  std::map<std::string, std::optional<std::filesystem::path>> found_;  // by the name as written
  std::map<unsigned, Source> sources_;
  std::map<std::string, Prepared> prepared_;  // by key
  std::map<std::string, std::string> names_;  // record name by key
  std::set<std::string> missingTold_;
  std::vector<std::string> missing_;  // warnings not yet handed over
};

}  // namespace tamsel
