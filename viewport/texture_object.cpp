#include "viewport/texture_object.h"

#include <GL/gl.h>

#include <cstdlib>

#include "viewport/gl_context_host.h"

namespace tamsel {

GlTexture::GlTexture(GlContextHost& owner) : owner_(owner) {
  owner_.Register(this);
}

GlTexture::~GlTexture() {
  if (id_ != 0 && owner_.HasContext()) {
    GlContextScope scope(owner_);
    GLuint id = id_;
    glDeleteTextures(1, &id);
  }
  owner_.Unregister(this);
}

QImage GlTexture::Keyed(const QImage& picture, const TextureProperties& p) {
  QImage rgba = picture.convertToFormat(QImage::Format_RGBA8888);
  if (!p.UseColorKey) return rgba;
  const int kr = p.ColorKey & 0xFF, kg = (p.ColorKey >> 8) & 0xFF, kb = (p.ColorKey >> 16) & 0xFF;
  for (int y = 0; y < rgba.height(); ++y) {
    uchar* px = rgba.scanLine(y);
    for (int x = 0; x < rgba.width(); ++x, px += 4) {
      if (std::abs(px[0] - kr) <= p.ThresholdR && std::abs(px[1] - kg) <= p.ThresholdG &&
          std::abs(px[2] - kb) <= p.ThresholdB)
        px[3] = 0;
    }
  }
  return rgba;
}

bool GlTexture::LoadImage(const QImage& picture, double /*scale*/, std::uint8_t threshold) {
  if (picture.isNull()) return false;
  Properties.SetThreshold(threshold, threshold, threshold);
  Properties.Width = picture.width();
  Properties.Height = picture.height();
  // Rows go up in file order, bottom row first, as the game reads OPT texels: V = 0 is the
  // bitmap's bottom row.
  const QImage texels = Keyed(picture, Properties).mirrored(false, true);
  GlContextScope scope(owner_);
  if (!scope.ok()) return false;
  GLuint id = id_;
  if (id == 0) glGenTextures(1, &id);
  id_ = id;
  glBindTexture(GL_TEXTURE_2D, id);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texels.width(), texels.height(), 0, GL_RGBA,
               GL_UNSIGNED_BYTE, texels.constBits());
  return true;
}

void GlTexture::Bind() const {
  glBindTexture(GL_TEXTURE_2D, id_);
}

}  // namespace tamsel
