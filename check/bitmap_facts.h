// What the check needs of a texture's bitmap: whether it can be read, its size and depth,
// and the colours its texels use. Reading them is the slow part of a check, so a project's
// bitmaps are read once and again only when their file changes.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "model/file_io.h"
#include "model/records.h"
#include "opt/opt_writer.h"

namespace tamsel {

struct BitmapFacts {
  bool readable = false;
  std::string problem;  // why not, when not readable
  int width = 0, height = 0;
  int bitsPerPixel = 0;
  std::vector<RGB> colours;  // the distinct colours the texels use (8-bit bitmaps)
};

// A bitmap file's bytes: an uncompressed bitmap of any depth gives its size and depth; an
// 8-bit one its colours too.
BitmapFacts FactsOfBitmapFile(const Bytes& bytes, const std::string& fileName);
BitmapFacts FactsOfBitmap(const Bitmap& bitmap);

using BitmapFactsSource = std::function<BitmapFacts(const TextureRec&)>;

// The facts of a folder's bitmaps, kept while a file's size and time stay the same. Safe
// to use from several threads.
class BitmapFactsCache {
 public:
  BitmapFacts Get(const std::filesystem::path& path);

 private:
  struct Entry {
    std::uintmax_t size;
    std::filesystem::file_time_type time;
    BitmapFacts facts;
  };
  std::mutex mutex_;
  std::map<std::filesystem::path, Entry> entries_;
};

// The bitmaps of a project folder, through `cache` when one is given.
BitmapFactsSource ProjectBitmapFacts(const std::string& folder,
                                     std::shared_ptr<BitmapFactsCache> cache = nullptr);
// The bitmaps a loader gives (an OPT file's).
BitmapFactsSource LoadedBitmapFacts(BitmapLoader loader);

}  // namespace tamsel
