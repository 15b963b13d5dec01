// foxhost: the host emulator. Loads extension libraries, offers every host service of
// foxext.h, and runs a small xBase command language. This is the C++ API that the foxhost
// program and the test suites use; everything runs on the caller's thread.
#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "foxext.h"

namespace foxhost {

// A value of the host's language.
struct Value {
  char type = 0;          // 'C' text, 'I' integer, 'N' number, 'L' logical, 'D' date, 'O' object,
                          // 0 nothing (a call whose library set no result)
  std::string text;       // C
  double number = 0;      // N, D (Julian day number); I widened
  int32_t integer = 0;    // I
  bool logical = false;   // L
  uint32_t object = 0;    // O
  int16_t width = 0;      // I, N display width
  uint32_t decimals = 0;  // N

  static Value Text(std::string s);
  static Value Integer(int32_t i, int16_t width = 10);
  static Value Number(double d, int16_t width = 20, uint32_t decimals = 2);
  static Value Logical(bool b);
  static Value Date(double julianDay);
  static Value Object(uint32_t id);

  // The text that `?` prints: numbers right-aligned in their width, .T./.F., dates under the
  // host's date setting.
  std::string display(const std::string &dateFormat = "AMERICAN") const;
};

// A host error: the message names the error; `number` is the host error number (182 for
// out of memory, 1098 for a library's user error, others for the host's own errors).
class HostError : public std::runtime_error {
 public:
  HostError(int32_t number, const std::string &message)
      : std::runtime_error(message), number_(number) {}
  int32_t number() const { return number_; }

 private:
  int32_t number_;
};

struct HandleCounters {
  uint64_t allocated = 0;  // handles ever allocated
  uint64_t freed = 0;      // handles freed
  size_t live = 0;         // handles alive now
  size_t locked = 0;       // handles locked now
};

class Host {
 public:
  struct Options {
    bool virtualClock = false;       // libraries spin on a virtual clock shared with the host
    uint32_t clockStepMicros = 1;    // how far each clock read advances virtual time
    std::ostream *out = nullptr;     // where `?`, WAIT WINDOW and window text go; null: kept only
  };

  Host();
  explicit Host(Options options);
  ~Host();
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  // SET LIBRARY TO path [ADDITIVE]: without additive, the libraries loaded before are released.
  // Routines with parameter count -2 run at load.
  void loadLibrary(const std::string &path, bool additive = true);
  void releaseLibraries();
  bool hasFunction(const std::string &name) const;

  // Calls a library function by name, checking count and types against its type text first.
  Value call(const std::string &name, const std::vector<Value> &args);

  // The command language.
  Value evaluate(const std::string &expression);
  void execute(const std::string &command);
  // Runs a script; an error is rethrown with "<name>, line N: " before its message.
  void runScript(std::istream &in, const std::string &name);

  // Variables of the language.
  void setVariable(const std::string &name, const Value &value);
  Value variable(const std::string &name) const;

  // Objects: CREATEOBJECT("textbox") and the like; properties VALUE, SELSTART, and any added.
  uint32_t createObject(const std::string &className);
  Value property(uint32_t object, const std::string &name) const;
  void setProperty(uint32_t object, const std::string &name, const Value &value);

  // Keyboard: scripted keys become readable once the host clock reaches their time; when the
  // queue is empty and a terminal is attached, keys are read from it without waiting.
  void queueKey(int32_t code, uint64_t atMillis = 0);
  void useTerminal(bool on);
  size_t pendingKeys() const;

  // Clock shared with the libraries (virtual or monotonic), in milliseconds.
  uint64_t nowMillis() const;
  FoxVirtualClock *virtualClock();

  // Date setting: "AMERICAN", "BRITISH", "ANSI", "MDY", "DMY", "YMD", ...
  std::string dateFormat() const;

  // What was written by ?, WAIT WINDOW and window services, since the last take.
  std::string takeOutput();
  // Every command run through the execute service (54) by a library, in order.
  const std::vector<std::string> &executedCommands() const;
  // Host windows: text written into window n by service 53, with output positions.
  std::string windowText(int32_t window) const;

  HandleCounters handleCounters() const;

  // Services as the libraries see them; public for tests of the service layer itself.
  int32_t service(FoxServiceArgs &args);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace foxhost
