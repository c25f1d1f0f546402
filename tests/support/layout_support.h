// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pages of the small layout overlay, laid out under a context the test
// fills, with a canvas whose text is 7 pixels a character and 13 a line.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "layout/page_layout.h"
#include "model/eeprom.h"
#include "model/memory_map.h"
#include "platform/canvas.h"
#include "support/fixed_pitch_canvas.h"
#include "text/gtex.h"

namespace layouttest {

using testsupport::FixedPitchCanvas;

class PageTest : public ::testing::Test {
 protected:
  PageTest() : image(memmap::kImageSize) {
    table.Bind(SEACLONE_TEST_DATA "/layout/pages.ovl");
    context.image = &image;
    context.canvas = &canvas;
  }

  layout::PageLayout& Page(const std::string& key) {
    page = std::make_unique<layout::PageLayout>(table, key, context);
    page->Layout();
    return *page;
  }

  std::vector<int> Numbers(int column) const {
    std::vector<int> numbers;
    for (int r = 0; r < page->RowCount(); ++r)
      numbers.push_back(page->CellAt(column, r).cell.Number());
    return numbers;
  }
  std::vector<std::string> Captions(int column) const {
    std::vector<std::string> captions;
    for (int r = 0; r < page->RowCount(); ++r)
      captions.push_back(page->CellAt(column, r).cell.Caption());
    return captions;
  }

  cmcGTex table;
  cmcEeprom image;
  FixedPitchCanvas canvas;
  layout::PageContext context;
  std::unique_ptr<layout::PageLayout> page;
};

}  // namespace layouttest
