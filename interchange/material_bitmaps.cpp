#include "interchange/material_bitmaps.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <thread>

#include "model/file_error.h"
#include "model/file_io.h"
#include "model/name_text.h"

namespace tamsel {
namespace fs = std::filesystem;

namespace {

// The file name a path ends in, whichever separator the tool that wrote it used.
std::string StemOf(std::string_view where) {
  std::string text(where);
  std::replace(text.begin(), text.end(), '\\', '/');
  return fs::path(text).stem().string();
}

// The library names an embedded image "*N"; a message names it for a person, counting
// from 1: "embedded image 1 of ship.glb".
std::string EmbeddedLabel(const std::string& where, const std::string& file) {
  unsigned long n = 0;
  const char* end = where.data() + where.size();
  if (where.size() > 1 && where[0] == '*') {
    const auto [at, error] = std::from_chars(where.data() + 1, end, n);
    if (error == std::errc() && at == end && n < 1000000000)
      return "embedded image " + std::to_string(n + 1) + " of " + file;
  }
  return "embedded image " + where + " of " + file;
}

std::uint8_t Byte(float c) {
  return static_cast<std::uint8_t>(std::clamp(std::lround(c * 255.0f), 0L, 255L));
}

}  // namespace

MaterialBitmaps::MaterialBitmaps(const aiScene& scene, const TextureOptions& options, Finder find,
                                 std::string title, const std::set<std::string>& takenNames,
                                 std::string fileName)
    : scene_(scene),
      options_(options),
      find_(std::move(find)),
      title_(std::move(title)),
      fileName_(std::move(fileName)) {
  for (const std::string& name : takenNames) taken_.insert(LowerCase(name));
}

MaterialBitmaps::Source MaterialBitmaps::ColourOf(unsigned index) const {
  const aiMaterial* material = index < scene_.mNumMaterials ? scene_.mMaterials[index] : nullptr;
  aiColor4D colour(0.8f, 0.8f, 0.8f, 1);
  if (material && material->Get(AI_MATKEY_BASE_COLOR, colour) != AI_SUCCESS)
    material->Get(AI_MATKEY_COLOR_DIFFUSE, colour);
  Source s;
  s.colour = {Byte(colour.r), Byte(colour.g), Byte(colour.b)};
  s.key = "colour:" + std::to_string(s.colour[0]) + "," + std::to_string(s.colour[1]) + "," +
          std::to_string(s.colour[2]);
  s.stem = material ? material->GetName().C_Str() : "";
  return s;
}

MaterialBitmaps::Source MaterialBitmaps::SourceOf(unsigned index) {
  if (auto it = sources_.find(index); it != sources_.end()) return it->second;
  const aiMaterial* material = index < scene_.mNumMaterials ? scene_.mMaterials[index] : nullptr;
  aiString path;
  bool hasImage = false;
  if (material)
    for (const aiTextureType type : {aiTextureType_BASE_COLOR, aiTextureType_DIFFUSE})
      if (!hasImage && material->GetTexture(type, 0, &path) == AI_SUCCESS) hasImage = true;
  Source s = ColourOf(index);
  const std::string where = path.C_Str();
  if (hasImage && !where.empty()) {
    if (const aiTexture* embedded = scene_.GetEmbeddedTexture(where.c_str())) {
      s.key = "embedded:" + where;
      s.where = where;
      s.label = EmbeddedLabel(where, fileName_);
      if (embedded->mFilename.length) s.stem = StemOf(embedded->mFilename.C_Str());
    } else if (find_) {
      auto [it, added] = found_.try_emplace(where);
      if (added) it->second = find_(where);
      if (it->second) {
        s.key = "file:" + it->second->string();
        s.where = where;
        s.label = where;
        s.stem = it->second->stem().string();
      } else if (missingTold_.insert(where).second) {
        missing_.push_back("image not used: " + where +
                           ": not found inside the model's folder (files outside the model's "
                           "folder are never read)");
      }
    }
  }
  sources_[index] = s;
  return s;
}

RgbaImage MaterialBitmaps::LoadImage(const Source& source) const {
  if (const aiTexture* embedded = scene_.GetEmbeddedTexture(source.where.c_str())) {
    if (embedded->mHeight == 0) {
      const auto* p = reinterpret_cast<const std::uint8_t*>(embedded->pcData);
      return DecodeImage(Bytes(p, p + embedded->mWidth), source.label);
    }
    const std::size_t texels = static_cast<std::size_t>(embedded->mWidth) * embedded->mHeight;
    if (static_cast<std::int64_t>(texels) > kMaxImagePixels)
      throw FileError(source.label, "", "the image is too large");
    RgbaImage image{static_cast<int>(embedded->mWidth), static_cast<int>(embedded->mHeight), {}};
    image.rgba.resize(texels * 4);
    for (std::size_t i = 0; i < texels; ++i) {
      const aiTexel& t = embedded->pcData[i];
      image.rgba[4 * i] = t.r, image.rgba[4 * i + 1] = t.g;
      image.rgba[4 * i + 2] = t.b, image.rgba[4 * i + 3] = t.a;
    }
    return image;
  }
  const std::string path = source.key.substr(5);  // "file:"
  return DecodeImage(ReadFileBytes(path), path);
}

MaterialBitmaps::Prepared MaterialBitmaps::Prepare(const Source& source) const {
  Prepared out;
  try {
    out.indexed = ToIndexed(LoadImage(source), options_, source.label, out.warnings);
  } catch (const FileError& e) {
    out.warnings.push_back(std::string("image not used: ") + e.what());
    out.failed = true;
  }
  return out;
}

void MaterialBitmaps::PrepareAll() {
  std::set<unsigned> used;
  for (unsigned m = 0; m < scene_.mNumMeshes; ++m) used.insert(scene_.mMeshes[m]->mMaterialIndex);
  std::map<std::string, Source> distinct;
  for (unsigned index : used) {
    const Source s = SourceOf(index);
    distinct.try_emplace(s.key, s);
  }
  std::vector<const Source*> list;
  for (const auto& [key, source] : distinct)  // plain colours go to the swatches instead
    if (!source.where.empty() && !prepared_.count(key)) list.push_back(&source);
  std::vector<Prepared> done(list.size());
  std::vector<std::exception_ptr> failures(list.size());
  std::atomic<std::size_t> next{0};
  const auto work = [&] {
    for (std::size_t i; (i = next++) < list.size();) try {
        done[i] = Prepare(*list[i]);
      } catch (...) {
        failures[i] = std::current_exception();
      }
  };
  std::vector<std::thread> helpers;
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned t = 1; t < cores && t < list.size(); ++t) helpers.emplace_back(work);
  work();
  for (std::thread& t : helpers) t.join();
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (failures[i]) std::rethrow_exception(failures[i]);
    prepared_.emplace(list[i]->key, std::move(done[i]));
  }
}

