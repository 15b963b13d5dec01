// DEC_, HEX_, STOD, cstr, str_asc, adj_360, DELAY_MS and the window and object functions,
// called through foxhost.
#include <cmath>
#include <limits>

#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

using namespace std::string_literals;

const char *const kStrAscMessage =
    "Length passed to str_asc() is greater than the length of the string or 0 or negative.";

class Conversions : public VelalibHost {};

TEST_F(Conversions, PackedDecimal) {
  struct Case {
    const char *name;
    int32_t in, out;
  } cases[] = {{"DEC_", 0x25, 25}, {"DEC_", 0x99, 99}, {"DEC_", 0x123, 183}, {"DEC_", -0x25, -25},
               {"HEX_", 25, 0x25}, {"HEX_", 99, 153},  {"HEX_", 0, 0}};
  for (const Case &c : cases) {
    const Value v = call(c.name, {I(c.in)});
    EXPECT_EQ(v.type, 'I');
    EXPECT_EQ(v.integer, c.out) << c.name << "(" << c.in << ")";
    EXPECT_EQ(v.width, 10);
  }
}

TEST_F(Conversions, StodGivesJulianDayNumbers) {
  struct Case {
    const char *text;
    double day;
  } cases[] = {{"20000101", 2451545},
               {"20000301", 2451605},
               {"20000229", 2451604},
               {"19991231", 2451544},
               {"20000101xyz", 2451545}};
  for (const char *setting : {"AMERICAN", "BRITISH", "ANSI"}) {
    host_.execute("SET DATE "s + setting);
    for (const Case &c : cases) {
      const Value v = call("STOD", {T(c.text)});
      EXPECT_EQ(v.type, 'D');
      EXPECT_EQ(v.number, c.day) << c.text << " under " << setting;
    }
  }
}

TEST_F(Conversions, StodOfOtherTextIsTheEmptyDate) {
  for (const char *text : {"", "2000011", "2000-01-01", "abcdefgh", " 20000101"}) {
    const Value v = call("STOD", {T(text)});
    EXPECT_EQ(v.type, 'D');
    EXPECT_EQ(v.number, 0) << text;
  }
}

TEST_F(Conversions, CstrEndsAtNul) {
  EXPECT_EQ(text("cstr", {T("ab\0cd"s)}), "ab");
  EXPECT_EQ(text("cstr", {T("abcd")}), "abcd");
  EXPECT_EQ(text("cstr", {T("\0"s)}), "");
}

TEST_F(Conversions, StrAsc) {
  Value v = call("str_asc", {T("ABC"), I(1)});
  EXPECT_EQ(v.type, 'I');
  EXPECT_EQ(v.integer, 65);
  EXPECT_EQ(v.width, 3);
  EXPECT_EQ(call("str_asc", {T("ABC"), I(3)}).integer, 67);
  EXPECT_EQ(call("str_asc", {T("\xFF"), I(1)}).integer, 255);
  EXPECT_EQ(call("str_asc", {T("a\0b"s), I(2)}).integer, 0);
  for (int32_t position :
       {0, -1, 4, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()}) {
    const foxhost::HostError e = errorOf("str_asc", {T("ABC"), I(position)});
    EXPECT_EQ(e.number(), 1098) << position;
    EXPECT_STREQ(e.what(), kStrAscMessage) << position;
  }
  EXPECT_EQ(errorOf("str_asc", {T(""), I(1)}).number(), 1098);
}

TEST_F(Conversions, Adj360) {
  struct Case {
    double in, out;
  } cases[] = {{-30, 330}, {720, 360}, {360, 360}, {0, 0}, {-360, 0}, {725.5, 5.5}, {1e6, 280}};
  for (const Case &c : cases) {
    const Value v = call("adj_360", {N(c.in)});
    EXPECT_EQ(v.type, 'N');
    EXPECT_DOUBLE_EQ(v.number, c.out) << c.in;
    EXPECT_EQ(v.width, 10);
    EXPECT_EQ(v.decimals, 6u);
  }
  EXPECT_DOUBLE_EQ(call("adj_360", {I(-90)}).number, 270);  // an integer is taken as a number
  const double huge = call("adj_360", {N(1e308)}).number;
  EXPECT_TRUE(huge >= 0 && huge <= 360);
  EXPECT_TRUE(std::isnan(call("adj_360", {N(std::numeric_limits<double>::infinity())}).number));
  EXPECT_TRUE(std::isnan(call("adj_360", {N(std::nan(""))}).number));
}

