// Host services as a library sees them: windows, properties, execute and evaluate (re-entrant),
// the handle services, keys and the virtual clock.
#include <cmath>
#include <cstring>

#include "host_call_checks.hpp"

namespace foxhost {
namespace {

class Services : public testing::HostTest {
 protected:
  // Calls a service with these fields and checks its status.
  FoxServiceArgs service(int32_t code, FoxHandle handle = 0, int32_t a = 0, int32_t status = 0) {
    FoxServiceArgs args{};
    args.code = code;
    args.handle = handle;
    args.a = a;
    EXPECT_EQ(host.service(args), status) << "service " << code;
    return args;
  }
};

TEST_F(Services, WindowsAndProperties) {
  EXPECT_EQ(host.call("MAIN_HWND", {}).integer, host.systemWindow(host.mainWindow()));
  host.execute("f = CREATEOBJECT('form')");
  host.execute("t = CREATEOBJECT('textbox')");
  const uint32_t form = host.variable("f").object;
  const int32_t window = host.evaluate("OBJ_WIN(f, 0)").integer;
  EXPECT_EQ(window, host.objectWindow(form, false));
  EXPECT_EQ(host.evaluate("OBJ_WIN(f, 16)").integer, host.objectWindow(form, true));
  EXPECT_NE(host.objectWindow(form, true), window);
  EXPECT_EQ(host.evaluate("OBJ_WIN(t, 0)").integer, 0);
  host.setWindowRect(window, {10, 20, 300, 200});
  const int32_t system = host.call("SYS_WIN", {Value::Integer(window)}).integer;
  EXPECT_EQ(system, host.systemWindow(window));
  EXPECT_EQ(host.call("WIN_RECT", {Value::Integer(system)}).text, "10,20,300,200");
  host.setWindowRect(0, {0, 0, 1920, 1080});  // the screen
  EXPECT_EQ(host.call("WIN_RECT", {Value::Integer(0)}).text, "0,0,1920,1080");
  EXPECT_EQ(host.call("WIN_RECT", {Value::Integer(window)}).text, "none");  // not a system handle
  EXPECT_GT(host.windowRect(host.objectWindow(form, true)).width, 0);

  const auto put = [&](std::vector<Value> args) { host.call("WIN_PUT", args); };
  put({Value::Integer(1), Value::Text("hello"), Value::Integer(3), Value::Integer(2)});
  put({Value::Integer(1), Value::Text("XY")});  // goes on where it stopped
  put({Value::Integer(1), Value::Text("J"), Value::Integer(4), Value::Integer(2)});
  put({Value::Integer(1), Value::Text("a\nb")});
  EXPECT_EQ(host.windowText(1), "\n\n   hJaloXY\nb");
  EXPECT_EQ(host.takeOutput(), "helloXYJa\nb");

  const Value o = host.variable("t");
  EXPECT_EQ(host.call("SETPROP", {o, Value::Text("VALUE"), Value::Text("abc")}).integer, 1);
  testing::expectResult(host, "GETPROP", {o, Value::Text("value")}, Value::Text("abc"));
  host.call("SETPROP", {o, Value::Text("SELSTART"), Value::Integer(9999)});  // kept in the text
  testing::expectResult(host, "GETPROP", {o, Value::Text("SELSTART")}, Value::Integer(3));
  // A missing property is an error unless the add flag is given.
  host.call("SETPROP", {o, Value::Text("Tag"), Value::Number(5, 10, 0), Value::Logical(true)});
  EXPECT_EQ(host.evaluate("t.tag").number, 5);
  const struct {
    const char *name;
    std::vector<Value> args;
    int32_t error;
  } refused[] = {
      {"SYS_WIN", {Value::Integer(999)}, 11},
      {"OBJ_WIN", {Value::Object(999), Value::Integer(0)}, 1924},
      {"WIN_PUT", {Value::Integer(77), Value::Text("x")}, 11},
      {"WIN_PUT", {Value::Integer(1), Value::Text("x"), Value::Integer(-1), Value::Integer(0)}, 11},
      {"SETPROP", {o, Value::Text("SELSTART"), Value::Number(NAN)}, 11},
      {"SETPROP", {o, Value::Text("Other"), Value::Number(5)}, 1734},
      {"GETPROP", {o, Value::Text("NONE")}, 1734},
      {"GETPROP", {Value::Object(999), Value::Text("VALUE")}, 1924},
  };
  for (const auto &c : refused) EXPECT_EQ(errorNumber(c.name, c.args), c.error) << c.name;
  EXPECT_EQ(testing::errorOf([&] { host.setWindowRect(999, {}); }).number(), 11);
}

TEST_F(Services, ExecuteAndEvaluateAreReentrant) {
  host.call("EXEC", {Value::Text("x = 5")});
  // A command that calls back into the library whose call is running.
  host.call("EXEC", {Value::Text("wait window ltrim(str(RET_I())) + ' WPM' nowait")});
  EXPECT_EQ(host.waitWindowText(), "-42 WPM");
  const struct {
    const char *expression;
    Value result;
  } cases[] = {
      {"x + 2", Value::Number(7, 10, 0)},
      {"'a' + 'b'", Value::Text("ab")},
      {".T.", Value::Logical(true)},
      {"{^2000-01-01}", Value::Date(2451545)},
      {"RET_I()", Value::Integer(-42, 6)},
      {"RET_NOTHING()", Value{}},
      {"EVAL('EVAL([ECHO_C(\"deep\")])')", Value::Text("deep")},
  };
  for (const auto &c : cases)
    testing::expectResult(host, "EVAL", {Value::Text(c.expression)}, c.result);
  EXPECT_EQ(host.call("EVAL", {Value::Text("CREATEOBJECT('textbox')")}).type, 'O');
  EXPECT_EQ(host.call("REENTER", {Value::Integer(5)}).integer, 15);
  EXPECT_EQ(host.evaluate("REENTER(3) + REENTER(2)").number, 9);
  host.loadLibrary(testing::libraryPath("foxsecondlib"));  // one library calls another
  EXPECT_EQ(host.call("VIA_HOST", {Value::Text("ECHO_C('x') + SECOND_HELLO()")}).text, "xsecond");
  EXPECT_EQ(host.call("EVAL", {Value::Text("VIA_HOST('REENTER(2)')")}).text, "not text");
}

// Allocate, point, resize (an unlocked block moves, keeping its bytes; a locked one resizes only
// in place, zeroing what it regains), nested locks, free (which drops a lock: the fixture checks);
// a freed handle is refused with 1755, and malformed calls with 1756 or 1757.
TEST_F(Services, HandleServicesAndMalformedCalls) {
  const FoxHandle h = service(FOX_HANDLE_ALLOC, 0, 4).handle;
  ASSERT_NE(h, 0u);
  void *const first = service(FOX_HANDLE_POINTER, h).pointer;
  std::memcpy(first, "wxyz", 4);
  EXPECT_EQ(service(FOX_HANDLE_RESIZE, h, 6).result, 1);
  void *const moved = service(FOX_HANDLE_POINTER, h).pointer;
  EXPECT_NE(moved, first);
  EXPECT_EQ(std::memcmp(moved, "wxyz", 4), 0);
  EXPECT_EQ(service(FOX_HANDLE_SIZE, h).result, 6);
  service(FOX_HANDLE_LOCK, h);
  service(FOX_HANDLE_LOCK, h);
  EXPECT_EQ(service(FOX_HANDLE_RESIZE, h, 100).result, 0);  // a locked block cannot move
  EXPECT_EQ(service(FOX_HANDLE_RESIZE, h, 2).result, 1);
  EXPECT_EQ(service(FOX_HANDLE_RESIZE, h, 6).result, 1);
  EXPECT_EQ(service(FOX_HANDLE_POINTER, h).pointer, moved);
  EXPECT_EQ(std::memcmp(moved, "wx\0\0\0\0", 6), 0);
  service(FOX_HANDLE_UNLOCK, h);
  EXPECT_EQ(service(FOX_HANDLE_RESIZE, h, 100).result, 0);  // still locked once
  service(FOX_HANDLE_UNLOCK, h);
  service(FOX_HANDLE_UNLOCK, h, 0, 1755);
  service(FOX_HANDLE_LOCK, h);
  service(FOX_HANDLE_FREE, h);
  for (const int32_t code : {FOX_HANDLE_FREE, FOX_HANDLE_POINTER, FOX_HANDLE_SIZE}) {
    service(code, h, 0, 1755);
  }
  EXPECT_EQ(service(FOX_HANDLE_ALLOC, 0, -1).handle, 0u);

  service(999, 0, 0, 1756);  // no such service
  FoxServiceArgs ret{};
  ret.code = FOX_RET_VALUE;
  ret.value.ev_type = 'I';
  EXPECT_EQ(host.service(ret), 1757);  // a result outside any call
  FoxServiceArgs put{};
  put.code = FOX_WINDOW_PUT;
  put.a = 1;
  put.textLength = 5;  // but no text
  EXPECT_EQ(host.service(put), 1756);
  service(FOX_GET_PROPERTY, 0, 1, 1756);  // no name
  EXPECT_EQ(service(FOX_STOP_REQUESTED).result, 0);
}

// Scripted keys become readable at their time on the virtual clock, which moves only while
// libraries read it; a wait for a key jumps to it, and ends when none can come.
TEST_F(Services, KeysOnTheVirtualClock) {
  host.queueKey(5, 100);
  host.queueKey(24, 50);  // queued later but due earlier
  EXPECT_EQ(host.call("READKEY", {}).integer, 0);
  EXPECT_EQ(host.call("WAITKEY", {Value::Integer(1000)}).text, "24@50");
  EXPECT_EQ(host.nowMillis(), 50u);
  EXPECT_EQ(host.call("WAITKEY", {Value::Integer(1000)}).text, "5@50");
  EXPECT_EQ(host.call("WAITKEY", {Value::Integer(30)}).text, "none");
  for (const int32_t key : {65, 66}) host.queueKey(key, host.nowMillis());
  EXPECT_EQ(host.call("READKEY", {}).integer, 65);  // same time: queue order
  EXPECT_EQ(host.call("READKEY", {}).integer, 66);
  host.virtualClock()->nowMicros = 7'000'000;
  EXPECT_EQ(host.call("CLOCKMS", {}).number, 7000);  // each read by a library moves it 0.1 ms
  EXPECT_EQ(host.nowMillis(), 7000u);                // the host's own reads do not move it
  const uint64_t t0 = 7000;

  host.queueKey(13, t0 + 500);
  host.execute("WAIT WINDOW 'Press a key...'");
  EXPECT_EQ(host.nowMillis(), t0 + 500);  // jumped to the key
  host.queueKey(5, t0 + 600);
  EXPECT_EQ(service(FOX_WAIT_KEY).result, FOX_KEY_READY);
  EXPECT_EQ(host.nowMillis(), t0 + 600);
  EXPECT_EQ(host.call("READKEY", {}).integer, 5);
  EXPECT_EQ(service(FOX_WAIT_KEY).result, FOX_KEY_INPUT_ENDED);
  host.queueKey(32, t0 + 700);
  host.execute("WAIT WINDOW 'no wait' NOWAIT");
  EXPECT_EQ(host.pendingKeys(), 1u);
}

}  // namespace
}  // namespace foxhost
