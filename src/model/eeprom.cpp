// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/eeprom.h"

#include <algorithm>
#include <cstring>

#include "platform/fatal.h"

void cmcEeprom::SetSize(int n) {
  if (n < 0) n = 0;
  if (n != size_) {
    bytes_.reset();
    size_ = n;
    if (n > 0) bytes_ = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(n));
  }
  if (n > 0) std::memset(bytes_.get(), 0, static_cast<std::size_t>(n));
}

void cmcEeprom::Fill(std::uint8_t v) {
  if (bytes_) std::memset(bytes_.get(), v, static_cast<std::size_t>(size_));
}

void cmcEeprom::SetByte(int a, std::uint8_t v) {
  if (!IsValidAddress(a)) platform::Fatal("Out of EEPROM image address (SetByte).");
  bytes_[static_cast<std::size_t>(a)] = v;
}

std::uint8_t cmcEeprom::GetByte(int a) const {
  if (!IsValidAddress(a)) platform::Fatal("Out of EEPROM image address (GetByte).");
  return bytes_[static_cast<std::size_t>(a)];
}

std::uint16_t cmcEeprom::GetWord(int a) const {
  const std::uint16_t low = GetByte(a);
  return static_cast<std::uint16_t>(low | (GetByte(a + 1) << 8));
}

void cmcEeprom::SetWord(int a, std::uint16_t v) {
  // Check both ends first so that a word straddling the end changes nothing.
  if (!IsValidAddress(a + 1)) platform::Fatal("Out of EEPROM image address (SetByte).");
  SetByte(a, static_cast<std::uint8_t>(v & 0xFF));
  SetByte(a + 1, static_cast<std::uint8_t>(v >> 8));
}

void cmcEeprom::WriteBlock(int a, const void* src, int n) {
  if (!Fits(a, n) || src == nullptr) return;
  std::memmove(bytes_.get() + a, src, static_cast<std::size_t>(n));
}

void cmcEeprom::ReadBlock(int a, void* dst, int n) const {
  if (!Fits(a, n) || dst == nullptr) return;
  std::memmove(dst, bytes_.get() + a, static_cast<std::size_t>(n));
}

void cmcEeprom::Assign(const cmcEeprom& other) {
  if (this == &other) return;
  SetSize(other.size_);
  if (size_ > 0) std::memcpy(bytes_.get(), other.bytes_.get(), static_cast<std::size_t>(size_));
}

bool cmcEeprom::Equals(const cmcEeprom& other) const {
  if (size_ != other.size_) return false;
  if (size_ == 0) return true;
  return std::equal(bytes_.get(), bytes_.get() + size_, other.bytes_.get());
}
