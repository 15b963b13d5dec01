#include "handle_table.hpp"

#include <gtest/gtest.h>

#include <cstring>

namespace foxhost {
namespace {

// A locked block resizes only in place, within what it holds, zeroing what it regains; locks
// nest; the limit bounds live bytes with no overflow in its check. (Allocation, moving resizes
// and double frees are driven through the host's handle services.)
TEST(HandleTable, LockedBlocksResizeInPlaceAndTheLimitBoundsLiveBytes) {
  HandleTable t(100);
  const FoxHandle h = t.allocate(8);
  std::memcpy(t.pointer(h), "abcdefgh", 8);
  ASSERT_TRUE(t.lock(h));
  ASSERT_TRUE(t.lock(h));
  const char *p = t.pointer(h);
  EXPECT_TRUE(t.resize(h, 3));
  EXPECT_TRUE(t.resize(h, 8));
  EXPECT_FALSE(t.resize(h, 9));
  EXPECT_EQ(t.pointer(h), p);
  EXPECT_EQ(std::memcmp(p, "abc\0\0\0\0\0", 8), 0);
  EXPECT_TRUE(t.unlock(h));
  EXPECT_EQ(t.counters().locked, 1u);
  EXPECT_TRUE(t.unlock(h));
  EXPECT_FALSE(t.unlock(h));
  EXPECT_EQ(t.allocate(93), 0u);
  const FoxHandle b = t.allocate(92);
  EXPECT_FALSE(t.resize(b, 93));
  EXPECT_EQ(t.size(b), 92u);
  EXPECT_EQ(t.liveBytes(), 100u);
  EXPECT_EQ(t.allocate(static_cast<size_t>(-1)), 0u);
  t.lock(b);
  t.release(b);  // freeing a locked block drops its lock
  EXPECT_EQ(t.counters().locked, 0u);
  EXPECT_FALSE(t.lock(b));
}

}  // namespace
}  // namespace foxhost
