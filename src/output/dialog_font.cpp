// SPDX-License-Identifier: GPL-3.0-or-later
#include "output/dialog_font.h"

#include <QApplication>

#include "platform/font_value.h"
#include "platform/qt/qt_font.h"
#include "text/font_syntax.h"
#include "text/gtex.h"

namespace output {

QFont DialogFont(cmcGTex& table) {
  platform::FontValue font;
  ApplyFontDescriptor(table.Text("CellModel_BasicDialog"), font);
  return platform::ToQFont(font, QApplication::font());
}

}  // namespace output
