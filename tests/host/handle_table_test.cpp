#include "handle_table.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace foxhost {
namespace {

TEST(HandleTable, AllocateResizeFreeAndCounters) {
  HandleTable t;
  const FoxHandle a = t.allocate(4);
  const FoxHandle b = t.allocate(0);
  ASSERT_TRUE(a && b && a != b);
  EXPECT_NE(t.pointer(b), nullptr);  // an empty block still has a real pointer
  std::memcpy(t.pointer(a), "abcd", 4);
  const char *before = t.pointer(a);
  ASSERT_TRUE(t.resize(a, 8));  // an unlocked block moves, keeping its bytes, new ones zero
  EXPECT_NE(t.pointer(a), before);
  EXPECT_EQ(std::memcmp(t.pointer(a), "abcd\0\0\0\0", 8), 0);
  ASSERT_TRUE(t.resize(a, 2));
  EXPECT_EQ(t.size(a), 2u);
  EXPECT_TRUE(t.release(a));
  EXPECT_FALSE(t.release(a));  // a double free is refused, not counted
  EXPECT_EQ(t.counters().allocated, 2u);
  EXPECT_EQ(t.counters().freed, 1u);
  EXPECT_EQ(t.counters().live, 1u);
  EXPECT_FALSE(t.contains(a));
  EXPECT_EQ(t.pointer(a), nullptr);
  EXPECT_FALSE(t.size(a).has_value());
  EXPECT_NE(t.allocate(1), a);  // numbers are not reused
}

TEST(HandleTable, LockedBlockNeverMovesAndLocksNest) {
  HandleTable t;
  const FoxHandle h = t.allocate(8);
  ASSERT_TRUE(t.lock(h));
  ASSERT_TRUE(t.lock(h));
  EXPECT_EQ(t.counters().locked, 1u);
  const char *p = t.pointer(h);
  EXPECT_TRUE(t.resize(h, 3));  // fits in place
  EXPECT_EQ(t.pointer(h), p);
  EXPECT_TRUE(t.resize(h, 8));
  EXPECT_FALSE(t.resize(h, 9));  // would have to move
  EXPECT_EQ(t.size(h), 8u);
  EXPECT_TRUE(t.unlock(h));
  EXPECT_EQ(t.counters().locked, 1u);
  EXPECT_TRUE(t.unlock(h));
  EXPECT_FALSE(t.unlock(h));  // not locked any more
  EXPECT_TRUE(t.resize(h, 9));
  t.lock(h);
  t.release(h);  // freeing a locked block drops its lock
  EXPECT_EQ(t.counters().locked, 0u);
  EXPECT_FALSE(t.lock(h));
}

TEST(HandleTable, LimitBoundsAllocationAndGrowth) {
  HandleTable t(100);
  const FoxHandle a = t.allocate(60);
  ASSERT_NE(a, 0u);
  EXPECT_EQ(t.allocate(41), 0u);
  const FoxHandle b = t.allocate(40);
  ASSERT_NE(b, 0u);
  EXPECT_FALSE(t.resize(b, 41));  // the block is kept as it was
  EXPECT_EQ(t.size(b), 40u);
  t.release(a);
  EXPECT_TRUE(t.resize(b, 100));
  EXPECT_EQ(t.liveBytes(), 100u);
  EXPECT_EQ(t.allocate(static_cast<size_t>(-1)), 0u);  // no overflow in the check
}

}  // namespace
}  // namespace foxhost
