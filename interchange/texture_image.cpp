#include "interchange/texture_image.h"

#include <libimagequant.h>
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>

#include <algorithm>
#include <map>
#include <memory>

#include "model/file_error.h"
#include "opt/texture_encoder.h"

namespace tamsel {
namespace {

int PowerOfTwoAtMost(int side, int limit) {
  int p = 1;
  while (p * 2 <= std::min(side, limit)) p *= 2;
  return p;
}

std::uint32_t Key(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) << 16 | static_cast<std::uint32_t>(p[1]) << 8 | p[2];
}

void SetPalette(Bitmap& b, int k, std::uint8_t r, std::uint8_t g, std::uint8_t bl) {
  b.palette[static_cast<std::size_t>(4 * k)] = bl;
  b.palette[static_cast<std::size_t>(4 * k + 1)] = g;
  b.palette[static_cast<std::size_t>(4 * k + 2)] = r;
}

// Texel (x, y) of a top-first image in a bottom-first bitmap.
std::size_t BitmapIndex(const Bitmap& b, int x, int y) {
  return static_cast<std::size_t>(b.height - 1 - y) * static_cast<std::size_t>(b.width) +
         static_cast<std::size_t>(x);
}

struct LiqDeleter {
  void operator()(liq_attr* p) const { liq_attr_destroy(p); }
  void operator()(liq_image* p) const { liq_image_destroy(p); }
  void operator()(liq_result* p) const { liq_result_destroy(p); }
};

// Reduces the opaque colours to at most `colours` entries, writing indices into `out`
// (top row first); transparent texels are left to the caller.
std::vector<std::array<std::uint8_t, 3>> Quantize(const RgbaImage& image, int colours, bool dither,
                                                  std::vector<std::uint8_t>& out) {
  std::unique_ptr<liq_attr, LiqDeleter> attr(liq_attr_create());
  liq_set_max_colors(attr.get(), colours);
  // The fastest setting: a game texture of 256 colours shows no difference worth seconds.
  liq_set_speed(attr.get(), 10);
  std::vector<std::uint8_t> opaque = image.rgba;
  for (std::size_t i = 3; i < opaque.size(); i += 4) opaque[i] = 255;
  std::unique_ptr<liq_image, LiqDeleter> img(
      liq_image_create_rgba(attr.get(), opaque.data(), image.width, image.height, 0));
  liq_result* raw = nullptr;
  if (!img || liq_image_quantize(img.get(), attr.get(), &raw) != LIQ_OK)
    throw FileError("", "", "the image could not be reduced to 256 colours");
  std::unique_ptr<liq_result, LiqDeleter> result(raw);
  liq_set_dithering_level(result.get(), dither ? 1.0f : 0.0f);
  out.resize(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  liq_write_remapped_image(result.get(), img.get(), out.data(), out.size());
  const liq_palette* palette = liq_get_palette(result.get());
  std::vector<std::array<std::uint8_t, 3>> entries;
  for (unsigned i = 0; i < palette->count; ++i)
    entries.push_back({palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
  return entries;
}

}  // namespace

RgbaImage DecodeImage(const Bytes& bytes, const std::string& name) {
  int w = 0, h = 0, channels = 0;
  if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
    throw FileError(name, "", "the image is too large");
  // The size from the header first: a small file can claim a picture of gigabytes.
  if (stbi_info_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels) &&
      static_cast<std::int64_t>(w) * h > kMaxImagePixels)
    throw FileError(name, "",
                    "the image is too large (" + std::to_string(w) + " x " + std::to_string(h) +
                        " pixels; at most " + std::to_string(kMaxImagePixels) + " are read)");
  std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
      stbi_load_from_memory(bytes.data(), static_cast<int>(bytes.size()), &w, &h, &channels, 4),
      stbi_image_free);
  if (!pixels)
    throw FileError(name, "", std::string("not a readable image (") + stbi_failure_reason() + ")");
  RgbaImage image;
  image.width = w;
  image.height = h;
  image.rgba.assign(pixels.get(),
                    pixels.get() + static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
  pixels.reset();
  return image;
}

Bytes EncodePng(const RgbaImage& image) {
  Bytes png;
  stbi_write_png_to_func(
      [](void* context, void* data, int size) {
        auto* out = static_cast<Bytes*>(context);
        const auto* p = static_cast<const std::uint8_t*>(data);
        out->insert(out->end(), p, p + size);
      },
      &png, image.width, image.height, 4, image.rgba.data(), image.width * 4);
  return png;
}

IndexedTexture ToIndexed(RgbaImage image, const TextureOptions& options, const std::string& name,
                         std::vector<std::string>& warnings) {
  const int limit = std::max(1, options.maxSize);
  const int w = PowerOfTwoAtMost(image.width, limit), h = PowerOfTwoAtMost(image.height, limit);
  if (w != image.width || h != image.height) {
    RgbaImage resized{
        w, h,
        std::vector<std::uint8_t>(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4)};
    stbir_resize_uint8(image.rgba.data(), image.width, image.height, 0, resized.rgba.data(), w, h,
                       0, 4);
    warnings.push_back(name + ": resampled from " + std::to_string(image.width) + " x " +
                       std::to_string(image.height) + " to " + std::to_string(w) + " x " +
                       std::to_string(h));
    image = std::move(resized);
  }
  const std::size_t texels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  bool transparent = false, partial = false;
  std::map<std::uint32_t, int> colours;
  for (std::size_t i = 0; i < texels; ++i) {
    const std::uint8_t a = image.rgba[4 * i + 3];
    transparent = transparent || a == 0;
    partial = partial || (a > 0 && a < 255);
    if (a != 0 && colours.size() <= 256) colours.emplace(Key(&image.rgba[4 * i]), 0);
  }
  if (partial) warnings.push_back(name + ": partly transparent texels are drawn opaque");
  const int room = transparent ? 255 : 256;

  IndexedTexture out;
  Bitmap& b = out.bitmap;
  b.width = w;
  b.height = h;
  b.texels.assign(texels, 0);
  std::vector<std::uint8_t> indices(texels, 0);
  int used = 0;
  if (static_cast<int>(colours.size()) <= room) {
    for (auto& [key, index] : colours) {
      index = used;
      SetPalette(b, used++, static_cast<std::uint8_t>(key >> 16),
                 static_cast<std::uint8_t>(key >> 8), static_cast<std::uint8_t>(key));
    }
    for (std::size_t i = 0; i < texels; ++i)
      if (image.rgba[4 * i + 3] != 0)
        indices[i] = static_cast<std::uint8_t>(colours.at(Key(&image.rgba[4 * i])));
  } else {
    const auto palette = Quantize(image, room, options.dither, indices);
    for (const auto& c : palette) SetPalette(b, used++, c[0], c[1], c[2]);
    warnings.push_back(name + ": reduced to " + std::to_string(used) + " colours" +
                       (options.dither ? " (dithered)" : ""));
  }
  if (transparent) {
    // A key colour no other entry has; the game's 5-6-5 decoding never gives 255, so only
    // the key itself can match it.
    std::uint8_t kr = 255, kg = 0, kb = 255;
    for (int k = 0; k < used; ++k)
      if (b.Red(k) == kr && b.Green(k) == kg && b.Blue(k) == kb) SetPalette(b, k, 254, 0, 255);
    const int key = used++;
    SetPalette(b, key, kr, kg, kb);
    for (std::size_t i = 0; i < texels; ++i)
      if (image.rgba[4 * i + 3] == 0) indices[i] = static_cast<std::uint8_t>(key);
    out.transColors = {{kr, kg, kb}};
    out.transOpacity = 0;
  }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.texels[BitmapIndex(b, x, y)] =
          indices[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                  static_cast<std::size_t>(x)];
  return out;
}

Bitmap PlainColourBitmap(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  Bitmap bitmap;
  bitmap.width = bitmap.height = 8;
  SetPalette(bitmap, 0, r, g, b);
  bitmap.texels.assign(64, 0);
  return bitmap;
}

RgbaImage BaseColourImage(const Bitmap& bitmap, const TextureRec& texture) {
  const std::array<bool, 256> transparent = TransparentEntries(bitmap, texture);
  RgbaImage image{bitmap.width, bitmap.height,
                  std::vector<std::uint8_t>(static_cast<std::size_t>(bitmap.width) *
                                            static_cast<std::size_t>(bitmap.height) * 4)};
  const bool keyed = texture.TransOpacity != 255;
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x) {
      const int k = bitmap.texels[BitmapIndex(bitmap, x, y)];
      std::uint8_t* p =
          &image.rgba[4 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) +
                           static_cast<std::size_t>(x))];
      p[0] = bitmap.Red(k), p[1] = bitmap.Green(k), p[2] = bitmap.Blue(k);
      p[3] = keyed && transparent[static_cast<std::size_t>(k)] ? texture.TransOpacity : 255;
    }
  return image;
}

bool EmissiveImage(const Bitmap& bitmap, const TextureRec& texture, RgbaImage& out) {
  const std::array<bool, 256> glowing = GlowingEntries(bitmap, texture);
  out = RgbaImage{bitmap.width, bitmap.height,
                  std::vector<std::uint8_t>(static_cast<std::size_t>(bitmap.width) *
                                            static_cast<std::size_t>(bitmap.height) * 4)};
  bool any = false;
  for (int y = 0; y < bitmap.height; ++y)
    for (int x = 0; x < bitmap.width; ++x) {
      const int k = bitmap.texels[BitmapIndex(bitmap, x, y)];
      std::uint8_t* p =
          &out.rgba[4 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.width) +
                         static_cast<std::size_t>(x))];
      const bool glows = glowing[static_cast<std::size_t>(k)];
      any = any || glows;
      p[0] = glows ? bitmap.Red(k) : 0, p[1] = glows ? bitmap.Green(k) : 0;
      p[2] = glows ? bitmap.Blue(k) : 0, p[3] = 255;
    }
  return any;
}

}  // namespace tamsel
