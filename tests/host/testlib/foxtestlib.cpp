// A library for the host's tests: every parameter type, every result type and every host service,
// reached through the real dispatch entry.
#include <cstring>
#include <string>

#include "foxlib.hpp"

namespace {

int g_countedCalls = 0;

void returnRaw(const FoxValue &v) {
  FoxServiceArgs args{};
  args.code = FOX_RET_VALUE;
  args.value = v;
  fox::callHost(args);
}

// Returns a value the host gave back (evaluate, get property) with its own type.
void returnHostValue(const fox::HostValue &v) {
  FoxValue o{};
  switch (v.type) {
    case 'C':
      return fox::returnText(v.text);
    case 'I':
      return fox::returnInteger(v.integer, v.width);
    case 'N':
      return fox::returnNumber(v.number, v.width, v.decimals);
    case 'L':
      return fox::returnLogical(v.logical);
    case 'D':
      return fox::returnDate(v.number);
    case 'O':
      o.ev_type = 'O';
      o.ev_object = v.object;
      return returnRaw(o);
  }  // anything else returns nothing: the host's default stands
}

// Returns its parameter through the typed result call of its type.
void echo(FoxParamBlock *pb) {
  const fox::Params p(pb);
  const FoxValue &v = pb->p[0];
  switch (v.ev_type) {
    case 'C':
      return fox::returnText(p.text(0));
    case 'I':
      return fox::returnInteger(v.ev_long, v.ev_width);
    case 'N':
      return fox::returnNumber(v.ev_real, v.ev_width, v.ev_length);
    case 'L':
      return fox::returnLogical(p.logical(0));
    case 'D':
      return fox::returnDate(p.date(0));
    default:
      return returnRaw(v);
  }
}

void argCount(FoxParamBlock *pb) { fox::returnInteger(pb->pCount); }

void retInteger(FoxParamBlock *) { fox::returnInteger(-42, 6); }
void retDateText(FoxParamBlock *pb) { fox::returnDateText(fox::Params(pb).text(0)); }
void retNothing(FoxParamBlock *) {}
void retTwice(FoxParamBlock *) {
  fox::returnText("first");
  fox::returnInteger(2);
}

void eval(FoxParamBlock *pb) { returnHostValue(fox::evaluate(fox::Params(pb).text(0))); }
void exec(FoxParamBlock *pb) { fox::execute(fox::Params(pb).text(0)); }

// REENTER(n): n + the value of "REENTER(n - 1)" evaluated by the host, with a work handle alive
// across the nested call whose bytes must survive it.
void reenter(FoxParamBlock *pb) {
  const int32_t n = fox::Params(pb).integer(0);
  if (n <= 0) return fox::returnInteger(0);
  fox::WorkHandle keep(4);
  std::memcpy(keep.data(), "keep", 4);
  const fox::HostValue inner = fox::evaluate("REENTER(" + std::to_string(n - 1) + ")");
  if (std::memcmp(keep.data(), "keep", 4) != 0) fox::raiseUserError("work handle changed");
  fox::returnInteger(inner.integer + n);
}

void setProp(FoxParamBlock *pb) {
  const fox::Params p(pb);
  FoxServiceArgs args{};
  args.code = FOX_SET_PROPERTY;
  args.a = static_cast<int32_t>(p.object(0));
  const std::string name = p.text(1);
  args.name = name.c_str();
  args.value = pb->p[2];
  args.b = p.logical(3) ? 1 : 0;
  fox::callHost(args);
  fox::returnInteger(args.result);
}

void getProp(FoxParamBlock *pb) {
  const fox::Params p(pb);
  returnHostValue(fox::getProperty(p.object(0), p.text(1).c_str()));
}

void winPut(FoxParamBlock *pb) {
  const fox::Params p(pb);
  if (p.count() == 4) fox::windowMove(p.integer(0), p.integer(3), p.integer(2));
  fox::windowPut(p.integer(0), p.text(1));
}

void mainHwnd(FoxParamBlock *) { fox::returnInteger(fox::systemWindow(fox::mainWindow())); }
void objWin(FoxParamBlock *pb) {
  const fox::Params p(pb);
  fox::returnInteger(fox::objectWindow(p.object(0), p.integer(1)));
}
void sysWin(FoxParamBlock *pb) {
  fox::returnInteger(fox::systemWindow(fox::Params(pb).integer(0)));
}

void winRect(FoxParamBlock *pb) {
  FoxServiceArgs args{};
  args.code = FOX_WINDOW_RECT;
  args.a = fox::Params(pb).integer(0);
  fox::callHost(args);
  if (!args.result) return fox::returnText("none");
  fox::returnText(std::to_string(args.a) + "," + std::to_string(args.b) + "," +
                  std::to_string(args.c) + "," + std::to_string(args.d));
}

void readKey(FoxParamBlock *) { fox::returnInteger(fox::readKey()); }
void clockMs(FoxParamBlock *) { fox::returnNumber(fox::clock::nowMillis(), 12, 0); }

// WAITKEY(timeout): spins on the clock reading keys; "<key>@<ms since start>" or "none".
void waitKey(FoxParamBlock *pb) {
  const uint32_t timeout = static_cast<uint32_t>(fox::Params(pb).integer(0));
  const uint32_t start = fox::clock::nowMillis();
  for (;;) {
    const int32_t key = fox::readKey();
    const uint32_t elapsed = fox::clock::nowMillis() - start;
    if (key) return fox::returnText(std::to_string(key) + "@" + std::to_string(elapsed));
    if (elapsed >= timeout) break;
  }
  fox::returnText("none");
}

void raise(FoxParamBlock *pb) {
  fox::WorkHandle a(16), b(32);  // alive at the raise; unwinding must free them
  fox::raiseError(fox::Params(pb).integer(0));
}

void userError(FoxParamBlock *pb) {
  fox::WorkHandle a(8);
  fox::raiseUserError(fox::Params(pb).text(0));
}

// GROW(text, size): the text in a work handle resized to size; returns what the handle holds
// (up to the text's length) and its size, "<text>|<size>".
void grow(FoxParamBlock *pb) {
  const fox::Params p(pb);
  const std::string text = p.text(0);
  fox::WorkHandle h(static_cast<uint32_t>(text.size()));
  if (!text.empty()) std::memcpy(h.data(), text.data(), text.size());
  h.resize(static_cast<uint32_t>(p.integer(1)));
  const uint32_t size = h.size();
  fox::returnText(std::string(h.data(), size < text.size() ? size : text.size()) + "|" +
                  std::to_string(size));
}

// Leaves one handle behind on purpose.
void leak(FoxParamBlock *) {
  fox::WorkHandle h(10);
  fox::returnInteger(static_cast<int32_t>(h.release()));
}

// Counts the calls that reached the entry, so tests can prove that a refused call did not.
void counted(FoxParamBlock *) { fox::returnInteger(++g_countedCalls); }

void onLoad(FoxParamBlock *) { fox::execute("TESTLIB_LOADED = .T."); }

const FoxInfo kFunctions[] = {
    {"ECHO", echo, 1, "?"},
    {"ECHO_C", echo, 1, "C"},
    {"ECHO_I", echo, 1, "I"},
    {"ECHO_N", echo, 1, "N"},
    {"ARGCOUNT", argCount, 3, "C.I.N"},
    {"RET_I", retInteger, 0, ""},
    {"RET_DATETEXT", retDateText, 1, "C"},
    {"RET_NOTHING", retNothing, 0, ""},
    {"RET_TWICE", retTwice, 0, ""},
    {"EVAL", eval, 1, "C"},
    {"EXEC", exec, 1, "C"},
    {"REENTER", reenter, 1, "I"},
    {"SETPROP", setProp, 4, "O,C,?,.L"},
    {"GETPROP", getProp, 2, "O,C"},
    {"WIN_PUT", winPut, 4, "I,C,.I,.I"},
    {"MAIN_HWND", mainHwnd, 0, ""},
    {"OBJ_WIN", objWin, 2, "O,I"},
    {"SYS_WIN", sysWin, 1, "I"},
    {"WIN_RECT", winRect, 1, "I"},
    {"READKEY", readKey, 0, ""},
    {"CLOCKMS", clockMs, 0, ""},
    {"WAITKEY", waitKey, 1, "I"},
    {"RAISE", raise, 1, "I"},
    {"USERERR", userError, 1, "C"},
    {"GROW", grow, 2, "C,I"},
    {"LEAK", leak, 0, ""},
    {"ONLOAD", onLoad, FOX_CALLONLOAD, ""},
    {"COUNTED", counted, 3, "C,I,.L"},
};

const FoxTable kTable = {nullptr, static_cast<int16_t>(sizeof kFunctions / sizeof kFunctions[0]),
                         kFunctions};

}  // namespace

FOX_DEFINE_DISPATCH(kTable)
