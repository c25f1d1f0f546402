// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory image: a byte-for-byte copy of the radio's EEPROM. Single byte
// access is range-checked and an address outside the image is a programming
// error that stops the program; block copies that do not fit are ignored, so
// callers that move whole areas need not check each one.

#include <cstdint>
#include <memory>

class cmcEeprom {
 public:
  cmcEeprom() = default;
  explicit cmcEeprom(int size) { SetSize(size); }
  // Copies behave like Assign, so an image can be kept aside by value.
  cmcEeprom(const cmcEeprom& other) { Assign(other); }
  cmcEeprom& operator=(const cmcEeprom& other) {
    if (this != &other) Assign(other);
    return *this;
  }
  ~cmcEeprom() = default;

  // Resizes when n differs and, whenever n > 0, zeroes every byte.
  void SetSize(int n);
  int Size() const { return size_; }
  bool IsValidAddress(int a) const { return a >= 0 && a < size_; }
  void Fill(std::uint8_t v);

  // Fatal outside the image.
  void SetByte(int a, std::uint8_t v);
  std::uint8_t GetByte(int a) const;

  // Little-endian 16-bit words through the same checks as the bytes.
  std::uint16_t GetWord(int a) const;
  void SetWord(int a, std::uint16_t v);

  // Ignored unless 0 <= a, n >= 1 and a + n <= size.
  void WriteBlock(int a, const void* src, int n);
  void ReadBlock(int a, void* dst, int n) const;

  void Assign(const cmcEeprom& other);
  bool Equals(const cmcEeprom& other) const;
  bool Differs(const cmcEeprom& other) const { return !Equals(other); }

  // Raw view of the bytes (nullptr while the size is 0), for bulk consumers
  // such as the protocol driver and hashing in tests.
  const std::uint8_t* Data() const { return bytes_.get(); }

 private:
  bool Fits(int a, int n) const { return a >= 0 && n >= 1 && a < size_ && n <= size_ - a; }

  int size_ = 0;
  std::unique_ptr<std::uint8_t[]> bytes_;
};
