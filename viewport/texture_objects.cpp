#include "viewport/texture_objects.h"

#include "viewport/bitmap_image.h"

namespace tamsel {

void TextureObjects::Upload(Entry& e) const {
  e.uploaded = true;
  e.trans = std::make_unique<GlTexture>(host_);
  e.illum = std::make_unique<GlTexture>(host_);
  e.trans->Properties.SetColorKey(0);
  e.trans->Properties.UseColorKey = true;
  e.trans->Properties.SetThreshold(e.threshold, e.threshold, e.threshold);
  e.trans->LoadImage(e.picture, 1.0, e.threshold);
  e.illum->LoadImage(e.picture, 1.0, e.threshold);
}

bool TextureObjects::Load(std::size_t t, const QString& bitmapPath, std::uint8_t threshold) {
  return Load(t, ReadBitmapImage(bitmapPath.toStdString()), threshold);
}

bool TextureObjects::Load(std::size_t t, const QImage& picture, std::uint8_t threshold) {
  if (t >= entries_.size()) entries_.resize(t + 1);
  Entry& e = entries_[t];
  e = Entry{};
  e.threshold = threshold;
  if (picture.isNull()) return false;
  e.picture = picture;
  Changed(e);
  return true;
}

void TextureObjects::Changed(Entry& e) {
  e.trans.reset();
  e.illum.reset();
  e.uploaded = false;
  e.version = ++versions_;
}

void TextureObjects::Rekey(std::size_t t, std::uint8_t threshold) {
  if (t >= entries_.size() || entries_[t].picture.isNull()) return;
  entries_[t].threshold = threshold;
  Changed(entries_[t]);
}

void TextureObjects::Reload() {
  for (Entry& e : entries_)
    if (!e.picture.isNull()) Changed(e);
}

unsigned TextureObjects::Id(int t, bool illum) const {
  if (t < 0 || static_cast<std::size_t>(t) >= entries_.size()) return 0;
  Entry& e = entries_[static_cast<std::size_t>(t)];
  if (Pending(t)) Upload(e);
  const auto& object = illum ? e.illum : e.trans;
  return object ? object->Id() : 0;
}

void TextureObjects::MakeAll() const {
  for (std::size_t t = 0; t < entries_.size(); ++t)
    if (Pending(static_cast<int>(t))) Upload(entries_[t]);
}

const QImage* TextureObjects::Picture(std::size_t t) const {
  if (t >= entries_.size() || entries_[t].picture.isNull()) return nullptr;
  return &entries_[t].picture;
}

}  // namespace tamsel
