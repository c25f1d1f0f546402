// SPDX-License-Identifier: GPL-3.0-or-later
#include "layout/chooser_capture.h"

namespace layout {

void ChooserCapture::OpenChooser(const cmcCellCapsule& capsule, const std::string& listKey, int) {
  list = listKey;
  opener = capsule;
}

}  // namespace layout
