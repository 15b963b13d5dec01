// Key reading: the scripted queue on the virtual clock.
#include "host_test_support.hpp"

namespace foxhost {
namespace {

using testing::HostTest;

class Keys : public HostTest {};

TEST_F(Keys, AKeyBecomesReadableAtItsTime) {
  ASSERT_NE(host.virtualClock(), nullptr);
  host.queueKey(5, 100);
  host.queueKey(24, 50);  // queued later but due earlier
  EXPECT_EQ(host.pendingKeys(), 2u);
  EXPECT_EQ(host.call("READKEY", {}).integer, 0);  // nothing due yet
  // The library spins on the shared clock; the key shows when virtual time reaches 50 ms.
  EXPECT_EQ(host.call("WAITKEY", {Value::Integer(1000)}).text, "24@50");
  EXPECT_EQ(host.nowMillis(), 50u);
  EXPECT_EQ(host.call("WAITKEY", {Value::Integer(1000)}).text, "5@50");
  EXPECT_EQ(host.pendingKeys(), 0u);
  EXPECT_EQ(host.call("WAITKEY", {Value::Integer(30)}).text, "none");
  EXPECT_GE(host.nowMillis(), 130u);
}

TEST_F(Keys, KeysOfTheSameTimeKeepTheirOrder) {
  host.queueKey(65);
  host.queueKey(66);
  host.queueKey(67);
  EXPECT_EQ(host.call("READKEY", {}).integer, 65);
  EXPECT_EQ(host.call("READKEY", {}).integer, 66);
  EXPECT_EQ(host.call("READKEY", {}).integer, 67);
  EXPECT_EQ(host.call("READKEY", {}).integer, 0);
}

TEST_F(Keys, VirtualTimeAdvancesOnlyWhileLibrariesReadIt) {
  const uint64_t t0 = host.nowMillis();
  EXPECT_EQ(host.nowMillis(), t0);  // the host's own reads do not move it
  const Value first = host.call("CLOCKMS", {});
  const Value second = host.call("CLOCKMS", {});
  EXPECT_DOUBLE_EQ(second.number - first.number, 0);  // 100 us per read: same millisecond
  host.virtualClock()->nowMicros += 5000;
  EXPECT_EQ(host.nowMillis(), t0 + 5);
}

TEST_F(Keys, WaitWindowWaitsForTheNextKey) {
  host.queueKey(13, 500);
  host.execute("WAIT WINDOW 'Press a key...'");
  EXPECT_EQ(host.pendingKeys(), 0u);
  EXPECT_EQ(host.nowMillis(), 500u);  // virtual time jumped to the key
  EXPECT_EQ(host.waitWindowText(), "");
  host.queueKey(32, 600);
  host.execute("WAIT WINDOW 'no wait' NOWAIT");
  EXPECT_EQ(host.pendingKeys(), 1u);
}

TEST_F(Keys, WaitingForAKeyJumpsToItAndEndsWhenNoneCanCome) {
  host.queueKey(5, 100);
  FoxServiceArgs wait{};
  wait.code = FOX_WAIT_KEY;
  ASSERT_EQ(host.service(wait), 0);
  EXPECT_EQ(wait.result, FOX_KEY_READY);
  EXPECT_EQ(host.nowMillis(), 100u);
  EXPECT_EQ(host.call("READKEY", {}).integer, 5);
  ASSERT_EQ(host.service(wait), 0);
  EXPECT_EQ(wait.result, FOX_KEY_INPUT_ENDED);  // no key source behind the queue
  FoxServiceArgs stop{};
  stop.code = FOX_STOP_REQUESTED;
  ASSERT_EQ(host.service(stop), 0);
  EXPECT_EQ(stop.result, 0);
}

TEST(KeysRealClock, KeyDueNowIsReadAtOnce) {
  Host host;
  host.loadLibrary(testing::libraryPath("foxtestlib"));
  EXPECT_EQ(host.virtualClock(), nullptr);
  host.queueKey(27);
  EXPECT_EQ(host.call("READKEY", {}).integer, 27);
  host.queueKey(1, host.nowMillis() + 3600 * 1000);
  EXPECT_EQ(host.call("READKEY", {}).integer, 0);
}

}  // namespace
}  // namespace foxhost
