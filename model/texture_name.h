// A face's texture slot: the bitmap's file name, held once for the whole program however many
// faces name it. A craft of a million faces names a few dozen bitmaps; a handle of one
// pointer instead of a string per slot is most of a face's memory saved.
#pragma once

#include <compare>
#include <functional>
#include <string>
#include <string_view>

namespace tamsel {

class TextureName {
 public:
  TextureName() : text_(&Empty()) {}
  TextureName(std::string_view text) : text_(Intern(text)) {}  // NOLINT: implicit on purpose
  TextureName(const std::string& text) : TextureName(std::string_view(text)) {}  // NOLINT
  TextureName(const char* text) : TextureName(std::string_view(text)) {}         // NOLINT

  const std::string& str() const { return *text_; }
  operator const std::string&() const { return *text_; }  // NOLINT: reads as the name
  const char* c_str() const { return text_->c_str(); }
  bool empty() const { return text_->empty(); }
  std::size_t size() const { return text_->size(); }
  void clear() { text_ = &Empty(); }

  // Equal names are the very same held text.
  friend bool operator==(const TextureName& a, const TextureName& b) { return a.text_ == b.text_; }
  friend bool operator==(const TextureName& a, std::string_view b) { return *a.text_ == b; }
  friend bool operator==(const TextureName& a, const std::string& b) { return *a.text_ == b; }
  friend bool operator==(const TextureName& a, const char* b) { return *a.text_ == b; }
  friend std::strong_ordering operator<=>(const TextureName& a, const TextureName& b) {
    return *a.text_ <=> *b.text_;
  }

 private:
  static const std::string& Empty();
  // The one held copy of `text`; safe from any thread.
  static const std::string* Intern(std::string_view text);
  const std::string* text_;
};

}  // namespace tamsel

template <>
struct std::hash<tamsel::TextureName> {
  std::size_t operator()(const tamsel::TextureName& n) const {
    return std::hash<const void*>{}(&n.str());
  }
};
