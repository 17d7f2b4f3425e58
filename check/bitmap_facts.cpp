#include "check/bitmap_facts.h"

#include <array>
#include <cstring>
#include <system_error>

#include "model/file_error.h"

namespace tamsel {
namespace {

std::int32_t Long(const Bytes& b, std::size_t at) {
  std::int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

}  // namespace

BitmapFacts FactsOfBitmap(const Bitmap& bitmap) {
  BitmapFacts facts;
  facts.readable = true;
  facts.width = bitmap.width;
  facts.height = bitmap.height;
  facts.bitsPerPixel = 8;
  std::array<bool, 256> used{};
  for (const std::uint8_t t : bitmap.texels) used[t] = true;
  for (int k = 0; k < 256; ++k)
    if (used[static_cast<std::size_t>(k)])
      facts.colours.push_back({bitmap.Red(k), bitmap.Green(k), bitmap.Blue(k)});
  return facts;
}

BitmapFacts FactsOfBitmapFile(const Bytes& bytes, const std::string& fileName) {
  BitmapFacts facts;
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M') {
    facts.problem = "not a bitmap file";
    return facts;
  }
  const std::int32_t height = Long(bytes, 22);
  facts.width = Long(bytes, 18);
  facts.height = height < 0 ? -height : height;
  facts.bitsPerPixel = bytes[28] | bytes[29] << 8;
  if (facts.bitsPerPixel != 8) {
    facts.readable = true;  // its size is known; the depth is the finding
    return facts;
  }
  try {
    return FactsOfBitmap(DecodeBitmap(bytes, fileName));
  } catch (const FileError& e) {
    facts.problem = e.what();
    return facts;
  }
}

BitmapFacts BitmapFactsCache::Get(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  const auto time =
      ec ? std::filesystem::file_time_type{} : std::filesystem::last_write_time(path, ec);
  if (ec || !std::filesystem::is_regular_file(path, ec)) {
    BitmapFacts missing;
    missing.problem = "the bitmap file is missing";
    return missing;
  }
  {
    const std::lock_guard lock(mutex_);
    const auto it = entries_.find(path);
    if (it != entries_.end() && it->second.size == size && it->second.time == time)
      return it->second.facts;
  }
  BitmapFacts facts;
  try {
    facts = FactsOfBitmapFile(ReadFileBytes(path), path.string());
  } catch (const std::exception& e) {
    facts.problem = e.what();
  }
  const std::lock_guard lock(mutex_);
  entries_[path] = {size, time, facts};
  return facts;
}

BitmapFactsSource ProjectBitmapFacts(const std::string& folder,
                                     std::shared_ptr<BitmapFactsCache> cache) {
  if (!cache) cache = std::make_shared<BitmapFactsCache>();
  return [folder = std::filesystem::path(folder), cache](const TextureRec& t) {
    if (!IsSafeFileName(t.Name)) {
      BitmapFacts facts;
      facts.problem = "not a file name inside the project folder";
      return facts;
    }
    return cache->Get(folder / t.Name);
  };
}

BitmapFactsSource LoadedBitmapFacts(BitmapLoader loader) {
  return [loader = std::move(loader)](const TextureRec& t) {
    try {
      return FactsOfBitmap(loader(t));
    } catch (const std::exception& e) {
      BitmapFacts facts;
      facts.problem = e.what();
      return facts;
    }
  };
}

}  // namespace tamsel
