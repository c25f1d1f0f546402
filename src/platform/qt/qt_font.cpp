#include "platform/qt/qt_font.h"

#include <QFontMetrics>
#include <algorithm>

#include "platform/system_language.h"

namespace platform {

QFont ToQFont(const FontValue& value, const QFont& base) {
  QFont font = base;
  if (!value.face.empty() && value.face != kDefaultFace && value.face != kDefaultJapaneseFace)
    font.setFamily(QString::fromStdString(value.face));

  const int height = value.Height();
  if (height < 0) {
    // The character height, which is what Qt's pixel size measures.
    font.setPixelSize(-height);
  } else if (height > 0) {
    // The cell height takes in the leading as well: scale the pixel size
    // so that the line height of the result comes out at the cell height.
    font.setPixelSize(height);
    const int line = QFontMetrics(font).height();
    if (line > 0) font.setPixelSize(std::max(1, (height * height + line / 2) / line));
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
