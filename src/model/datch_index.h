// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a channel index of a plan reads on the radio and on a channel sheet:
// classic numbers with their A variant, the four-digit simplex channels and
// the free channels by name.

#include <string>

class cmcEeprom;

// Four-digit channel number (1001..1028, 1060..1088, 2001..2028, 2060..2088)
// of an index 234..347; 0 for any other index.
int FourDigitChannel(int index);

// The index of a four-digit channel number, or -1 when it has none.
int FourDigitIndex(int number);

// The text of a channel index: "16  ", "0A", "1001", or a free channel's
// three-character name and a space (read from image). Empty outside 0..417.
std::string ChannelIndexText(const cmcEeprom& image, int index);