MaterialBitmaps::Texture MaterialBitmaps::TextureOf(unsigned index, ModelImportResult& result,
                                                    bool keepsCoordinates) {
  result.warnings.insert(result.warnings.end(), missing_.begin(), missing_.end());
  missing_.clear();
  Source source = SourceOf(index);
  if (!source.where.empty()) {
    auto it = prepared_.find(source.key);
    if (it == prepared_.end()) it = prepared_.emplace(source.key, Prepare(source)).first;
    if (!it->second.failed) {
      if (auto named = names_.find(source.key); named != names_.end())
        return {named->second, std::nullopt, std::nullopt};
      Prepared& p = it->second;
      result.warnings.insert(result.warnings.end(), p.warnings.begin(), p.warnings.end());
      TextureRec record;
      const std::string stem = SanitizeNamePart(source.stem.empty() ? "material" : source.stem);
      record.Name = UniqueFileName(title_ + "_" + stem + ".BMP", taken_);
      record.TransColors = p.indexed.transColors;
      record.TransOpacity = p.indexed.transOpacity;
      result.bitmaps.emplace_back(record.Name, std::move(p.indexed.bitmap));
      result.textures.push_back(record);
      names_[source.key] = record.Name;
      return {record.Name, std::nullopt, std::nullopt};
    }
    // The material's colour instead of its unreadable image.
    result.warnings.insert(result.warnings.end(), it->second.warnings.begin(),
                           it->second.warnings.end());
    it->second.warnings.clear();
    source = ColourOf(index);
  }
  if (keepsCoordinates) return PlainBitmap(source.colour, result);
  return SwatchCell(source.colour, source.key, result);
}

MaterialBitmaps::Texture MaterialBitmaps::PlainBitmap(const RGB& colour,
                                                      ModelImportResult& result) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%02X%02X%02X", colour[0], colour[1], colour[2]);
  auto named = plain_.find(hex);
  if (named == plain_.end()) {
    TextureRec record;
    record.Name = UniqueFileName(title_ + "_colour_" + hex + ".BMP", taken_);
    Bitmap b;
    b.width = b.height = kPlainSide;
    b.palette[2] = colour[0];
    b.palette[1] = colour[1];
    b.palette[0] = colour[2];
    b.texels.assign(kPlainSide * kPlainSide, 0);
    result.bitmaps.emplace_back(record.Name, std::move(b));
    result.textures.push_back(record);
    named = plain_.emplace(hex, record.Name).first;
  }
  return {named->second, std::nullopt, std::nullopt};
}

MaterialBitmaps::Texture MaterialBitmaps::SwatchCell(const RGB& colour, const std::string& key,
                                                     ModelImportResult& result) {
  auto cell = cells_.find(key);
  if (cell == cells_.end()) {
    if (swatches_.empty() || swatches_.back().colours.size() == 256) {
      TextureRec record;
      record.Name = UniqueFileName(title_ + "_colours.BMP", taken_);
      result.bitmaps.emplace_back(record.Name, Bitmap{});
      result.textures.push_back(record);
      swatches_.push_back({result.bitmaps.size() - 1, {}});
    }
    swatches_.back().colours.push_back(colour);
    cell = cells_.emplace(key, std::pair{swatches_.size() - 1, swatches_.back().colours.size() - 1})
               .first;
  }
  const auto [s, c] = cell->second;
  // Each cell is a whole column: any V finds the colour, whichever way rows are counted.
  return {result.bitmaps[swatches_[s].bitmap].first, (static_cast<float>(c) + 0.5f) / kSwatchWidth,
          0.5f};
}

void MaterialBitmaps::Finish(ModelImportResult& result) {
  for (const Swatch& swatch : swatches_) {
    Bitmap& b = result.bitmaps[swatch.bitmap].second;
    b.width = kSwatchWidth;
    b.height = kSwatchRows;
    for (std::size_t k = 0; k < swatch.colours.size(); ++k) {
      b.palette[4 * k + 2] = swatch.colours[k][0];
      b.palette[4 * k + 1] = swatch.colours[k][1];
      b.palette[4 * k] = swatch.colours[k][2];
    }
    b.texels.resize(static_cast<std::size_t>(b.width) * static_cast<std::size_t>(b.height));
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x)
        b.texels[static_cast<std::size_t>(y * b.width + x)] = static_cast<std::uint8_t>(
            std::min<std::size_t>(static_cast<std::size_t>(x), swatch.colours.size() - 1));
  }
}

}  // namespace tamsel
