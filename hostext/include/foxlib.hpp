// The C++ layer for library authors on top of foxext.h.
//
// Inside a library, failures are C++ exceptions (HostError, UserError); the dispatch entry
// catches every exception and turns it into the host's error service (83 or 84), so nothing but
// codes crosses the C boundary. Work handles are RAII objects and are freed on every path.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "foxext.h"

namespace fox {

// ---- errors ---------------------------------------------------------------------------------

// Ends the current call with a host error number (182: out of memory).
struct HostError {
  int32_t number;
};

// Ends the current call with a user error and its message text.
struct UserError {
  std::string message;
};

[[noreturn]] void raiseError(int32_t number);
[[noreturn]] void raiseUserError(std::string_view message);

// ---- parameters -----------------------------------------------------------------------------

// Read access to a parameter block. Index i is 0-based. A parameter that was not passed reads
// as absent (has() false); reading it with a typed accessor gives the type's empty value.
class Params {
 public:
  explicit Params(const FoxParamBlock *block) : block_(block) {}

  int count() const { return block_ ? block_->pCount : 0; }
  bool has(int i) const { return i >= 0 && i < count() && block_->p[i].ev_type != 0; }
  char type(int i) const { return has(i) ? block_->p[i].ev_type : 0; }
  const FoxValue &raw(int i) const;

  std::string text(int i) const;     // C: the bytes behind the handle
  int32_t integer(int i) const;      // I; N is truncated toward zero
  double number(int i) const;        // N; I widened
  bool logical(int i) const;         // L
  double date(int i) const;          // D: Julian day number
  uint32_t object(int i) const;      // O

 private:
  const FoxParamBlock *block_;
};

// ---- results --------------------------------------------------------------------------------

void returnInteger(int32_t value, int16_t width = 10);
void returnNumber(double value, int16_t width, uint32_t decimals);
void returnLogical(bool value);
void returnDate(double julianDay);
void returnDateText(std::string_view mmddyyyy);  // read under the host's date setting
void returnText(std::string_view text);          // copied into a new handle given to the host

// ---- handles --------------------------------------------------------------------------------

// A work handle owned by the library for the length of a call; freed when it goes out of scope
// unless released to the host.
class WorkHandle {
 public:
  explicit WorkHandle(uint32_t size);  // raises host error 182 when the host has no memory
  ~WorkHandle();
  WorkHandle(const WorkHandle &) = delete;
  WorkHandle &operator=(const WorkHandle &) = delete;

  FoxHandle handle() const { return handle_; }
  uint32_t size() const;
  char *data() const;                  // valid until the next resize
  void resize(uint32_t size);          // raises host error 182 on failure; the block is kept
  FoxHandle release();                 // hands the block to the host

 private:
  FoxHandle handle_ = 0;
};

// Bytes behind a host handle (a parameter's text, an evaluated text).
std::string handleText(FoxHandle handle, uint32_t length);
void freeHandle(FoxHandle handle);

// ---- host services --------------------------------------------------------------------------

// A value the host returned (evaluate, get property); texts are copied out and their handle
// freed, so the caller owns nothing.
struct HostValue {
  char type = 0;
  std::string text;
  double number = 0;     // N, D (day number), I widened
  int32_t integer = 0;   // I
  bool logical = false;  // L
  uint32_t object = 0;   // O
  int16_t width = 0;
  uint32_t decimals = 0;
};

HostValue evaluate(std::string_view expression);
void execute(std::string_view command);
int32_t readKey();  // 0 when no key is waiting
// Sleeps until a key can be read (FOX_KEY_READY), the keyboard's input has ended
// (FOX_KEY_INPUT_ENDED) or the host asks the call to stop (FOX_KEY_STOP).
int32_t waitForKey();
// Whether the host asks the running call to stop (FOX_STOP_REQUESTED). A host without the
// service never asks.
bool stopRequested();
void windowMove(int32_t window, int32_t row, int32_t column);
void windowPut(int32_t window, std::string_view text);
int32_t systemWindow(int32_t hostWindow);
int32_t mainWindow();
int32_t objectWindow(uint32_t object, int32_t which);  // which: 0 window, 16 client
void setProperty(uint32_t object, const char *name, const FoxValue &value, bool add);
void setTextProperty(uint32_t object, const char *name, std::string_view text, bool add);
void setIntegerProperty(uint32_t object, const char *name, int32_t value, bool add);
HostValue getProperty(uint32_t object, const char *name);

// Calls a raw host service; a non-zero answer raises that host error.
void callHost(FoxServiceArgs &args);
bool hostAttached();

// ---- clock ----------------------------------------------------------------------------------

namespace clock {
// Monotonic time; on the virtual clock every read advances time by its step.
uint64_t nowMicros();
// The millisecond clock, modulo 2^32 like a tick counter.
uint32_t nowMillis();
// Sleeps until the clock reads `micros`. On the virtual clock time jumps there at once; on the
// real one the thread sleeps on CLOCK_MONOTONIC to that absolute time, and a signal handled
// meanwhile wakes it early (the caller reads the clock and decides).
void sleepUntil(uint64_t micros);
// Used by tests that drive a library without a host; null returns to the real clock.
void useVirtual(FoxVirtualClock *clock);
bool isVirtual();
}  // namespace clock

// ---- dispatch -------------------------------------------------------------------------------

// Carries out one request for the library whose table is given. Never throws.
void dispatch(FoxRequest *request, const FoxTable &table) noexcept;

}  // namespace fox

// Defines the library's exported entry for its table.
#define FOX_DEFINE_DISPATCH(table)                                                 \
  extern "C" __attribute__((visibility("default"))) void DispatchAPI(FoxRequest *r) { \
    fox::dispatch(r, (table));                                                     \
  }
