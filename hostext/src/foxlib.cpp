#include "foxlib.hpp"

#include <cstring>
#include <ctime>
#include <map>
#include <new>

namespace fox {
namespace {

struct HostLink {
  FoxHostService service = nullptr;
  void *context = nullptr;
};

HostLink g_host;
FoxVirtualClock *g_clock = nullptr;

// Second table of requests 16/17/18: names the host registered with this library.
std::map<std::string, int32_t> &secondTable() {
  static std::map<std::string, int32_t> table;
  return table;
}

FoxServiceArgs makeArgs(int32_t code) {
  FoxServiceArgs args;
  std::memset(&args, 0, sizeof args);
  args.code = code;
  return args;
}

// Reports an error through the host; the host reports it when the call returns.
void reportError(int32_t code, int32_t number, std::string_view message) noexcept {
  if (!g_host.service) return;
  FoxServiceArgs args = makeArgs(code);
  args.a = number;
  args.text = message.data();
  args.textLength = static_cast<uint32_t>(message.size());
  g_host.service(g_host.context, &args);
}

}  // namespace

[[noreturn]] void raiseError(int32_t number) { throw HostError{number}; }
[[noreturn]] void raiseUserError(std::string_view message) {
  throw UserError{std::string(message)};
}

bool hostAttached() { return g_host.service != nullptr; }

void callHost(FoxServiceArgs &args) {
  if (!g_host.service) raiseError(FOX_ERR_NO_MEMORY);
  const int32_t status = g_host.service(g_host.context, &args);
  if (status != 0) raiseError(status);
}

// ---- parameters ---------------------------------------------------------------------------

const FoxValue &Params::raw(int i) const {
  static const FoxValue empty{};
  return has(i) ? block_->p[i] : empty;
}

std::string Params::text(int i) const {
  const FoxValue &v = raw(i);
  if (v.ev_type != 'C' || v.ev_handle == 0) return {};
  return handleText(v.ev_handle, v.ev_length);
}

int32_t Params::integer(int i) const {
  const FoxValue &v = raw(i);
  if (v.ev_type == 'I') return v.ev_long;
  if (v.ev_type == 'N' || v.ev_type == 'D') {
    const double d = v.ev_real;
    if (!(d > -2147483649.0 && d < 2147483648.0)) return d > 0 ? INT32_MAX : INT32_MIN;
    return static_cast<int32_t>(d);
  }
  if (v.ev_type == 'L') return v.ev_length ? 1 : 0;
  return 0;
}

double Params::number(int i) const {
  const FoxValue &v = raw(i);
  if (v.ev_type == 'I') return v.ev_long;
  if (v.ev_type == 'N' || v.ev_type == 'D') return v.ev_real;
  return 0;
}

bool Params::logical(int i) const {
  const FoxValue &v = raw(i);
  return v.ev_type == 'L' && v.ev_length != 0;
}

double Params::date(int i) const {
  const FoxValue &v = raw(i);
  return v.ev_type == 'D' ? v.ev_real : 0;
}

uint32_t Params::object(int i) const {
  const FoxValue &v = raw(i);
  return v.ev_type == 'O' ? v.ev_object : 0;
}

// ---- results ------------------------------------------------------------------------------

namespace {
void returnValue(const FoxValue &value) {
  FoxServiceArgs args = makeArgs(FOX_RET_VALUE);
  args.value = value;
  callHost(args);
}
}  // namespace

void returnInteger(int32_t value, int16_t width) {
  FoxValue v{};
  v.ev_type = 'I';
  v.ev_width = width;
  v.ev_long = value;
  returnValue(v);
}

void returnNumber(double value, int16_t width, uint32_t decimals) {
  FoxValue v{};
  v.ev_type = 'N';
  v.ev_width = width;
  v.ev_length = decimals;
  v.ev_real = value;
  returnValue(v);
}

void returnLogical(bool value) {
  FoxValue v{};
  v.ev_type = 'L';
  v.ev_length = value ? 1 : 0;
  returnValue(v);
}

void returnDate(double julianDay) {
  FoxValue v{};
  v.ev_type = 'D';
  v.ev_real = julianDay;
  returnValue(v);
}

void returnDateText(std::string_view mmddyyyy) {
  FoxServiceArgs args = makeArgs(FOX_RET_DATE);
  args.text = mmddyyyy.data();
  args.textLength = static_cast<uint32_t>(mmddyyyy.size());
  callHost(args);
}

void returnText(std::string_view text) {
  WorkHandle h(static_cast<uint32_t>(text.size()));
  if (!text.empty()) std::memcpy(h.data(), text.data(), text.size());
  FoxValue v{};
  v.ev_type = 'H';
  v.ev_length = static_cast<uint32_t>(text.size());
  v.ev_handle = h.handle();
  returnValue(v);  // the host owns the handle once it has accepted the result
  h.release();
}

// ---- handles ------------------------------------------------------------------------------

WorkHandle::WorkHandle(uint32_t size) {
  FoxServiceArgs args = makeArgs(FOX_HANDLE_ALLOC);
  args.a = static_cast<int32_t>(size);
  callHost(args);
  if (args.handle == 0) raiseError(FOX_ERR_NO_MEMORY);
  handle_ = args.handle;
}

WorkHandle::~WorkHandle() {
  if (handle_ != 0) freeHandle(handle_);
}

uint32_t WorkHandle::size() const {
  FoxServiceArgs args = makeArgs(FOX_HANDLE_SIZE);
  args.handle = handle_;
  callHost(args);
  return static_cast<uint32_t>(args.result);
}

char *WorkHandle::data() const {
  FoxServiceArgs args = makeArgs(FOX_HANDLE_POINTER);
  args.handle = handle_;
  callHost(args);
  return static_cast<char *>(args.pointer);
}

void WorkHandle::resize(uint32_t size) {
  FoxServiceArgs args = makeArgs(FOX_HANDLE_RESIZE);
  args.handle = handle_;
  args.a = static_cast<int32_t>(size);
  callHost(args);
  if (args.result == 0) raiseError(FOX_ERR_NO_MEMORY);
}

FoxHandle WorkHandle::release() {
  const FoxHandle h = handle_;
  handle_ = 0;
  return h;
}

std::string handleText(FoxHandle handle, uint32_t length) {
  FoxServiceArgs args = makeArgs(FOX_HANDLE_POINTER);
  args.handle = handle;
  callHost(args);
  FoxServiceArgs sizeArgs = makeArgs(FOX_HANDLE_SIZE);
  sizeArgs.handle = handle;
  callHost(sizeArgs);
  // Never read past the block, whatever length the value record claims.
  const uint32_t available = static_cast<uint32_t>(sizeArgs.result);
  if (!args.pointer) return {};
  return std::string(static_cast<const char *>(args.pointer), length < available ? length : available);
}

void freeHandle(FoxHandle handle) {
  if (!g_host.service || handle == 0) return;
  FoxServiceArgs args = makeArgs(FOX_HANDLE_FREE);
  args.handle = handle;
  g_host.service(g_host.context, &args);
}

// ---- host services ------------------------------------------------------------------------

namespace {
HostValue takeValue(const FoxValue &v) {
  HostValue out;
  out.type = v.ev_type;
  out.width = v.ev_width;
  switch (v.ev_type) {
    case 'C':
    case 'H':
      out.type = 'C';
      if (v.ev_handle) {
        out.text = handleText(v.ev_handle, v.ev_length);
        freeHandle(v.ev_handle);
      }
      break;
    case 'I':
      out.integer = v.ev_long;
      out.number = v.ev_long;
      break;
    case 'N':
    case 'D':
      out.number = v.ev_real;
      out.decimals = v.ev_length;
      break;
    case 'L':
      out.logical = v.ev_length != 0;
      break;
    case 'O':
      out.object = v.ev_object;
      break;
    default:
      break;
  }
  return out;
}
}  // namespace

HostValue evaluate(std::string_view expression) {
  FoxServiceArgs args = makeArgs(FOX_EVALUATE);
  args.text = expression.data();
  args.textLength = static_cast<uint32_t>(expression.size());
  callHost(args);
  return takeValue(args.value);
}

void execute(std::string_view command) {
  FoxServiceArgs args = makeArgs(FOX_EXECUTE);
  args.text = command.data();
  args.textLength = static_cast<uint32_t>(command.size());
  callHost(args);
}

int32_t readKey() {
  FoxServiceArgs args = makeArgs(FOX_READ_KEY);
  args.a = 1;
  args.b = 2;
  callHost(args);
  return args.result;
}

int32_t waitForKey() {
  FoxServiceArgs args = makeArgs(FOX_WAIT_KEY);
  callHost(args);
  return args.result;
}

bool stopRequested() {
  if (!g_host.service) return false;
  FoxServiceArgs args = makeArgs(FOX_STOP_REQUESTED);
  return g_host.service(g_host.context, &args) == 0 && args.result != 0;
}

void windowMove(int32_t window, int32_t row, int32_t column) {
  FoxServiceArgs args = makeArgs(FOX_WINDOW_MOVE);
  args.a = window;
  args.b = row;
  args.c = column;
  args.d = 2;
  args.result = 1;
  callHost(args);
}

void windowPut(int32_t window, std::string_view text) {
  FoxServiceArgs args = makeArgs(FOX_WINDOW_PUT);
  args.a = window;
  args.text = text.data();
  args.textLength = static_cast<uint32_t>(text.size());
  callHost(args);
}

int32_t systemWindow(int32_t hostWindow) {
  FoxServiceArgs args = makeArgs(FOX_SYSTEM_WINDOW);
  args.a = hostWindow;
  callHost(args);
  return args.result;
}

int32_t mainWindow() {
  FoxServiceArgs args = makeArgs(FOX_MAIN_WINDOW);
  args.a = 0;
  args.b = 1;
  callHost(args);
  return args.result;
}

int32_t objectWindow(uint32_t object, int32_t which) {
  FoxServiceArgs args = makeArgs(FOX_OBJECT_WINDOW);
  args.a = static_cast<int32_t>(object);
  args.b = which;
  callHost(args);
  return args.result;
}

void setProperty(uint32_t object, const char *name, const FoxValue &value, bool add) {
  FoxServiceArgs args = makeArgs(FOX_SET_PROPERTY);
  args.a = static_cast<int32_t>(object);
  args.name = name;
  args.value = value;
  args.b = add ? 1 : 0;
  callHost(args);
}

void setTextProperty(uint32_t object, const char *name, std::string_view text, bool add) {
  WorkHandle h(static_cast<uint32_t>(text.size()));
  if (!text.empty()) std::memcpy(h.data(), text.data(), text.size());
  FoxValue v{};
  v.ev_type = 'C';
  v.ev_length = static_cast<uint32_t>(text.size());
  v.ev_handle = h.handle();
  setProperty(object, name, v, add);  // the host copies the text; the work handle is freed here
}

void setIntegerProperty(uint32_t object, const char *name, int32_t value, bool add) {
  FoxValue v{};
  v.ev_type = 'I';
  v.ev_width = 10;
  v.ev_long = value;
  setProperty(object, name, v, add);
}

HostValue getProperty(uint32_t object, const char *name) {
  FoxServiceArgs args = makeArgs(FOX_GET_PROPERTY);
  args.a = static_cast<int32_t>(object);
  args.name = name;
  callHost(args);
  return takeValue(args.value);
}

// ---- clock --------------------------------------------------------------------------------

namespace clock {
uint64_t nowMicros() {
  if (g_clock) {
    g_clock->nowMicros += g_clock->advanceMicros;
    return g_clock->nowMicros;
  }
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000u + static_cast<uint64_t>(ts.tv_nsec) / 1000u;
}

uint32_t nowMillis() { return static_cast<uint32_t>(nowMicros() / 1000u); }

void sleepUntil(uint64_t micros) {
  if (g_clock) {
    if (g_clock->nowMicros < micros) g_clock->nowMicros = micros;
    return;
  }
  timespec at{};
  at.tv_sec = static_cast<time_t>(micros / 1000000u);
  at.tv_nsec = static_cast<long>(micros % 1000000u) * 1000;
  clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);  // EINTR: the caller decides
}

void useVirtual(FoxVirtualClock *clock) { g_clock = clock; }
bool isVirtual() { return g_clock != nullptr; }
}  // namespace clock

