#include "render/image_compare.h"

#include <QDir>
#include <algorithm>
#include <cstdlib>

namespace tamsel::test {

namespace {

// Rasterisation may round an edge pixel either way; anything more is a change.
constexpr int kChannelTolerance = 24;
constexpr double kDifferingShare = 0.001;

}  // namespace

ImageDifference CompareImages(const QImage& baseline, const QImage& actual, int channelTolerance) {
  ImageDifference d;
  d.sameSize = baseline.size() == actual.size();
  if (!d.sameSize) return d;
  const QImage a = baseline.convertToFormat(QImage::Format_RGB32);
  const QImage b = actual.convertToFormat(QImage::Format_RGB32);
  d.picture = QImage(a.size(), QImage::Format_RGB32);
  d.total = static_cast<long>(a.width()) * a.height();
  for (int y = 0; y < a.height(); ++y) {
    const auto* pa = reinterpret_cast<const QRgb*>(a.constScanLine(y));
    const auto* pb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
    auto* out = reinterpret_cast<QRgb*>(d.picture.scanLine(y));
    for (int x = 0; x < a.width(); ++x) {
      const int off =
          std::max({std::abs(qRed(pa[x]) - qRed(pb[x])), std::abs(qGreen(pa[x]) - qGreen(pb[x])),
                    std::abs(qBlue(pa[x]) - qBlue(pb[x]))});
      if (off > channelTolerance) {
        ++d.differing;
        out[x] = qRgb(255, 0, 0);
      } else {
        out[x] = qRgb(qRed(pa[x]) / 3, qGreen(pa[x]) / 3, qBlue(pa[x]) / 3);
      }
    }
  }
  return d;
}

// What differs, in words for the test's message; empty when the picture matches.
static QString Mismatch(const QString& name, const QImage& actual) {
  const QString path = QStringLiteral(TAMSEL_BASELINE_DIR "/") + name + ".png";
  const bool update = qEnvironmentVariable("TAMSEL_UPDATE_BASELINES") == "1";
  const QImage baseline(path);
  if (update || baseline.isNull()) {
    actual.save(path, "PNG");
    return update ? QString() : "no baseline " + path + " yet: written; look at it and commit it";
  }
  const ImageDifference d = CompareImages(baseline, actual, kChannelTolerance);
  if (d.sameSize && d.differing <= static_cast<long>(d.total * kDifferingShare)) return {};
  const QString folder = QDir::currentPath() + "/render-differences";
  QDir().mkpath(folder);
  actual.save(folder + "/" + name + ".actual.png", "PNG");
  if (!d.sameSize)
    return name + ": the picture is " + QString::number(actual.width()) + " x " +
           QString::number(actual.height()) + ", the baseline " +
           QString::number(baseline.width()) + " x " + QString::number(baseline.height());
  d.picture.save(folder + "/" + name + ".difference.png", "PNG");
  return name + ": " + QString::number(d.differing) + " of " + QString::number(d.total) +
         " pixels differ from " + path + "; see " + folder;
}

std::string MatchBaseline(const QString& name, const QImage& actual) {
  return Mismatch(name, actual).toStdString();
}

}  // namespace tamsel::test
