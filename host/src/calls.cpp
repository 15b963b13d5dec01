// Loading libraries and calling their functions.
#include <algorithm>

#include "errors.hpp"
#include "host_impl.hpp"
#include "marshal.hpp"
#include "text.hpp"

namespace foxhost {

void Host::Impl::loadLibrary(const std::string &path, bool additive) {
  const std::string real = Library::resolve(path);
  if (additive && !real.empty()) {
    for (const auto &lib : libraries) {
      if (lib->path() == real) return;  // already loaded
    }
  }
  std::shared_ptr<Library> lib = Library::open(path, this);
  lib->start(&Impl::serviceEntry, this, options.virtualClock ? &clock : nullptr);
  // Only a library that loaded releases the earlier ones: a failed SET LIBRARY keeps them.
  if (!additive) libraries.clear();
  libraries.push_back(lib);
  try {
    for (const LibraryFunction &fn : lib->functions()) {
      if (fn.onLoad) invoke(lib, fn, {});
    }
  } catch (...) {
    libraries.erase(std::remove(libraries.begin(), libraries.end(), lib), libraries.end());
    throw;
  }
}

void Host::Impl::releaseLibraries() {
  // A library whose code is running stays mapped until its call returns (frames hold it).
  libraries.clear();
}

const LibraryFunction *Host::Impl::findFunction(const std::string &upperName,
                                                std::shared_ptr<Library> *library) const {
  for (const auto &lib : libraries) {
    if (const LibraryFunction *fn = lib->find(upperName)) {
      if (library) *library = lib;
      return fn;
    }
  }
  return nullptr;
}

Value Host::Impl::call(const std::string &name, const std::vector<Value> &args) {
  const std::string key = toUpper(name);
  std::shared_ptr<Library> lib;
  const LibraryFunction *fn = findFunction(key, &lib);
  if (!fn) err::fail(err::kFunctionNotFound, "Function " + key + " is not found");
  return invoke(lib, *fn, checkArguments(fn->signature, fn->name, args));
}

Value Host::Impl::invoke(const std::shared_ptr<Library> &lib, const LibraryFunction &fn,
                         const std::vector<Value> &args) {
  if (frames.size() >= kMaxCallDepth) {
    err::fail(err::kOutOfRange, "Library calls nested too deeply (" + fn.name + ")");
  }
  ParamBlockBuilder params(handles, args);  // frees the host's handles on every path
  keyboard.prepare();  // no key typed during the call is echoed, from its first moment on
  frames.push_back(std::make_unique<CallFrame>());
  frames.back()->library = lib;
  frames.back()->function = fn.name;
  FoxRequest request{};
  request.code = FOX_REQ_CALL;
  request.index = fn.index;
  request.params = &params.block();
  try {
    lib->dispatch(request);  // no exception may cross the boundary; a broken library's may
  } catch (...) {
    frames.pop_back();
    throw;
  }
  const std::unique_ptr<CallFrame> done = std::move(frames.back());
  frames.pop_back();
  if (done->error) throw *done->error;
  if (request.status != 0) {
    err::fail(request.status,
              "Library call " + fn.name + " failed with status " + std::to_string(request.status));
  }
  return done->result;
}

}  // namespace foxhost
