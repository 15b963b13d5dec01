// The state behind foxhost::Host and the language context it gives the interpreter.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "foxhost/host.hpp"
#include "handle_table.hpp"
#include "keyboard.hpp"
#include "lang/context.hpp"
#include "library.hpp"
#include "objects.hpp"
#include "windows.hpp"

namespace foxhost {

// One library call in progress. Services 10/11/83/84 act on the innermost one.
struct CallFrame {
  std::shared_ptr<Library> library;  // keeps the library mapped while its code runs
  std::string function;
  Value result;                               // type 0 until a return service sets it
  std::optional<HostError> error;             // raised by service 83 or 84
  std::optional<HostError> lastServiceError;  // why the last failing service failed
};

struct Host::Impl final : lang::Context {
  static constexpr size_t kMaxCallDepth = 64;

  explicit Impl(Options options);
  ~Impl() override;

  // ---- libraries and calls (calls.cpp) ----
  void loadLibrary(const std::string &path, bool additive);
  void releaseLibraries();
  const LibraryFunction *findFunction(const std::string &upperName,
                                      std::shared_ptr<Library> *library) const;
  Value call(const std::string &name, const std::vector<Value> &args);
  Value invoke(const std::shared_ptr<Library> &library, const LibraryFunction &fn,
               const std::vector<Value> &args);
  CallFrame *frame() { return frames.empty() ? nullptr : frames.back().get(); }

  // ---- services (services.cpp) ----
  int32_t service(FoxServiceArgs &args) noexcept;
  void serve(FoxServiceArgs &args);
  static int32_t serviceEntry(void *context, FoxServiceArgs *args);

  // ---- language (host.cpp) ----
  Value evaluateText(const std::string &expression);
  void executeText(const std::string &command, bool interactive);
  void write(const std::string &text);
  uint64_t nowMillis() const;

  // ---- keys and stop signals (key_waits.cpp) ----
  // WAIT WINDOW: the next queued key, or one from the key source.
  void waitForKey();
  // Service 208: FOX_KEY_READY, FOX_KEY_INPUT_ENDED or FOX_KEY_STOP.
  int32_t waitKey();
  // Service 209, and every wait: a stop signal is pending.
  bool stopRequested() const;
  // Until host time `atMillis`: virtual time jumps there; real time is slept, ending early
  // when a stop signal arrives.
  void sleepUntilMillis(uint64_t atMillis);

  Value variable(const std::string &name) override;
  void setVariable(const std::string &name, const Value &value) override;
  Value property(const Value &object, const std::string &name) override;
  void setProperty(const Value &object, const std::string &name, const Value &value) override;
  uint32_t createObject(const std::string &className) override;
  Value callLibrary(const std::string &name, const std::vector<Value> &args) override;
  std::string dateSetting() override { return dateFormat; }
  void setDateSetting(const std::string &setting) override { dateFormat = setting; }
  std::string setting(const std::string &name) override;
  void setLibrary(const std::string &path, bool additive) override;
  void print(const std::string &text) override { write(text); }
  void waitWindow(const std::optional<std::string> &text, bool nowait) override;
  void waitClear() override { waitText.clear(); }
  void quit() override { quitRequested = true; }

  Options options;
  FoxVirtualClock clock{};
  HandleTable handles;
  Windows windows;
  Objects objects;
  Keyboard keyboard;
  std::vector<std::shared_ptr<Library>> libraries;
  std::vector<std::unique_ptr<CallFrame>> frames;
  std::map<std::string, Value> variables;
  std::string dateFormat = "AMERICAN";
  std::string output;
  std::vector<std::string> executed;
  std::string waitText;
  bool quitRequested = false;
  int topLevel = 0;  // nesting of public entry points; the terminal is restored at 0
};

}  // namespace foxhost
