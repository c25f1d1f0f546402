// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/buff.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <vector>

#include "platform/fatal.h"

cmcBuff::cmcBuff() { Clear(); }

cmcBuff::cmcBuff(const void* bytes, int n) {
  Clear();
  Assign(bytes, n);
}

cmcBuff::cmcBuff(std::initializer_list<std::uint8_t> bytes) {
  Clear();
  Assign(bytes.begin(), static_cast<int>(bytes.size()));
}

cmcBuff::cmcBuff(const cmcBuff& other) {
  Reallocate(std::max(other.length_, 1));
  std::memcpy(storage_.get(), other.Data(), static_cast<std::size_t>(other.length_));
  length_ = other.length_;
}

cmcBuff::cmcBuff(cmcBuff&& other) noexcept
    : storage_(std::move(other.storage_)),
      offset_(other.offset_),
      length_(other.length_),
      capacity_(other.capacity_) {
  // A moved-from buffer stays usable: give it a fresh block.
  other.storage_.reset(new std::uint8_t[1]{kFill});
  other.offset_ = 0;
  other.length_ = 0;
  other.capacity_ = 1;
}

cmcBuff& cmcBuff::operator=(const cmcBuff& other) {
  if (this != &other) {
    cmcBuff copy(other);
    *this = std::move(copy);
  }
  return *this;
}

cmcBuff& cmcBuff::operator=(cmcBuff&& other) noexcept {
  if (this != &other) {
    storage_ = std::move(other.storage_);
    offset_ = other.offset_;
    length_ = other.length_;
    capacity_ = other.capacity_;
    other.storage_.reset(new std::uint8_t[1]{kFill});
    other.offset_ = 0;
    other.length_ = 0;
    other.capacity_ = 1;
  }
  return *this;
}

cmcBuff::~cmcBuff() = default;

std::uint8_t* cmcBuff::At(int index) {
  if (index < 0 || index >= length_) platform::Fatal("Out of cmcBuff element !");
  return Data() + index;
}

const std::uint8_t* cmcBuff::At(int index) const {
  if (index < 0 || index >= length_) platform::Fatal("Out of cmcBuff element !");
  return Data() + index;
}

void cmcBuff::Reallocate(int capacity) {
  std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[static_cast<std::size_t>(capacity)]);
  std::memset(block.get(), kFill, static_cast<std::size_t>(capacity));
  if (storage_)
    std::memcpy(block.get(), Data(), static_cast<std::size_t>(std::min(length_, capacity)));
  storage_ = std::move(block);
  offset_ = 0;
  capacity_ = capacity;
}

namespace {
// A length past what an int holds can only come from a caller's arithmetic
// gone wrong; growing on would write past the block.
int GrownLength(int length, int n) {
  if (n > std::numeric_limits<int>::max() - length) platform::Fatal("Out of cmcBuff element !");
  return length + n;
}
}  // namespace

void cmcBuff::Resize(int n) {
  n = std::max(n, 0);
  if (n > capacity_) {
    const long long wanted = static_cast<long long>(n) + length_ / 4;
    Reallocate(static_cast<int>(std::min<long long>(wanted, std::numeric_limits<int>::max())));
  }
  // Bytes between the old and the new length may still hold what a
  // shrink left behind; growing always shows the fill value.
  if (n > length_) std::memset(Data() + length_, kFill, static_cast<std::size_t>(n - length_));
  length_ = n;
}

void cmcBuff::Assign(const void* bytes, int n) {
  if (n <= 0 || bytes == nullptr) {
    Resize(0);
    return;
  }
  // The source may lie inside this buffer, which Resize may free.
  const std::vector<std::uint8_t> copy(static_cast<const std::uint8_t*>(bytes),
                                       static_cast<const std::uint8_t*>(bytes) + n);
  Resize(0);
  Resize(n);
  std::memcpy(Data(), copy.data(), copy.size());
}

void cmcBuff::Append(const void* bytes, int n) {
  if (n <= 0 || bytes == nullptr) return;
  const auto* src = static_cast<const std::uint8_t*>(bytes);
  const std::uint8_t* block = storage_.get();
  const bool inside = src >= block && src < block + offset_ + capacity_;
  if (inside) {
    // Appending a part of itself: copy first, since growing frees the block.
    const std::vector<std::uint8_t> copy(src, src + n);
    Append(copy.data(), n);
    return;
  }
  const int old = length_;
  Resize(GrownLength(old, n));
  std::memcpy(Data() + old, src, static_cast<std::size_t>(n));
}

void cmcBuff::Append(const cmcBuff& other) { Append(other.Data(), other.length_); }

void cmcBuff::AppendByte(std::uint8_t b) {
  const int old = length_;
  Resize(old + 1);
  Data()[old] = b;
}

void cmcBuff::AppendFill(std::uint8_t b, int n) {
  if (n <= 0) return;
  const int old = length_;
  Resize(GrownLength(old, n));
  std::memset(Data() + old, b, static_cast<std::size_t>(n));
}

int cmcBuff::PopFront() {
  if (length_ == 0) return -1;
  const int b = Data()[0];
  ++offset_;
  --length_;
  --capacity_;
  if (offset_ > kCompactAfter) Compact();
  return b;
}

void cmcBuff::Compact() { Reallocate(std::max(length_, 1)); }

void cmcBuff::Clear() {
  storage_.reset(new std::uint8_t[1]{kFill});
  offset_ = 0;
  length_ = 0;
  capacity_ = 1;
}
