// Host services as a library sees them: windows, properties, execute and evaluate (re-entrant),
// and the handle services themselves.
#include <cmath>
#include <cstring>

#include "host_test_support.hpp"

namespace foxhost {
namespace {

using testing::errorOf;
using testing::HostTest;

class Services : public HostTest {};

TEST_F(Services, WindowsAndTheirSystemHandles) {
  const int32_t mainSystem = host.call("MAIN_HWND", {}).integer;
  EXPECT_EQ(mainSystem, host.systemWindow(host.mainWindow()));
  EXPECT_NE(mainSystem, host.mainWindow());
  host.execute("f = CREATEOBJECT('form')");
  host.execute("t = CREATEOBJECT('textbox')");
  const uint32_t form = host.variable("f").object;
  const int32_t window = host.evaluate("OBJ_WIN(f, 0)").integer;
  const int32_t client = host.evaluate("OBJ_WIN(f, 16)").integer;
  EXPECT_EQ(window, host.objectWindow(form, false));
  EXPECT_EQ(client, host.objectWindow(form, true));
  EXPECT_NE(window, client);
  EXPECT_EQ(host.evaluate("OBJ_WIN(t, 0)").integer, 0);
  EXPECT_EQ(host.call("SYS_WIN", {Value::Integer(window)}).integer, host.systemWindow(window));
  EXPECT_EQ(host.call("SYS_WIN", {Value::Integer(0)}).integer, 0);
  EXPECT_EQ(errorOf([&] { host.call("SYS_WIN", {Value::Integer(999)}); }), 11);
  EXPECT_EQ(errorOf([&] { host.call("OBJ_WIN", {Value::Object(999), Value::Integer(0)}); }), 1924);
}

TEST_F(Services, WindowRectangles) {
  host.execute("f = CREATEOBJECT('form')");
  const int32_t window = host.objectWindow(host.variable("f").object, false);
  host.setWindowRect(window, {10, 20, 300, 200});
  host.setWindowRect(0, {0, 0, 1920, 1080});
  EXPECT_EQ(host.call("WIN_RECT", {Value::Integer(host.systemWindow(window))}).text,
            "10,20,300,200");
  EXPECT_EQ(host.call("WIN_RECT", {Value::Integer(0)}).text, "0,0,1920,1080");
  EXPECT_EQ(host.call("WIN_RECT", {Value::Integer(window)}).text, "none");  // not a system handle
  const WindowRect client = host.windowRect(host.objectWindow(host.variable("f").object, true));
  EXPECT_GT(client.width, 0);
  EXPECT_EQ(errorOf([&] { host.setWindowRect(999, {}); }), 11);
}

TEST_F(Services, TextIntoAWindowAtItsOutputPosition) {
  host.call("WIN_PUT",
            {Value::Integer(1), Value::Text("hello"), Value::Integer(3), Value::Integer(2)});
  host.call("WIN_PUT", {Value::Integer(1), Value::Text("XY")});  // goes on where it stopped
  EXPECT_EQ(host.windowText(1), "\n\n   helloXY");
  host.call("WIN_PUT", {Value::Integer(1), Value::Text("J"), Value::Integer(4), Value::Integer(2)});
  EXPECT_EQ(host.windowText(1), "\n\n   hJlloXY");
  host.call("WIN_PUT", {Value::Integer(1), Value::Text("a\nb")});
  EXPECT_EQ(host.windowText(1), "\n\n   hJaloXY\nb");
  EXPECT_EQ(host.takeOutput(), "helloXYJa\nb");
  EXPECT_EQ(errorOf([&] { host.call("WIN_PUT", {Value::Integer(77), Value::Text("x")}); }), 11);
  EXPECT_EQ(errorOf([&] {
              host.call("WIN_PUT", {Value::Integer(1), Value::Text("x"), Value::Integer(-1),
                                    Value::Integer(0)});
            }),
            11);
}

TEST_F(Services, PropertiesSetAndGet) {
  host.execute("o = CREATEOBJECT('textbox')");
  const Value o = host.variable("o");
  EXPECT_EQ(host.call("SETPROP", {o, Value::Text("VALUE"), Value::Text("abc")}).integer, 1);
  EXPECT_EQ(host.property(o.object, "VALUE").text, "abc");
  const Value got = host.call("GETPROP", {o, Value::Text("value")});
  EXPECT_EQ(got.type, 'C');
  EXPECT_EQ(got.text, "abc");
  host.call("SETPROP", {o, Value::Text("SELSTART"), Value::Integer(9999)});
  const Value sel = host.call("GETPROP", {o, Value::Text("SELSTART")});
  EXPECT_EQ(sel.type, 'I');
  EXPECT_EQ(sel.integer, 3);
  EXPECT_EQ(errorOf([&] {
              host.call("SETPROP", {o, Value::Text("SELSTART"), Value::Number(NAN)});
            }),
            11);
  // A missing property is an error unless the add flag is given.
  EXPECT_EQ(errorOf([&] {
              host.call("SETPROP", {o, Value::Text("Tag"), Value::Number(5)});
            }),
            1734);
  host.call("SETPROP", {o, Value::Text("Tag"), Value::Number(5, 10, 0), Value::Logical(true)});
  EXPECT_EQ(host.call("GETPROP", {o, Value::Text("TAG")}).number, 5);
  EXPECT_EQ(host.evaluate("o.tag").number, 5);
  EXPECT_EQ(errorOf([&] { host.call("GETPROP", {o, Value::Text("NONE")}); }), 1734);
  EXPECT_EQ(errorOf([&] {
              host.call("GETPROP", {Value::Object(999), Value::Text("VALUE")});
            }),
            1924);
}

TEST_F(Services, ExecuteRunsCommandsAndRecordsThem) {
  host.call("EXEC", {Value::Text("x = 5")});
  EXPECT_EQ(host.variable("X").number, 5);
  host.call("EXEC", {Value::Text("wait window 'Pause...' nowait")});
  EXPECT_EQ(host.waitWindowText(), "Pause...");
  // A command that calls back into the library whose call is running.
  host.call("EXEC", {Value::Text("wait window ltrim(str(RET_I())) + ' WPM' nowait")});
  EXPECT_EQ(host.waitWindowText(), "-42 WPM");
  host.call("EXEC", {Value::Text("WAIT CLEAR")});
  EXPECT_EQ(host.waitWindowText(), "");
  // The first is the test library's load routine.
  const std::vector<std::string> expected{
      "TESTLIB_LOADED = .T.", "x = 5", "wait window 'Pause...' nowait",
      "wait window ltrim(str(RET_I())) + ' WPM' nowait", "WAIT CLEAR"};
  EXPECT_EQ(host.executedCommands(), expected);
}

TEST_F(Services, EvaluateGivesValuesOfEveryType) {
  const size_t before = live();
  const Value n = host.call("EVAL", {Value::Text("1 + 2")});
  EXPECT_EQ(n.type, 'N');
  EXPECT_EQ(n.number, 3);
  EXPECT_EQ(host.call("EVAL", {Value::Text("'a' + 'b'")}).text, "ab");
  EXPECT_TRUE(host.call("EVAL", {Value::Text(".T.")}).logical);
  EXPECT_EQ(host.call("EVAL", {Value::Text("{^2000-01-01}")}).number, 2451545);
  EXPECT_EQ(host.call("EVAL", {Value::Text("CREATEOBJECT('textbox')")}).type, 'O');
  EXPECT_EQ(host.call("EVAL", {Value::Text("RET_I()")}).integer, -42);
  EXPECT_EQ(host.call("EVAL", {Value::Text("RET_NOTHING()")}).type, 0);
  EXPECT_EQ(live(), before);
}

TEST_F(Services, EvaluationIsReentrant) {
  const size_t before = live();
  EXPECT_EQ(host.call("REENTER", {Value::Integer(5)}).integer, 15);
  EXPECT_EQ(host.evaluate("REENTER(3) + REENTER(2)").number, 9);
  EXPECT_EQ(host.call("EVAL", {Value::Text("EVAL('EVAL([ECHO_C(\"deep\")])')")}).text, "deep");
  EXPECT_EQ(live(), before);
}

TEST_F(Services, ALibraryCallsAnotherThroughTheHost) {
  host.loadLibrary(testing::libraryPath("foxsecondlib"));
  EXPECT_EQ(host.call("VIA_HOST", {Value::Text("ECHO_C('x') + SECOND_HELLO()")}).text, "xsecond");
  EXPECT_EQ(host.call("EVAL", {Value::Text("VIA_HOST('REENTER(2)')")}).text, "not text");
}

// The handle services as a library calls them: allocate, point, resize (moving an unlocked
// block), size, lock and unlock, free; a freed handle is refused with 1755.
TEST_F(Services, HandleServices) {
  // Calls a handle service and checks its status.
  const auto service = [&](int32_t code, FoxHandle handle, int32_t a = 0, int32_t status = 0) {
    FoxServiceArgs args{};
    args.code = code;
    args.handle = handle;
    args.a = a;
    EXPECT_EQ(host.service(args), status) << "service " << code;
    return args;
  };
  const FoxHandle h = service(FOX_HANDLE_ALLOC, 0, 4).handle;
  ASSERT_NE(h, 0u);
  void *const first = service(FOX_HANDLE_POINTER, h).pointer;
  std::memcpy(first, "wxyz", 4);
  EXPECT_EQ(service(FOX_HANDLE_RESIZE, h, 6).result, 1);
  void *const moved = service(FOX_HANDLE_POINTER, h).pointer;
  EXPECT_NE(moved, first);  // an unlocked block moves as it grows, keeping its bytes
  EXPECT_EQ(std::memcmp(moved, "wxyz", 4), 0);
  EXPECT_EQ(service(FOX_HANDLE_SIZE, h).result, 6);
  service(FOX_HANDLE_LOCK, h);
  EXPECT_EQ(host.handleCounters().locked, 1u);
  EXPECT_EQ(service(FOX_HANDLE_RESIZE, h, 100).result, 0);  // a locked block cannot move
  service(FOX_HANDLE_UNLOCK, h);
  service(FOX_HANDLE_UNLOCK, h, 0, 1755);  // not locked any more
  service(FOX_HANDLE_FREE, h);
  for (const int32_t code : {FOX_HANDLE_FREE, FOX_HANDLE_POINTER, FOX_HANDLE_SIZE}) {
    service(code, h, 0, 1755);
  }
  EXPECT_EQ(service(FOX_HANDLE_ALLOC, 0, -1).handle, 0u);
}

TEST_F(Services, MalformedServiceCalls) {
  EXPECT_EQ(host.call("BADSERVICE", {}).integer, 1756);
  FoxServiceArgs ret{};
  ret.code = FOX_RET_VALUE;
  ret.value.ev_type = 'I';
  EXPECT_EQ(host.service(ret), 1757);  // a result outside any call
  FoxServiceArgs put{};
  put.code = FOX_WINDOW_PUT;
  put.a = 1;
  put.textLength = 5;  // but no text
  EXPECT_EQ(host.service(put), 1756);
  FoxServiceArgs prop{};
  prop.code = FOX_GET_PROPERTY;
  prop.a = 1;
  EXPECT_EQ(host.service(prop), 1756);  // no name
}

}  // namespace
}  // namespace foxhost
