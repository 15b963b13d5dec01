#include "library.hpp"

#include <dlfcn.h>
#include <sys/stat.h>

#include <cctype>
#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>

#include "errors.hpp"
#include "text.hpp"

namespace foxhost {
namespace {

constexpr int kMaxTableRows = 4096;
constexpr size_t kMaxNameLength = 254;

// Which host holds each library file, and how many times.
struct Registry {
  std::mutex mutex;
  std::map<std::string, std::pair<const void *, int>> owners;
};

Registry &registry() {
  static Registry r;
  return r;
}

bool isFile(const std::string &path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

[[noreturn]] void invalid(const std::string &path, const std::string &why) {
  err::fail(err::kInvalidLibrary, "Library " + path + " " + why);
}

}  // namespace

std::string Library::resolve(const std::string &path) {
  for (const std::string &candidate : {path, path + ".so"}) {
    if (candidate.empty() || !isFile(candidate)) continue;
    char real[PATH_MAX];
    if (realpath(candidate.c_str(), real)) return real;
  }
  return {};
}

std::shared_ptr<Library> Library::open(const std::string &path, const void *owner) {
  const std::string real = resolve(path);
  if (real.empty()) err::fail(err::kFileNotFound, "Library file " + path + " does not exist");
  {
    Registry &r = registry();
    std::lock_guard<std::mutex> lock(r.mutex);
    auto &entry = r.owners[real];
    if (entry.second > 0 && entry.first != owner) {
      err::fail(err::kLibraryInUse, "Library " + real + " is in use by another host");
    }
    entry.first = owner;
    ++entry.second;
  }
  std::shared_ptr<Library> lib(new Library);
  lib->path_ = real;
  lib->owner_ = owner;
  // RTLD_LOCAL: each library keeps its own copy of the interface layer and its globals.
  lib->dl_ = dlopen(real.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!lib->dl_) {
    const char *why = dlerror();
    invalid(real, std::string("is not a loadable library: ") + (why ? why : "unknown reason"));
  }
  lib->entry_ = reinterpret_cast<FoxDispatchEntry>(dlsym(lib->dl_, FOX_DISPATCH_SYMBOL));
  if (!lib->entry_) invalid(real, std::string("has no ") + FOX_DISPATCH_SYMBOL + " entry");
  return lib;
}

Library::~Library() {
  if (dl_) dlclose(dl_);
  if (path_.empty()) return;
  Registry &r = registry();
  std::lock_guard<std::mutex> lock(r.mutex);
  const auto it = r.owners.find(path_);
  if (it != r.owners.end() && --it->second.second <= 0) r.owners.erase(it);
}

void Library::start(FoxHostService service, void *context, FoxVirtualClock *clock) {
  FoxRequest r{};
  r.code = FOX_REQ_STARTUP;
  r.hostService = service;
  r.hostContext = context;
  r.clock = clock;
  entry_(&r);
  if (r.status != 0) invalid(path_, "failed to start (status " + std::to_string(r.status) + ")");
  if (r.version != FOX_INTERFACE_VERSION) {
    invalid(path_, "answered interface version " + std::to_string(r.version) + ", not " +
                       std::to_string(FOX_INTERFACE_VERSION));
  }
  if (!r.table) invalid(path_, "gave no function table");
  readTable(*r.table);
}

void Library::readTable(const FoxTable &table) {
  if (table.infoCount < 0 || table.infoCount > kMaxTableRows) {
    invalid(path_, "has a function table of " + std::to_string(table.infoCount) + " rows");
  }
  if (table.infoCount > 0 && !table.infoPtr) invalid(path_, "has a function table without rows");
  functions_.clear();
  for (int i = 0; i < table.infoCount; ++i) {
    const FoxInfo &row = table.infoPtr[i];
    const std::string where = "row " + std::to_string(i + 1) + " of its function table";
    if (!row.funcName || !*row.funcName) invalid(path_, "has no name in " + where);
    const std::string name = toUpper(row.funcName);
    if (name.size() > kMaxNameLength) invalid(path_, "has an overlong name in " + where);
    if (!row.function) invalid(path_, "has no function for " + name);
    LibraryFunction fn;
    fn.name = name;
    fn.index = i;
    fn.onLoad = row.parameters == FOX_CALLONLOAD;
    std::string error;
    const auto sig =
        parseTypeText(fn.onLoad ? "" : row.parameterTypes, fn.onLoad ? 0 : row.parameters, error);
    if (!sig) invalid(path_, "function " + name + ": " + error);
    fn.signature = *sig;
    functions_.push_back(std::move(fn));
  }
}

const LibraryFunction *Library::find(const std::string &upperName) const {
  for (const LibraryFunction &fn : functions_) {
    if (!fn.onLoad && fn.name == upperName) return &fn;
  }
  return nullptr;
}

}  // namespace foxhost
