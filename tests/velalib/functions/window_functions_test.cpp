// main_hwnd, get_wh, get_client_wh, get_hwnd, w_putstr and NEW_PROP through foxhost.
#include "host_fixture.hpp"

namespace velalib::testing {
namespace {

using namespace std::string_literals;

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
