// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The channel record view: one channel of one category, unpacked from the
// image into plain fields and packed back. Everything that edits, copies or
// checks a channel goes through it, so the forced bits and the P/C words are
// handled in one place.

#include <array>
#include <cstdint>
#include <string>

class cmcEeprom;

class datCh {
 public:
  // Attribute-channel flags.
  static constexpr unsigned kAcP = 0x01;
  static constexpr unsigned kAcC = 0x02;
  // Channel attributes.
  static constexpr unsigned kAtInhibit = 0x01;
  static constexpr unsigned kAtTag = 0x02;
  static constexpr unsigned kAtTxInhibit = 0x04;
  static constexpr unsigned kAtPoc = 0x08;
  static constexpr unsigned kAtSimplex = 0x10;
  // State bits.
  static constexpr unsigned kStInUse = 0x01;
  static constexpr unsigned kStRxUnset = 0x02;
  static constexpr unsigned kStTxUnset = 0x04;

  datCh() { Clear(); }
  explicit datCh(cmcEeprom* image) : datCh() { Bind(image); }

  void Bind(cmcEeprom* image) { image_ = image; }
  cmcEeprom* Image() const { return image_; }

  // Everything zero but the binding; the channel counts as in use.
  void Clear();
  // A channel with nothing in it: not in use, both frequencies unset.
  void Blank();

  // Loads (category, index) of the bound image. An index outside the
  // category, or no bound image, leaves a cleared view with the key set.
  void Load(unsigned category, int index);
  // Writes the view back. Invalid keys and unknown categories write nothing.
  void Store();
  // Store, then load again, so the view shows what the image really holds.
  void Reload();

  // True when (category, index) names a channel this view can load.
  static bool IsValidKey(unsigned category, int index);
  // A plan channel whose simplex attribute the radio fixes, whatever its
  // channel byte says.
  static bool ForcedSimplex(int index);

  std::string NameText() const { return std::string(name.data(), name.size()); }
  // Takes up to three characters, padding with spaces.
  void SetName(const std::string& text);

  unsigned category = 0;
  int index = 0;
  unsigned acFlags = 0;
  unsigned attr = 0;
  unsigned state = kStInUse;
  std::uint32_t rxHz = 0;
  std::uint32_t txHz = 0;
  std::array<char, 3> name{};

 private:
  void LoadPlan(int slot);
  void StorePlan(int slot);
  void LoadWeather();
  void StoreWeather();
  void LoadFree();
  void StoreFree();

  cmcEeprom* image_ = nullptr;
};

// Receive and transmit codes of a free channel record, as the radio counts
// them: receive from 21.7 MHz, transmit from 0 Hz, in 12.5 kHz steps unless
// the frequency needs the 6.25 kHz step.
struct FreeChannelCode {
  std::uint16_t code;
  bool fine;  // 6.25 kHz step
};
FreeChannelCode EncodeFreeRx(std::uint32_t hz);
FreeChannelCode EncodeFreeTx(std::uint32_t hz);
std::uint32_t DecodeFreeRx(std::uint16_t code, bool fine);
std::uint32_t DecodeFreeTx(std::uint16_t code, bool fine);
