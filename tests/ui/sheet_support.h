// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Sheets of the small ui overlay on real widgets, offscreen: a host widget
// of a fixed size, an event bus on virtual time, the settings store under a
// key path of each test's own, and an evaluator that answers "v<number>"
// and raises marks by number, so that pictures show one rule at a time.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <memory>
#include <string>

#include "base/evman.h"
#include "model/capsule.h"
#include "model/cell.h"
#include "model/cell_names.h"
#include "platform/virtual_timer_service.h"
#include "text/gtex.h"
#include "ui/grid.h"
#include "ui/image_list.h"
#include "ui/sheet.h"

namespace uitest {

// Marks by number: 1 warning, 2 error, 3 warning, 4 warning at the right edge.
inline EvalResult FakeEvaluate(cmcCellCapsule& capsule, bool) {
  const int n = capsule.cell->Number();
  capsule.outputText = "v" + std::to_string(n);
  if (n == 1 || n == 3 || n == 4) capsule.stateFlags |= cmcCellCapsule::kWarningMark;
  if (n == 2) capsule.stateFlags |= cmcCellCapsule::kErrorMark;
  if (n == 4) capsule.markPosition = 2;
  return EvalResult::kDone;
}

inline const QColor kWarningColour(0, 200, 0);
inline const QColor kErrorColour(220, 0, 0);

class SheetTest : public ::testing::Test {
 protected:
  SheetTest() {
    table.Bind(SEACLONE_TEST_DATA "/ui/sheet.ovl");
    static int serial = 0;
    keyPath = "Software\\SeacloneUi" + std::to_string(++serial) + "\\K4T";
    // Solid 16 × 16 pictures: image 4 the warning, image 5 the error.
    for (int i = 0; i < 6; ++i) {
      QPixmap picture(16, 16);
      picture.fill(i == cuiSheet::kErrorImage     ? kErrorColour
                   : i == cuiSheet::kWarningImage ? kWarningColour
                                                  : Qt::blue);
      images.Add(picture);
    }
    host.resize(600, 300);
  }
  ~SheetTest() override { sheet.reset(); }

  cuiSheet& Make(const std::string& key, bool build = true) {
    sheet = std::make_unique<cuiSheet>(bus, &host, nullptr, CL_NoCell, 0, table, key, &images);
    sheet->SetEvaluator(&FakeEvaluate);
    sheet->SetSettingsKeyPath(keyPath);
    if (build) sheet->Build();
    return *sheet;
  }

  // The grid as drawn, in grid viewport coordinates.
  QImage Picture() {
    host.show();
    QApplication::processEvents();
    return sheet->Grid()->viewport()->grab().toImage();
  }

  QRect Cell(int column, int row) const { return sheet->Grid()->CellRect(column, row); }

  platform::ScopedVirtualTime time;
  cmcEvMan bus;
  cmcGTex table;
  cuiImageList images{QSize(16, 16)};
  std::string keyPath;
  QWidget host;
  std::unique_ptr<cuiSheet> sheet;
};

// How many pixels of rect have exactly colour.
inline int CountColour(const QImage& image, const QRect& rect, const QColor& colour) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    for (int x = rect.left(); x <= rect.right(); ++x) {
      if (image.pixelColor(x, y).rgb() == colour.rgb()) ++n;
    }
  }
  return n;
}

}  // namespace uitest
