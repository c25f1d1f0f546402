// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_font.h"

#include <QFontMetrics>
#include <algorithm>
#include <climits>

#include "platform/system_language.h"

namespace platform {

QFont ToQFont(const FontValue& value, const QFont& base) {
  QFont font = base;
  if (!value.face.empty() && value.face != kDefaultFace && value.face != kDefaultJapaneseFace)
    font.setFamily(QString::fromStdString(value.face));

  const int height = value.Height();
  if (height < 0) {
    // The character height, which is what Qt's pixel size measures.
    font.setPixelSize(height == INT_MIN ? INT_MAX : -height);
  } else if (height > 0) {
    // The cell height takes in the leading as well: scale the pixel size
    // so that the line height of the result comes out at the cell height.
    // A damaged definition may give any height, so the square is taken wide.
    font.setPixelSize(height);
    const int line = QFontMetrics(font).height();
    if (line > 0) {
      const long long scaled = (static_cast<long long>(height) * height + line / 2) / line;
      font.setPixelSize(static_cast<int>(std::clamp<long long>(scaled, 1, INT_MAX)));
    }
  }

  font.setBold(value.Bold());
  font.setItalic(value.Italic());
  font.setUnderline(value.Underline());
  font.setStrikeOut(value.StrikeOut());
  if (value.pitch == FontPitch::Fixed) {
    font.setFixedPitch(true);
    font.setStyleHint(QFont::TypeWriter);
  } else if (value.pitch == FontPitch::Variable) {
    font.setFixedPitch(false);
  }
  return font;
}

}  // namespace platform
