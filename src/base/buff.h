// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's byte container: a growable array that doubles as a
// first-in first-out queue for the serial link. Reading from the front only
// moves the read position, and the consumed bytes are given back in one go
// once there are many of them, so a long radio exchange does not copy the
// queue on every byte it takes out.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

class cmcBuff {
 public:
  // Consumed bytes before the read position that trigger a compaction.
  static constexpr int kCompactAfter = 4096;

  cmcBuff();
  cmcBuff(const void* bytes, int n);
  cmcBuff(std::initializer_list<std::uint8_t> bytes);
  cmcBuff(const cmcBuff& other);
  cmcBuff(cmcBuff&& other) noexcept;
  cmcBuff& operator=(const cmcBuff& other);
  cmcBuff& operator=(cmcBuff&& other) noexcept;
  ~cmcBuff();

  int Size() const { return length_; }
  int Length() const { return length_; }
  bool Empty() const { return length_ == 0; }
  // Bytes usable from the read position to the end of the block.
  int Capacity() const { return capacity_; }
  // Bytes already taken from the front and not yet given back.
  int Consumed() const { return offset_; }

  std::uint8_t* Data() { return storage_.get() + offset_; }
  const std::uint8_t* Data() const { return storage_.get() + offset_; }
  std::uint8_t* begin() { return Data(); }
  std::uint8_t* end() { return Data() + length_; }
  const std::uint8_t* begin() const { return Data(); }
  const std::uint8_t* end() const { return Data() + length_; }
  std::string_view View() const {
    return {reinterpret_cast<const char*>(Data()), static_cast<std::size_t>(length_)};
  }
  std::string ToString() const { return std::string(View()); }

  // The live byte at index; an index outside 0 .. length-1 is fatal.
  std::uint8_t* At(int index);
  const std::uint8_t* At(int index) const;
  std::uint8_t& operator[](int index) { return *At(index); }
  const std::uint8_t& operator[](int index) const { return *At(index); }

  // Sets the length to n. Growing past the capacity takes a new block with a
  // quarter of the current length to spare; bytes gained by growing are 0.
  // Shrinking only lowers the length and keeps the block.
  void Resize(int n);
  void Assign(const void* bytes, int n);
  void Append(const void* bytes, int n);
  void Append(const cmcBuff& other);
  void Append(std::string_view text) { Append(text.data(), static_cast<int>(text.size())); }
  void AppendByte(std::uint8_t b);
  void AppendFill(std::uint8_t b, int n);

  // The first live byte (0..255), removed; -1 when empty.
  int PopFront();
  // Moves the live bytes to a block of exactly max(length, 1) bytes.
  void Compact();
  // Back to the fresh state: a 1-byte block, length 0.
  void Clear();

  friend bool operator==(const cmcBuff& a, const cmcBuff& b) { return a.View() == b.View(); }

 private:
  void Reallocate(int capacity);
  // Bytes gained by growing take this value.
  static constexpr std::uint8_t kFill = 0;

  std::unique_ptr<std::uint8_t[]> storage_;
  int offset_ = 0;  // read position within storage_
  int length_ = 0;
  int capacity_ = 0;  // from the read position to the end of the block
};
