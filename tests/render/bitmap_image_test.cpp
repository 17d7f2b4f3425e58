// The viewport's pictures of bitmaps come from the OPT core's reader; Qt's own BMP reader is
// the outside truth they must agree with, pixel for pixel.
#include <gtest/gtest.h>

#include <QImage>

#include "opt/bitmap.h"
#include "support/temp_dir.h"
#include "viewport/bitmap_image.h"

namespace tamsel {
namespace {

Bitmap Odd() {
  Bitmap b;
  b.width = 5;  // rows padded in the file
  b.height = 3;
  for (int k = 0; k < 256; ++k) {
    b.palette[static_cast<std::size_t>(4 * k)] = static_cast<std::uint8_t>(k);            // blue
    b.palette[static_cast<std::size_t>(4 * k + 1)] = static_cast<std::uint8_t>(255 - k);  // green
    b.palette[static_cast<std::size_t>(4 * k + 2)] = static_cast<std::uint8_t>(k * 7);    // red
  }
  for (int i = 0; i < b.width * b.height; ++i)
    b.texels.push_back(static_cast<std::uint8_t>(i * 17));
  return b;
}

TEST(BitmapImage, APictureMatchesWhatQtsOwnReaderMakesOfTheSameFile) {
  const Bitmap bitmap = Odd();
  const Bytes file = EncodeBitmap(bitmap);
  const QImage qt = QImage::fromData(reinterpret_cast<const uchar*>(file.data()),
                                     static_cast<int>(file.size()), "BMP");
  const QImage ours = ImageOfBitmap(bitmap);
  ASSERT_FALSE(qt.isNull());
  ASSERT_EQ(ours.size(), qt.size());
  for (int y = 0; y < qt.height(); ++y)
    for (int x = 0; x < qt.width(); ++x)
      EXPECT_EQ(ours.pixel(x, y), qt.pixel(x, y)) << x << "," << y;
}

TEST(BitmapImage, AFileTheOptWriterCannotTakeReadsAsNullAndSaysWhy) {
  test::TempDir dir;
  const auto path = dir.path() / "deep.bmp";
  QImage deep(4, 4, QImage::Format_RGB888);  // a 24-bit bitmap
  deep.fill(Qt::red);
  ASSERT_TRUE(deep.save(QString::fromStdString(path.string()), "BMP"));
  std::string problem;
  EXPECT_TRUE(ReadBitmapImage(path, &problem).isNull());
  EXPECT_NE(problem.find("deep.bmp"), std::string::npos) << problem;
  EXPECT_TRUE(ReadBitmapImage(dir.path() / "missing.bmp").isNull());
}

}  // namespace
}  // namespace tamsel
