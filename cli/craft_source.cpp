#include "cli/craft_source.h"

#include <map>
#include <memory>

#include "model/bounds.h"
#include "model/file_error.h"
#include "model/file_io.h"
#include "model/project.h"
#include "opt/opt_import.h"

namespace tamsel {

CraftSource ReadCraft(const std::filesystem::path& source) {
  CraftSource craft;
  if (!HasExtension(source, ".opt")) {
    LookAtProject(craft.model, source);
    craft.bitmaps = ProjectBitmaps(craft.model);
    return craft;
  }
  IdCounters ids;
  OptImportResult r = ReadOptImport(ReadFileBytes(source), source.string(), ids, 0);
  craft.model.Meshes = std::move(r.meshes);
  craft.model.Textures = std::move(r.textures);
  // The file stores no face or level boxes: they are made as the import makes them, so that
  // the check does not take them for stale.
  CalculateBounds(craft.model);
  craft.fromOpt = true;
  auto bitmaps =
      std::make_shared<std::map<std::string, Bitmap>>(r.bitmaps.begin(), r.bitmaps.end());
  craft.bitmaps = [bitmaps](const TextureRec& t) {
    const auto it = bitmaps->find(t.Name);
    if (it == bitmaps->end()) throw FileError(t.Name, "", "no such texture in the OPT file");
    return it->second;
  };
  return craft;
}

}  // namespace tamsel
