// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures of widgets compared to images stored under tests/data/screenshots.
// Two pixels match when no colour channel differs by more than
// kChannelTolerance; a picture matches when at most kAllowedFraction of its
// pixels do not. The tolerance lets antialiased text edges differ between
// machines, while a missing rule, a wrong tint or a misplaced mark changes a
// whole run of pixels by far more than it.
//
// SEACLONE_UPDATE_SCREENSHOTS=1 rewrites the stored images instead. On a
// mismatch the actual picture and a diff (differing pixels in red) are
// written to screenshot-failures/ in the test's working folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <string>

namespace uitest {

inline constexpr int kChannelTolerance = 24;
inline constexpr double kAllowedFraction = 0.0005;

inline ::testing::AssertionResult MatchesStoredScreenshot(const QImage& picture,
                                                          const std::string& name) {
  const QString stored =
      QStringLiteral(SEACLONE_TEST_DATA "/screenshots/") + QString::fromStdString(name) + ".png";
  const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
  if (const char* update = std::getenv("SEACLONE_UPDATE_SCREENSHOTS"); update && *update == '1') {
    if (!actual.save(stored))
      return ::testing::AssertionFailure() << "cannot write " << stored.toStdString();
    return ::testing::AssertionSuccess();
  }
  const QImage expected = QImage(stored).convertToFormat(QImage::Format_RGB32);
  const QString outDir = QDir::current().absoluteFilePath(QStringLiteral("screenshot-failures"));
  const auto keep = [&](const QImage& image, const char* suffix) {
    QDir().mkpath(outDir);
    const QString path = outDir + "/" + QString::fromStdString(name) + suffix + ".png";
    image.save(path);
    return path.toStdString();
  };
  if (expected.isNull()) {
    return ::testing::AssertionFailure() << "no stored image " << stored.toStdString()
                                         << "; actual picture in " << keep(actual, "-actual");
  }
  if (expected.size() != actual.size()) {
    return ::testing::AssertionFailure()
           << "size " << actual.width() << "x" << actual.height() << ", stored " << expected.width()
           << "x" << expected.height() << "; actual picture in " << keep(actual, "-actual");
  }
  QImage diff(actual.size(), QImage::Format_RGB32);
  long differing = 0;
  for (int y = 0; y < actual.height(); ++y) {
    for (int x = 0; x < actual.width(); ++x) {
      const QRgb a = actual.pixel(x, y);
      const QRgb e = expected.pixel(x, y);
      const bool differs = std::abs(qRed(a) - qRed(e)) > kChannelTolerance ||
                           std::abs(qGreen(a) - qGreen(e)) > kChannelTolerance ||
                           std::abs(qBlue(a) - qBlue(e)) > kChannelTolerance;
      if (differs) ++differing;
      // The stored picture faded, the differing pixels in red.
      const int grey = 160 + qGray(e) * 95 / 255;
      diff.setPixel(x, y, differs ? qRgb(255, 0, 0) : qRgb(grey, grey, grey));
    }
  }
  const long allowed = static_cast<long>(kAllowedFraction * actual.width() * actual.height());
  if (differing <= allowed) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << differing << " pixels differ from " << stored.toStdString() << " (at most " << allowed
         << " may); actual picture in " << keep(actual, "-actual") << ", differences in "
         << keep(diff, "-diff");
}

}  // namespace uitest
