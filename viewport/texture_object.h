// A GL texture object of a context host (the viewport widget, an offscreen context): one
// bitmap, with an optional colour key whose matching texels (within the threshold, channel
// by channel) become transparent.
#pragma once

#include <QImage>
#include <cstdint>

namespace tamsel {

class GlContextHost;

struct TextureProperties {
  std::uint32_t ColorKey = 0;  // 0x00BBGGRR
  bool UseColorKey = false;
  std::uint8_t ThresholdR = 0, ThresholdG = 0, ThresholdB = 0;
  int Width = 0, Height = 0;
  void SetColorKey(std::uint32_t color) { ColorKey = color; }
  void SetThreshold(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    ThresholdR = r, ThresholdG = g, ThresholdB = b;
  }
};

class GlTexture {
 public:
  explicit GlTexture(GlContextHost& owner);
  ~GlTexture();
  GlTexture(const GlTexture&) = delete;
  GlTexture& operator=(const GlTexture&) = delete;

  TextureProperties Properties;
  // Uploads the picture. The threshold byte overrides all three channel thresholds, as
  // the callers pass one value for red, green and blue. scale is kept for the callers'
  // sake; pictures are always loaded at their own size.
  bool LoadImage(const QImage& picture, double scale, std::uint8_t threshold);
  void Bind() const;  // must run with the context current (inside a display list too)
  unsigned Id() const { return id_; }
  bool Loaded() const { return id_ != 0; }
  // The RGBA texels LoadImage uploads, for tests and for reloading after a context loss.
  static QImage Keyed(const QImage& picture, const TextureProperties& p);

 private:
  friend class GlContextHost;
  void Forget() { id_ = 0; }  // the context that held the id is gone
  GlContextHost& owner_;
  unsigned id_ = 0;
};

}  // namespace tamsel
