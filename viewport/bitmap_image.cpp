#include "viewport/bitmap_image.h"

#include <cstring>

#include "model/file_error.h"

namespace tamsel {

QImage ImageOfBitmap(const Bitmap& bitmap) {
  if (bitmap.width <= 0 || bitmap.height <= 0) return {};
  QImage image(bitmap.width, bitmap.height, QImage::Format_Indexed8);
  if (image.isNull()) return {};
  QList<QRgb> colours(256);
  for (int k = 0; k < 256; ++k) colours[k] = qRgb(bitmap.Red(k), bitmap.Green(k), bitmap.Blue(k));
  image.setColorTable(colours);
  const auto width = static_cast<std::size_t>(bitmap.width);
  for (int y = 0; y < bitmap.height; ++y) {
    // The bitmap keeps its bottom row first.
    const std::size_t row = static_cast<std::size_t>(bitmap.height - 1 - y) * width;
    std::memcpy(image.scanLine(y), bitmap.texels.data() + row, width);
  }
  return image;
}

QImage ReadBitmapImage(const std::filesystem::path& path, std::string* problem) {
  try {
    return ImageOfBitmap(DecodeBitmap(ReadFileBytes(path), path.string()));
  } catch (const FileError& e) {
    if (problem) *problem = e.what();
    return {};
  }
}

}  // namespace tamsel
