// A GL context without a window or a display: Mesa's surfaceless EGL platform, drawing into
// a framebuffer object that is read back as an image. Headless renders (thumbnails, the
// rendered-image tests, the README's pictures) draw with it.
#pragma once

#include <QImage>
#include <memory>
#include <string>

#include "viewport/gl_context_host.h"

namespace tamsel {

class OffscreenGl : public GlContextHost {
 public:
  // A current compatibility context with a width by height colour and depth buffer bound,
  // or null with `error` saying what is missing.
  static std::unique_ptr<OffscreenGl> Open(int width, int height, std::string& error);
  ~OffscreenGl() override;
  OffscreenGl(const OffscreenGl&) = delete;
  OffscreenGl& operator=(const OffscreenGl&) = delete;

  bool Enter(bool& release) override;
  void Leave() override {}
  bool HasContext() const override { return context_ != nullptr; }

  // What has been drawn, top row first, opaque.
  QImage Read() const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  OffscreenGl() = default;
  void* display_ = nullptr;
  void* context_ = nullptr;
  unsigned framebuffer_ = 0, colour_ = 0, depth_ = 0;
  int width_ = 0, height_ = 0;
};

}  // namespace tamsel
