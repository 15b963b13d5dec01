// Every host-callable function through foxhost: texts whole, typed results, the host's errors.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <limits>

#include "host_fixture.hpp"
#include "pe_builder.hpp"

namespace velalib::testing {
namespace {

using namespace std::string_literals;

constexpr int32_t kUserError = 1098;
constexpr int32_t kNoMemory = 182;

class Functions : public VelalibHost {};

TEST_F(Functions, Results) {
  const std::string tagged = "N=  -42abc| F=-12.5e1x| Y=Yes| T=True| y=yes| E=| X=7|";
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    const char *name;
    std::vector<Value> args;
    Value result;
  } cases[] = {
      {"MAKE_TAG", {T("CALL="), T("  W1AW \t")}, T("CALL=W1AW|")},
      {"MAKE_TAG", {T("CALL="), T("\xA0x\x01")}, T("CALL=\xA0x|")},  // 160 is not a control
      {"MAKE_TAG", {T("CALL="), T("   ")}, T("")},
      {"MAKE_TAG", {T("CALL="), T("")}, T("")},
      {"TAG_VAL", {T("QTH="), T("CALL=W1AW| QTH=Newington|")}, T("Newington")},
      {"TAG_VAL", {T("K="), T("K=\x01\xFF|"s), T("C")}, T("\x01\xFF"s)},
      {"TAG_FLD", {T("K="), T("K=\x01\xFF|"s)}, T("K=\x01\xFF|"s)},
      {"TAG_VAL", {T("N="), T(tagged), T("I")}, I(-42, 12)},
      {"TAG_VAL", {T("E="), T(tagged), T("I")}, I(0, 12)},
      {"TAG_VAL", {T("X="), T(tagged), T("Integer")}, I(7, 12)},  // the first letter counts
      {"TAG_VAL", {T("F="), T(tagged), T("F")}, Value::Number(-125.0, 20, 8)},
      {"TAG_VAL", {T("Y="), T(tagged), T("L")}, Value::Logical(true)},
      {"TAG_VAL", {T("T="), T(tagged), T("L")}, Value::Logical(true)},
      {"TAG_VAL", {T("y="), T(tagged), T("L")}, Value::Logical(false)},  // lower-case "y"
      {"TAG_VAL", {T("E="), T(tagged), T("L")}, Value::Logical(false)},
      {"GET_ITEM", {T("|,"), T("a||b,c|d"), I(3)}, T("b,c")},  // the delimiter's first character
      {"GET_ITEM", {T(","), T("a,b,"), I(4)}, T("")},          // past the last (empty) item
      {"GET_ITEM", {T(""), T("a,b"), I(-5)}, T("a,b")},        // no delimiter: one item
      {"wild_card", {T("K*"), T("k1abc")}, Value::Logical(false)},
      {"val_", {T(" 14.0745 MHz")}, Value::Number(14.0745, 20, 10)},
      {"DEC_", {I(-0x25)}, I(-25)},
      {"HEX_", {I(99)}, I(153)},
      {"STOD", {T("20000101xyz")}, Value::Date(2451545)},
      {"STOD", {T("2000-01-01")}, Value::Date(0)},
      {"cstr", {T("ab\0cd"s)}, T("ab")},
      {"str_asc", {T("ABC"), I(3)}, I(67, 3)},
      {"str_asc", {T("a\0b"s), I(2)}, I(0, 3)},
      {"adj_360", {I(-90)}, Value::Number(270, 10, 6)},  // an integer is taken as a number
      {"adj_360", {N(inf)}, Value::Number(std::numeric_limits<double>::quiet_NaN(), 10, 6)},
      {"main_hwnd", {}, I(host_.systemWindow(host_.mainWindow()))},
  };
  for (const auto &c : cases) expectResult(c.name, c.args, c.result);
}

TEST_F(Functions, Errors) {
  for (const char *type : {"c", "i", "N", "", "Z", "d"}) {
    expectError("TAG_VAL", {T("X="), T("X=1|"), T(type)}, kUserError,
                "Invalid type passed to TAG_VAL().  Allowable types are C, D, I, F, L");
  }
  for (const int32_t position : {0, -1, 4, std::numeric_limits<int32_t>::min()}) {
    expectError("str_asc", {T("ABC"), I(position)}, kUserError,
                "Length passed to str_asc() is greater than the length of the string or 0 or "
                "negative.");
  }
  expectError("str_asc", {T(""), I(1)}, kUserError);
  EXPECT_NE(errorOf("w_putstr", {I(999), T("x")}).number(), 0);
  // Arguments are copied into handles; a host that cannot grow one fails the call cleanly.
  const std::string tagged(64, 'x');
  host_.setHandleLimit(64 + 3 + 1);
  expectError("TAG_FLD", {T("AB="), T(tagged)}, kUserError, "TAG_FLD() _SetHandSize() failed!");
  expectError("TAG_VAL", {T("AB="), T(tagged)}, kNoMemory);
  host_.setHandleLimit(64 + 1);
  expectError("GET_ITEM", {T(","), T(tagged), I(1)}, kUserError,
              "GET_ITEM() _SetHandSize() failed!");
  host_.setHandleLimit(16);
  expectError("MAKE_TAG", {T("TAG="), T(std::string(40, 'v'))}, kNoMemory);
  host_.setHandleLimit(0);
  // Argument lists the type text refuses never reach the library.
  EXPECT_NE(errorOf("MAKE_TAG", {T("A=")}).number(), 0);
  EXPECT_NE(errorOf("GET_ITEM", {T(","), T("a"), T("1")}).number(), 0);
}

// Dates read as MDY whatever the setting, which is restored (not touched for a bad date).
TEST_F(Functions, DatesUnderEveryDateSetting) {
  for (const char *setting : {"AMERICAN", "BRITISH", "ANSI", "DMY", "YMD", "GERMAN"}) {
    SCOPED_TRACE(setting);
    host_.execute("SET DATE "s + setting);
    expectResult("TAG_VAL", {T("D="), T("A=1| D=20240229|"), T("D")}, Value::Date(2460370));
    const auto &commands = host_.executedCommands();
    ASSERT_GE(commands.size(), 2u);
    EXPECT_EQ(std::vector(commands.end() - 2, commands.end()),
              (std::vector<std::string>{"SET DATE MDY", "SET DATE "s + setting}));
    expectResult("STOD", {T("20000229")}, Value::Date(2451604));
    const size_t count = commands.size();
    expectResult("TAG_VAL", {T("D="), T("D=2024022|"), T("D")}, Value::Date(0));
    EXPECT_EQ(host_.executedCommands().size(), count) << "date setting touched";
  }
}

TEST_F(Functions, DelayMsSpinsOnTheHostClockForThatLongAlsoAcrossTheCounterWrap) {
  for (const int32_t wait : {1, 1000, 0, -1, std::numeric_limits<int32_t>::min(), 20}) {
    if (wait == 20) host_.virtualClock()->nowMicros = (uint64_t{1} << 32) * 1000 - 5000;
    const uint64_t before = host_.nowMillis();
    EXPECT_EQ(call("DELAY_MS", {I(wait)}).type, 0) << "DELAY_MS sets no result";
    const uint64_t elapsed = host_.nowMillis() - before;
    const uint64_t expected = wait > 0 ? static_cast<uint64_t>(wait) : 0;
    EXPECT_GE(elapsed, expected) << wait;
    EXPECT_LE(elapsed, expected + (wait > 0 ? 2 : 1)) << wait;
  }
}

TEST_F(Functions, WindowsAndProperties) {
  const uint32_t form = host_.createObject("form");
  const Value window = call("get_wh", {Value::Object(form)});
  EXPECT_EQ(window.integer, host_.objectWindow(form, false));
  EXPECT_EQ(call("get_client_wh", {Value::Object(form)}).integer, host_.objectWindow(form, true));
  EXPECT_EQ(call("get_hwnd", {Value::Object(form)}).integer, host_.systemWindow(window.integer));
  const int32_t main = host_.mainWindow();
  call("w_putstr", {I(main), T("first")});
  call("w_putstr", {I(main), T("xy\0hidden"s), I(3), I(2)});  // column, then row
  call("w_putstr", {I(main), T("!"), I(0)});                  // one position only: no move
  EXPECT_EQ(host_.windowText(main), "first\n\n   xy!");
  expectResult("NEW_PROP", {Value::Object(form), T("Callsign\0junk"s), T("W1AW")}, I(1));
  EXPECT_EQ(host_.property(form, "Callsign").text, "W1AW");
  call("NEW_PROP", {Value::Object(form), T("Callsign"), I(73)});
  EXPECT_EQ(host_.property(form, "Callsign").integer, 73);
}

// VER_GETFILEVERSIONINFO on written PE files and on paths that are no readable PE file.
TEST_F(Functions, VersionStringsOfFiles) {
  const std::string dir =
      std::filesystem::temp_directory_path() / ("velalib-" + std::to_string(getpid()));
  std::filesystem::create_directories(dir);
  const auto file = [&](const std::string &name, const std::vector<uint8_t> &bytes) {
    EXPECT_TRUE(writeFile(dir + "/" + name, bytes));
    return dir + "/" + name;
  };
  PeOptions options;
  options.pe32Plus = true;
  options.version.tables = {
      {"040904E4", {{"ProductName", "Logbook"}, {"FileVersion", "5.0.2.11"}}}};
  const PeLayout pe = buildPe(options);
  const std::string good = file("a64.dll", pe.bytes);
  ASSERT_EQ(::mkfifo((dir + "/pipe").c_str(), 0600), 0);
  const struct {
    std::string path;
    int32_t index;
    const char *text;
  } cases[] = {
      {good, 5, "5.0.2.11"},
      {good, 1, "Logbook"},
      {good + "\0ignored"s, 5, "5.0.2.11"},  // the name ends at its first NUL
      {good, 2, ""},                         // not in this file
      {good, 0, ""},
      {file("cut.dll", {pe.bytes.begin(), pe.bytes.begin() + pe.versionData + 20}), 5, ""},
      {file("text.txt", {'h', 'i'}), 5, ""},
      {dir + "/missing.dll", 5, ""},
      {dir, 5, ""},
      {"/dev/zero", 5, ""},
      {dir + "/pipe", 5, ""},  // does not block
  };
  for (const auto &c : cases) {
    EXPECT_EQ(text("VER_GETFILEVERSIONINFO", {T(c.path), I(c.index)}), c.text) << c.path;
  }
  // Room for the arguments and the name's NUL, not for the version data.
  host_.setHandleLimit(good.size() + 1 + 64);
  EXPECT_EQ(errorOf("VER_GETFILEVERSIONINFO", {T(good), I(5)}).number(), kNoMemory);
  host_.setHandleLimit(good.size());
  EXPECT_EQ(errorOf("VER_GETFILEVERSIONINFO", {T(good), I(5)}).number(), kNoMemory);
  host_.setHandleLimit(0);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace velalib::testing
