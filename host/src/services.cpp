// The host services a library calls through its service callback.
#include <climits>
#include <new>
#include <string_view>

#include "dates.hpp"
#include "errors.hpp"
#include "host_impl.hpp"
#include "marshal.hpp"

namespace foxhost {
namespace {

std::string textArgument(const FoxServiceArgs &args) {
  if (!args.text) {
    if (args.textLength != 0) err::fail(err::kInvalidService, "Service text is missing");
    return {};
  }
  return std::string(args.text, args.textLength);
}

const char *nameArgument(const FoxServiceArgs &args) {
  if (!args.name || !*args.name) err::fail(err::kInvalidService, "Property name is missing");
  return args.name;
}

[[noreturn]] void badHandle(FoxHandle handle) {
  err::fail(err::kInvalidHandle, "Invalid handle " + std::to_string(handle));
}

}  // namespace

int32_t Host::Impl::serviceEntry(void *context, FoxServiceArgs *args) {
  if (!context || !args) return err::kInvalidService;
  return static_cast<Impl *>(context)->service(*args);
}

int32_t Host::Impl::service(FoxServiceArgs &args) noexcept {
  try {
    serve(args);
    return 0;
  } catch (const HostError &e) {
    if (CallFrame *f = frame()) f->lastServiceError = e;
    return e.number() != 0 ? e.number() : err::kInvalidService;
  } catch (const std::bad_alloc &) {
    if (CallFrame *f = frame())
      f->lastServiceError = HostError(err::kNoMemory, err::raisedErrorMessage(err::kNoMemory));
    return err::kNoMemory;
  } catch (...) {
    return err::kInvalidService;
  }
}

void Host::Impl::serve(FoxServiceArgs &args) {
  CallFrame *const f = frame();
  const auto needFrame = [&] {
    if (!f)
      err::fail(err::kNoCall, "Service " + std::to_string(args.code) + " outside a library call");
  };
  switch (args.code) {
    case FOX_RET_DATE:
      needFrame();
      f->result = Value::Date(static_cast<double>(dates::parse(textArgument(args), dateFormat)));
      return;
    case FOX_RET_VALUE: {
      needFrame();
      const FoxValue &v = args.value;
      if (v.ev_type == 0 || std::string_view("INLDHCO").find(v.ev_type) == std::string_view::npos) {
        err::fail(err::kInvalidService,
                  "Invalid result type " + std::to_string(static_cast<int>(v.ev_type)));
      }
      f->result = fromFoxValue(v, handles);
      // The host takes over the handle of an H result; a C result's handle stays the library's.
      if (v.ev_type == 'H' && v.ev_handle) handles.release(v.ev_handle);
      return;
    }
    case FOX_WINDOW_MOVE:
      if (!windows.moveOutput(args.a, args.b, args.c)) {
        err::fail(err::kOutOfRange, "Invalid window " + std::to_string(args.a) + " or position");
      }
      return;
    case FOX_WINDOW_PUT: {
      const std::string text = textArgument(args);
      if (!windows.put(args.a, text))
        err::fail(err::kOutOfRange, "Invalid window " + std::to_string(args.a));
      write(text);
      return;
    }
    case FOX_EXECUTE: {
      const std::string command = textArgument(args);
      executed.push_back(command);
      executeText(command, false);
      return;
    }
    case FOX_EVALUATE:
      args.value = toFoxValue(evaluateText(textArgument(args)), handles);
      return;
    case FOX_READ_KEY:
      args.result = keyboard.read(nowMillis());
      return;
    case FOX_WAIT_KEY:
      args.result = waitKey();
      return;
    case FOX_STOP_REQUESTED:
      args.result = stopRequested() ? 1 : 0;
      return;
    case FOX_ERROR:
      needFrame();
      if (!f->error) {
        const auto &last = f->lastServiceError;
        f->error = last && last->number() == args.a
                       ? *last
                       : HostError(args.a, err::raisedErrorMessage(args.a));
      }
      return;
    case FOX_USER_ERROR:
      needFrame();
      if (!f->error) f->error = HostError(err::kUser, textArgument(args));
      return;
    case FOX_SYSTEM_WINDOW:
      if (args.a != 0 && !windows.exists(args.a)) {
        err::fail(err::kOutOfRange, "Invalid window " + std::to_string(args.a));
      }
      args.result = Windows::systemHandle(args.a);
      return;
    case FOX_MAIN_WINDOW:
      args.result = Windows::kMainWindow;
      return;
    case FOX_OBJECT_WINDOW:
      args.result = objects.window(static_cast<uint32_t>(args.a), args.b == 16);
      return;
    case FOX_SET_PROPERTY:
      objects.set(static_cast<uint32_t>(args.a), nameArgument(args),
                  fromFoxValue(args.value, handles), args.b != 0);
      args.result = 1;
      return;
    case FOX_GET_PROPERTY:
      args.value =
          toFoxValue(objects.get(static_cast<uint32_t>(args.a), nameArgument(args)), handles);
      return;
    case FOX_HANDLE_ALLOC:
      args.handle = args.a < 0 ? 0 : handles.allocate(static_cast<size_t>(args.a));
      return;
    case FOX_HANDLE_FREE:
      if (!handles.release(args.handle)) badHandle(args.handle);
      return;
    case FOX_HANDLE_RESIZE:
      if (!handles.contains(args.handle)) badHandle(args.handle);
      args.result = args.a >= 0 && handles.resize(args.handle, static_cast<size_t>(args.a)) ? 1 : 0;
      return;
    case FOX_HANDLE_LOCK:
      if (!handles.lock(args.handle)) badHandle(args.handle);
      return;
    case FOX_HANDLE_UNLOCK:
      if (!handles.unlock(args.handle)) badHandle(args.handle);
      return;
    case FOX_HANDLE_POINTER:
      args.pointer = handles.pointer(args.handle);
      if (!args.pointer) badHandle(args.handle);
      return;
    case FOX_HANDLE_SIZE: {
      const auto size = handles.size(args.handle);
      if (!size) badHandle(args.handle);
      args.result = static_cast<int32_t>(std::min<size_t>(*size, INT32_MAX));
      return;
    }
    case FOX_WINDOW_RECT: {
      std::optional<WindowRect> rect;
      if (args.a == 0) {
        rect = windows.rect(0);
      } else if (const auto window = windows.windowOfSystem(args.a)) {
        rect = windows.rect(*window);
      }
      args.result = rect ? 1 : 0;
      if (rect) {
        args.a = rect->left;
        args.b = rect->top;
        args.c = rect->width;
        args.d = rect->height;
      }
      return;
    }
    default:
      err::fail(err::kInvalidService, "Unknown service " + std::to_string(args.code));
  }
}

}  // namespace foxhost
