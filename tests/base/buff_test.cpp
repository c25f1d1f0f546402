// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/buff.h"

#include <gtest/gtest.h>

#include <limits>
#include <numeric>
#include <vector>

#include "platform/fatal.h"

namespace {

std::vector<std::uint8_t> Bytes(const cmcBuff& b) { return {b.begin(), b.end()}; }

TEST(Buff, FreshAndClearedBufferOwnOneByte) {
  cmcBuff b;
  EXPECT_EQ(b.Size(), 0);
  EXPECT_EQ(b.Capacity(), 1);
  b.Append("abcdef", 6);
  b.Clear();
  EXPECT_EQ(b.Size(), 0);
  EXPECT_EQ(b.Capacity(), 1);
  EXPECT_EQ(b.PopFront(), -1);
}

TEST(Buff, GrowthTakesAQuarterOfTheCurrentLengthToSpare) {
  struct Case {
    int start;   // length before
    int resize;  // requested length
    int capacity;
  };
  const Case cases[] = {
      {0, 1, 1},        // the fresh block already fits one byte
      {0, 2, 2},        // 2 + 0/4
      {100, 101, 126},  // 101 + 100/4
      {7, 20, 21},      // 20 + 7/4
  };
  for (const Case& c : cases) {
    cmcBuff b;
    if (c.start > 0) {
      b.AppendFill(0xAA, c.start);
      b.Compact();  // capacity == start, so the next growth reallocates
    }
    b.Resize(c.resize);
    EXPECT_EQ(b.Capacity(), c.capacity) << c.start << " -> " << c.resize;
    EXPECT_EQ(b.Size(), c.resize);
    for (int i = 0; i < c.start; ++i) ASSERT_EQ(b[i], 0xAA);
    for (int i = c.start; i < c.resize; ++i) ASSERT_EQ(b[i], 0) << "grown byte " << i;
  }
}

TEST(Buff, ShrinkKeepsTheBlockAndRegrowShowsZeros) {
  cmcBuff b{1, 2, 3, 4, 5};
  const int capacity = b.Capacity();
  b.Resize(2);
  EXPECT_EQ(b.Capacity(), capacity);
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{1, 2}));
  b.Resize(0);
  EXPECT_EQ(b.Capacity(), capacity);
  b.Resize(2);
  b[0] = 1;
  b[1] = 2;
  b.Resize(5);
  // The bytes beyond the shrink are not resurrected.
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{1, 2, 0, 0, 0}));
}

TEST(Buff, AppendFormsAndAssign) {
  cmcBuff b;
  b.AppendByte(0xFE);
  b.Append("\x01\x02", 2);
  b.AppendFill(0x7F, 3);
  b.Append(cmcBuff{0xFD});
  b.Append(std::string_view("AB"));
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{0xFE, 1, 2, 0x7F, 0x7F, 0x7F, 0xFD, 'A', 'B'}));
  b.Assign("xyz", 3);
  EXPECT_EQ(b.ToString(), "xyz");
  b.Assign(nullptr, 0);
  EXPECT_TRUE(b.Empty());
}

TEST(Buff, AppendingItselfDoesNotReadFreedMemory) {
  cmcBuff b{1, 2, 3};
  b.Compact();  // the append must grow, so the source block is freed
  b.Append(b);
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{1, 2, 3, 1, 2, 3}));
  b.Append(b.Data() + 1, 2);
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{1, 2, 3, 1, 2, 3, 2, 3}));
  b.Assign(b.Data() + 6, 2);
  EXPECT_EQ(Bytes(b), (std::vector<std::uint8_t>{2, 3}));
}

TEST(Buff, QueueCompactsOnlyPastTheConsumedLimit) {
  cmcBuff b;
  std::vector<std::uint8_t> in(5000);
  std::iota(in.begin(), in.end(), 0);
  b.Append(in.data(), static_cast<int>(in.size()));
  const int capacity = b.Capacity();
  for (int i = 0; i < cmcBuff::kCompactAfter; ++i) ASSERT_EQ(b.PopFront(), i & 0xFF);
  // Exactly at the limit: only the read position moved.
  EXPECT_EQ(b.Consumed(), cmcBuff::kCompactAfter);
  EXPECT_EQ(b.Capacity(), capacity - cmcBuff::kCompactAfter);
  EXPECT_EQ(b.PopFront(), cmcBuff::kCompactAfter & 0xFF);
  // One past it: the live bytes moved to a block of their own size.
  EXPECT_EQ(b.Consumed(), 0);
  EXPECT_EQ(b.Size(), 5000 - cmcBuff::kCompactAfter - 1);
  EXPECT_EQ(b.Capacity(), b.Size());
  int expect = cmcBuff::kCompactAfter + 1;
  for (int v = b.PopFront(); v >= 0; v = b.PopFront()) ASSERT_EQ(v, expect++ & 0xFF);
  EXPECT_EQ(expect, 5000);
}

TEST(Buff, CompactOfEmptyKeepsOneByte) {
  cmcBuff b{9};
  EXPECT_EQ(b.PopFront(), 9);
  b.Compact();
  EXPECT_EQ(b.Capacity(), 1);
  b.AppendByte(4);
  EXPECT_EQ(b.PopFront(), 4);
}

TEST(Buff, CopyHoldsOnlyTheLiveBytes) {
  cmcBuff a{1, 2, 3, 4};
  a.PopFront();
  cmcBuff b(a);
  EXPECT_EQ(b, (cmcBuff{2, 3, 4}));
  EXPECT_EQ(b.Capacity(), 3);
  b[0] = 9;
  EXPECT_EQ(a[0], 2);  // separate storage
  cmcBuff c;
  c = a;
  EXPECT_EQ(c, a);
  cmcBuff d(std::move(c));
  EXPECT_EQ(d, a);
  EXPECT_TRUE(c.Empty());
  c.AppendByte(1);  // a moved-from buffer stays usable
  EXPECT_EQ(c.Size(), 1);
}

TEST(Buff, GrowingPastTheLargestLengthIsFatalNotAWildWrite) {
  cmcBuff b;
  b.AppendFill(0x11, 10);
  const int tooMany = std::numeric_limits<int>::max() - 5;
  EXPECT_THROW(b.AppendFill(0x22, tooMany), platform::FatalStop);
  const std::uint8_t byte = 0x33;
  // A source pointer that claims more bytes than an int can add.
  EXPECT_THROW(b.Append(&byte, tooMany), platform::FatalStop);
  EXPECT_EQ(b.Length(), 10);
}

TEST(Buff, IndexOutsideTheLiveBytesIsFatal) {
  cmcBuff b{1, 2, 3};
  b.PopFront();
  for (int index : {-1, 2, 3, 100}) {
    try {
      b.At(index);
      ADD_FAILURE() << "index " << index << " accepted";
    } catch (const platform::FatalStop& stop) {
      EXPECT_STREQ(stop.what(), "Out of cmcBuff element !");
    }
  }
  EXPECT_EQ(*b.At(1), 3);
  cmcBuff empty;
  EXPECT_THROW(empty[0], platform::FatalStop);
}

}  // namespace
