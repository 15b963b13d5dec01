// DEC_, HEX_, STOD, cstr, str_asc, adj_360 and DELAY_MS through foxhost: the rules are tabled on
// the pure functions; here the results come back with their types and widths.
#include <limits>

#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

using namespace std::string_literals;

class Conversions : public VelalibHost {};

TEST_F(Conversions, Results) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char *name;
    std::vector<Value> args;
    Value result;
  } cases[] = {
      {"DEC_", {I(0x25)}, I(25)},
      {"DEC_", {I(-0x25)}, I(-25)},
      {"HEX_", {I(99)}, I(153)},
      {"STOD", {T("20000229")}, Value::Date(2451604)},
      {"STOD", {T("20000101xyz")}, Value::Date(2451545)},
      {"STOD", {T("2000-01-01")}, Value::Date(0)},
      {"STOD", {T("")}, Value::Date(0)},
      {"cstr", {T("ab\0cd"s)}, T("ab")},
      {"cstr", {T("\0"s)}, T("")},
      {"str_asc", {T("ABC"), I(1)}, I(65, 3)},
      {"str_asc", {T("ABC"), I(3)}, I(67, 3)},
      {"str_asc", {T("\xFF"), I(1)}, I(255, 3)},
      {"str_asc", {T("a\0b"s), I(2)}, I(0, 3)},
      {"adj_360", {N(-30)}, Value::Number(330, 10, 6)},
      {"adj_360", {N(720)}, Value::Number(360, 10, 6)},
      {"adj_360", {N(1e6)}, Value::Number(280, 10, 6)},
      {"adj_360", {I(-90)}, Value::Number(270, 10, 6)},  // an integer is taken as a number
      {"adj_360", {N(std::numeric_limits<double>::infinity())}, Value::Number(nan, 10, 6)},
  };
  for (const auto &c : cases) expectResult(c.name, c.args, c.result);
}

TEST_F(Conversions, StodIgnoresTheDateSetting) {
  for (const char *setting : {"BRITISH", "ANSI"}) {
    host_.execute("SET DATE "s + setting);
    expectResult("STOD", {T("20000229")}, Value::Date(2451604));
  }
}

TEST_F(Conversions, StrAscOutsideTheTextIsAnError) {
  const std::string message =
      "Length passed to str_asc() is greater than the length of the string or 0 or negative.";
  for (int32_t position :
       {0, -1, 4, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    expectError("str_asc", {T("ABC"), I(position)}, 1098, message);
  }
  expectError("str_asc", {T(""), I(1)}, 1098);
}

TEST_F(Conversions, DelayMsSpinsOnTheHostClockForThatLong) {
  for (const int32_t wait : {1, 1000, 0, -1, std::numeric_limits<int32_t>::min()}) {
    const uint64_t before = host_.nowMillis();
    EXPECT_EQ(call("DELAY_MS", {I(wait)}).type, 0) << "DELAY_MS sets no result";
    const uint64_t elapsed = host_.nowMillis() - before;
    const uint64_t expected = wait > 0 ? static_cast<uint64_t>(wait) : 0;
    EXPECT_GE(elapsed, expected) << wait;
    EXPECT_LE(elapsed, expected + (wait > 0 ? 2 : 1)) << wait;
  }
}

TEST_F(Conversions, DelayMsAcrossTheTickCounterWrap) {
  // Put the virtual clock 5 ms before the 32-bit millisecond counter wraps.
  FoxVirtualClock *clock = host_.virtualClock();
  ASSERT_NE(clock, nullptr);
  clock->nowMicros = (uint64_t{1} << 32) * 1000 - 5000;
  const uint64_t before = host_.nowMillis();
  call("DELAY_MS", {I(20)});
  const uint64_t elapsed = host_.nowMillis() - before;
  EXPECT_GE(elapsed, 20u);
  EXPECT_LE(elapsed, 22u);
}

}  // namespace
}  // namespace velalib::testing
