// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a page reads from outside while it lays itself out. The owner fills
// it: the GUI from its settings and document, printing with its printer's
// numbers, the command-line tool from its options. Nothing here is global,
// so any number of pages can be laid out side by side.

#include <cstdint>

class cmcEeprom;

namespace platform {
class Canvas;
}

namespace layout {

struct PageContext {
  // The working image the plan switches and the listed channels come from;
  // none means no plan is switched on and every channel is listed.
  const cmcEeprom* image = nullptr;
  int modelType = 0;
  // The channel sheets show only the usable channels.
  bool usableView = false;
  // Status flags of the last clone information exchange.
  std::uint8_t infoStatus = 0;
  // Display font size in percent of the definitions' size.
  int fontPercentage = 100;

  bool printing = false;
  // Put into the basic cell font's height when not 0 (printing passes a
  // negative character height in printer pixels).
  int printFontSize = 0;
  // Printer dots per inch over screen dots per inch; scales every padding.
  double printScale = 1.0;

  // Where W and H captions are measured; none leaves sizes unmeasured.
  platform::Canvas* canvas = nullptr;
};

}  // namespace layout
