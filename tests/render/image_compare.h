// Comparing a rendered picture with a stored baseline, pixel by pixel within a tolerance.
#pragma once

#include <string>

#include <QImage>
#include <QString>

namespace tamsel::test {

struct ImageDifference {
  bool sameSize = false;
  long differing = 0;  // pixels with a channel further off than the tolerance
  long total = 0;
  QImage picture;  // differing pixels red on a dimmed copy of the baseline
};

ImageDifference CompareImages(const QImage& baseline, const QImage& actual, int channelTolerance);

// Compares `actual` with tests/render/baselines/NAME.png. A missing baseline, or
// TAMSEL_UPDATE_BASELINES=1, writes it (and fails, so that a new baseline is looked at
// before it is committed). On a mismatch the actual picture and the difference are written
// beside the test binary, under render-differences/. Returns a message, empty on a match.
std::string MatchBaseline(const QString& name, const QImage& actual);

}  // namespace tamsel::test
