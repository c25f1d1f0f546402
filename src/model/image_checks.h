// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The two tests an image must pass before the program takes it: the maker
// signature (images read from the radio) and the model byte (files).

class cmcEeprom;

// The 8 bytes at the signature address spell "Zelm Inc".
bool HasMakerSignature(const cmcEeprom& image);

// The model byte is a model type the program supports (0..12).
bool ModelByteAcceptable(const cmcEeprom& image);
