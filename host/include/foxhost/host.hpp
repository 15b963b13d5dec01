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

// Where keys come from besides the scripted queue.
enum class KeySource {
  None,      // nowhere: no key can come (the prompt reads standard input, or a test host)
  Terminal,  // standard input is a terminal, in raw mode while a library call runs
  Stream     // standard input is a pipe or a file: its bytes, until its end
};

// A window's place and size in pixels.
struct WindowRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
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
    bool virtualClock = false;     // libraries spin on a virtual clock shared with the host
    uint32_t clockStepMicros = 1;  // how far each clock read advances virtual time
    std::ostream *out = nullptr;   // where `?`, WAIT WINDOW and window text go; null: kept only
  };

  Host();
  explicit Host(Options options);
  ~Host();
  Host(const Host &) = delete;
  Host &operator=(const Host &) = delete;

  // SET LIBRARY TO path [ADDITIVE]: without additive, the libraries loaded before are released
  // once the new one has loaded (a failed load keeps them); with additive, a file already
  // loaded is left as it is. Routines with parameter count -2 run at load; if one fails, the
  // library is not loaded. A library file belongs to one Host at a time in a process, because
  // the library keeps its link to the host in its own globals. Throws HostError.
  void loadLibrary(const std::string &path, bool additive = true);
  void releaseLibraries();
  bool hasFunction(const std::string &name) const;

  // Calls a library function by name, checking count and types against its type text first.
  Value call(const std::string &name, const std::vector<Value> &args);

  // The command language.
  Value evaluate(const std::string &expression);
  void execute(const std::string &command);
  // A line typed at the prompt: a command, or an expression whose value is printed.
  void executeInteractive(const std::string &line);
  // Runs a script; an error is rethrown with "<name>, line N: " before its message.
  void runScript(std::istream &in, const std::string &name);
  // The interactive prompt: each command (continued over lines ending in ";") runs like
  // executeInteractive; an error is printed to `errors` as "Error: <message>" and the prompt
  // goes on. Ends at the end of the input or after QUIT. `prompt` (when not null) receives the
  // prompt text before each command.
  void runPrompt(std::istream &in, std::ostream &errors, std::ostream *prompt);

  // Variables of the language.
  void setVariable(const std::string &name, const Value &value);
  Value variable(const std::string &name) const;

  // Objects: CREATEOBJECT("textbox") and CREATEOBJECT("form"); properties VALUE, SELSTART
  // (textbox), CAPTION (form), and any added. setProperty adds a missing property (it is for
  // setting up tests); the language and service 122 without the add flag refuse one.
  uint32_t createObject(const std::string &className);
  Value property(uint32_t object, const std::string &name) const;
  void setProperty(uint32_t object, const std::string &name, const Value &value);

  // Keyboard: scripted keys become readable once the host clock reaches their time; when the
  // queue is empty, keys are read from the key source without waiting. WAIT WINDOW without
  // NOWAIT and service 208 wait for the next queued key (virtual time jumps to it, real time is
  // slept), or for the source; they end at once when the source has ended or there is none, and
  // when a stop signal arrives.
  void queueKey(int32_t code, uint64_t atMillis = 0);
  void useKeySource(KeySource source);
  size_t pendingKeys() const;

  // Stop signals. After catchSignals(), SIGINT, SIGTERM and SIGHUP no longer end the process at
  // once: a signal asks the library call in progress to stop (service 209: the keyer lets the
  // key up and returns as its stop key would) and ends every wait for a key, until the command
  // ends. runPrompt then goes on after SIGINT and ends after the others; runScript ends after
  // any. pendingSignal() tells the program which signal came, so that it can end as that signal
  // asks once the libraries are unloaded. Process-wide.
  static void catchSignals();
  static int pendingSignal();

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
  // Total bytes the handle table holds at most (0: the default, 256 MiB); an allocation or a
  // resize past it fails, which is how tests reach a library's out-of-memory path.
  void setHandleLimit(size_t bytes);

  // The text WAIT WINDOW shows now; empty after WAIT CLEAR.
  std::string waitWindowText() const;
  // Paths of the loaded libraries, in load order.
  std::vector<std::string> libraries() const;
  // True once QUIT has run.
  bool quitRequested() const;

  // Windows: window 1 is the main window; a form has a window and a client window.
  int32_t mainWindow() const;
  int32_t objectWindow(uint32_t object, bool client) const;  // 0: the object has none
  int32_t systemWindow(int32_t window) const;                // 0: no such window
  WindowRect windowRect(int32_t window) const;               // window 0: the screen
  void setWindowRect(int32_t window, const WindowRect &rect);

  // Services as the libraries see them; public for tests of the service layer itself.
  int32_t service(FoxServiceArgs &args);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace foxhost
