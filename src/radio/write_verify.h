// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Verify after write: the image read back from the radio against the copy
// that was sent. Only the bytes a read returns can be compared; the extra
// block lies beyond them and goes unchecked.

#include <optional>
#include <string>

#include "model/addr_range.h"

class cmcEeprom;

namespace verify {

// The first address within written (and within what a read returns) whose
// byte differs between sent and readBack; none when they agree.
std::optional<int> FirstDifference(const cmcEeprom& sent, const cmcEeprom& readBack,
                                   const clsAddrRangeList& written);

// Where address lies, in the words of the pages: the channel page and entry
// of a channel byte, the free channel of a free channel record, else the
// area of the memory that holds it. A channel byte of a plan whose page the
// tree does not show for image (of model type model) is said to be on no
// page of this model, rather than named by a page the user cannot open.
std::string PlaceOf(int address, const cmcEeprom& image, int model);

// Whether the tree shows the channel page of plan slot (0 USA, 1 INT,
// 2 CAN, 3 SUV) for image of model type model.
bool PlanPageShown(int slot, const cmcEeprom& image, int model);

// The message of a failed verification at address; image and model are
// those of the write.
std::string FailureText(int address, int sent, int readBack, const cmcEeprom& image, int model);

}  // namespace verify
