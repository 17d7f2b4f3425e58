// The two texture objects of every texture record. TransTexture holds the bitmap with the
// colour key applied (keyed texels transparent), drawn in the opaque pass; IllumTexture
// holds the whole bitmap opaque, drawn in the blended pass at the texture's opacity, where
// it only fills the keyed-out holes (the depth test keeps it off what the opaque pass drew).
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

#include "viewport/gl_context_host.h"
#include "viewport/texture_object.h"

namespace tamsel {

class TextureObjects {
 public:
  explicit TextureObjects(GlContextHost& host) : host_(host) {}

  void Clear() { entries_.clear(); }
  // Creates the objects of record t from the bitmap file: the colour key black with the
  // given threshold. Returns false (leaving the record untextured) when the bitmap cannot
  // be loaded. The picture is read at once; the GL objects are made when first asked for
  // (a wireframe never asks, and a large craft's textures cost it nothing).
  bool Load(std::size_t t, const QString& bitmapPath, std::uint8_t threshold);
  // The same from a picture already in memory (a null picture loads nothing).
  bool Load(std::size_t t, const QImage& picture, std::uint8_t threshold);
  // Loads the transparency texture of record t again with another threshold.
  void Rekey(std::size_t t, std::uint8_t threshold);
  // Uploads every loaded picture again (after the GL context was recreated).
  void Reload();
  void Resize(std::size_t count) { entries_.resize(count); }
  std::size_t size() const { return entries_.size(); }

  // GL ids to bind, made now if not yet; 0 when the record has none. Not to be asked for
  // the first time while a display list is being compiled.
  unsigned Id(int t, bool illum) const;
  // Makes every record's objects that are not made yet.
  void MakeAll() const;
  // Whether asking for record t's ids would make its objects now.
  bool Pending(int t) const {
    if (t < 0 || static_cast<std::size_t>(t) >= entries_.size()) return false;
    const Entry& e = entries_[static_cast<std::size_t>(t)];
    return !e.uploaded && !e.picture.isNull();
  }
  // Changes whenever record t's objects are made anew from another picture or key: what
  // was drawn with its ids must be drawn again. 0 for a record without objects.
  unsigned Version(std::size_t t) const { return t < entries_.size() ? entries_[t].version : 0; }
  const QImage* Picture(std::size_t t) const;

 private:
  struct Entry {
    QImage picture;
    std::unique_ptr<GlTexture> trans, illum;
    std::uint8_t threshold = 0;
    bool uploaded = false;
    unsigned version = 0;
  };
  void Upload(Entry& e) const;
  void Changed(Entry& e);
  GlContextHost& host_;
  // The GL objects are made on demand by Id, which drawing calls through a const store.
  mutable std::vector<Entry> entries_;
  unsigned versions_ = 0;
};

}  // namespace tamsel