TEST_F(Conversions, DelayMsSpinsOnTheHostClock) {
  for (int32_t wait : {1, 25, 1000}) {
    const uint64_t before = host_.nowMillis();
    const Value v = call("DELAY_MS", {I(wait)});
    EXPECT_EQ(v.type, 0) << "DELAY_MS sets no result";
    const uint64_t elapsed = host_.nowMillis() - before;
    EXPECT_GE(elapsed, static_cast<uint64_t>(wait));
    EXPECT_LE(elapsed, static_cast<uint64_t>(wait) + 2);
  }
}

TEST_F(Conversions, DelayMsOfZeroOrLessReturnsAtOnce) {
  for (int32_t wait : {0, -1, std::numeric_limits<int32_t>::min()}) {
    const uint64_t before = host_.nowMillis();
    call("DELAY_MS", {I(wait)});
    EXPECT_LE(host_.nowMillis() - before, 1u) << wait;
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

class Windows : public VelalibHost {};

TEST_F(Windows, HandlesOfTheMainWindowAndOfForms) {
  const Value main = call("main_hwnd");
  EXPECT_EQ(main.type, 'I');
  EXPECT_EQ(main.width, 10);
  EXPECT_EQ(main.integer, host_.systemWindow(host_.mainWindow()));
  EXPECT_NE(main.integer, 0);

  const uint32_t form = host_.createObject("form");
  const Value window = call("get_wh", {Value::Object(form)});
  const Value client = call("get_client_wh", {Value::Object(form)});
  const Value system = call("get_hwnd", {Value::Object(form)});
  EXPECT_EQ(window.integer, host_.objectWindow(form, false));
  EXPECT_EQ(client.integer, host_.objectWindow(form, true));
  EXPECT_NE(window.integer, 0);
  EXPECT_NE(client.integer, window.integer);
  EXPECT_EQ(system.integer, host_.systemWindow(window.integer));
  EXPECT_NE(system.integer, window.integer);
}

TEST_F(Windows, PutStrMovesOnlyWithBothPositions) {
  const int32_t main = host_.mainWindow();
  call("w_putstr", {I(main), T("first")});
  EXPECT_EQ(host_.windowText(main), "first");
  // Third argument is the column, fourth the row.
  call("w_putstr", {I(main), T("xy\0hidden"s), I(3), I(2)});
  EXPECT_EQ(host_.windowText(main), "first\n\n   xy");
  call("w_putstr", {I(main), T("!"), I(0)});  // one position only: no move
  EXPECT_EQ(host_.windowText(main), "first\n\n   xy!");
}

TEST_F(Windows, PutStrToAnUnknownWindowIsAnError) {
  EXPECT_NE(errorOf("w_putstr", {I(999), T("x")}).number(), 0);
}

TEST_F(Windows, NewPropAddsOrSets) {
  const uint32_t form = host_.createObject("form");
  Value v = call("NEW_PROP", {Value::Object(form), T("Callsign\0junk"s), T("W1AW")});
  EXPECT_EQ(v.type, 'I');
  EXPECT_EQ(v.width, 10);
  EXPECT_EQ(v.integer, 1);
  EXPECT_EQ(host_.property(form, "Callsign").text, "W1AW");
  call("NEW_PROP", {Value::Object(form), T("Callsign"), I(73)});
  EXPECT_EQ(host_.property(form, "Callsign").integer, 73);
  call("NEW_PROP", {Value::Object(form), T("When"), Value::Date(2451545)});
  EXPECT_EQ(host_.property(form, "When").number, 2451545);
}

}  // namespace
}  // namespace velalib::testing
