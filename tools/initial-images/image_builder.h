// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lays the tables out as the initial image of one model type.

#include "model/eeprom.h"
#include "tables.h"

namespace initial {

// The full image of model m, with every value that normalisation derives
// within the file range (000-CEF) already in place, so that the image reads
// back from its file and survives normalisation unchanged.
cmcEeprom BuildInitialImage(const Tables& tables, const Model& model);

}  // namespace initial