// ---- dispatch -----------------------------------------------------------------------------

namespace {
void runGuarded(FoxFunction fn, FoxParamBlock *params) noexcept {
  try {
    fn(params);
  } catch (const HostError &e) {
    reportError(FOX_ERROR, e.number, {});
  } catch (const UserError &e) {
    reportError(FOX_USER_ERROR, 0, e.message);
  } catch (const std::bad_alloc &) {
    reportError(FOX_ERROR, FOX_ERR_NO_MEMORY, {});
  } catch (const std::exception &e) {
    reportError(FOX_USER_ERROR, 0, e.what());
  } catch (...) {
    reportError(FOX_USER_ERROR, 0, "internal error in library");
  }
}
}  // namespace

void dispatch(FoxRequest *r, const FoxTable &table) noexcept {
  if (!r) return;
  r->status = 0;
  try {
    switch (r->code) {
      case FOX_REQ_STARTUP:
        g_host.service = r->hostService;
        g_host.context = r->hostContext;
        g_clock = r->clock;
        [[fallthrough]];
      case FOX_REQ_TABLE:
        r->table = &table;
        r->version = FOX_INTERFACE_VERSION;
        break;
      case FOX_REQ_CALL: {
        if (r->index < 0 || r->index >= table.infoCount) {
          r->status = 1;  // no such function
          break;
        }
        FoxParamBlock empty{};
        runGuarded(table.infoPtr[r->index].function, r->params ? r->params : &empty);
        break;
      }
      case FOX_REQ_CALL_ROUTINE:
      case FOX_REQ_CALL_ROUTINE_NOARGS: {
        if (!r->routine) {
          r->status = 1;
          break;
        }
        FoxParamBlock empty{};
        runGuarded(r->routine,
                   r->code == FOX_REQ_CALL_ROUTINE && r->params ? r->params : &empty);
        break;
      }
      case FOX_REQ_ALLOC: {
        FoxServiceArgs args = makeArgs(FOX_HANDLE_ALLOC);
        args.a = static_cast<int32_t>(r->size);
        callHost(args);
        r->handle = args.handle;
        if (r->handle == 0) r->status = FOX_ERR_NO_MEMORY;
        break;
      }
      case FOX_REQ_FREE:
        freeHandle(r->handle);
        break;
      case FOX_REQ_POINTER: {
        FoxServiceArgs args = makeArgs(FOX_HANDLE_POINTER);
        args.handle = r->handle;
        callHost(args);
        r->pointer = args.pointer;
        break;
      }
      case FOX_REQ_REGISTER:
        if (!r->name) {
          r->status = 1;
          break;
        }
        secondTable()[r->name] = r->number;
        break;
      case FOX_REQ_DROP:
        if (r->name) secondTable().erase(r->name);
        break;
      case FOX_REQ_LOOKUP: {
        r->number = 0;
        if (!r->name) break;
        const auto it = secondTable().find(r->name);
        if (it != secondTable().end()) r->number = it->second;
        break;
      }
      default:
        r->status = 1;  // unknown request
        break;
    }
  } catch (const HostError &e) {
    r->status = e.number;
  } catch (...) {
    r->status = FOX_ERR_NO_MEMORY;
  }
}

}  // namespace fox
