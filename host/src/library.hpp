// One loaded extension library: the shared object, its dispatch entry and a copy of its
// function table, checked when it is read.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foxext.h"
#include "type_text.hpp"

namespace foxhost {

struct LibraryFunction {
  std::string name;   // upper case
  int32_t index = 0;  // row of the library's table
  Signature signature;
  bool onLoad = false;  // parameter count -2: run once at load, not callable by name
};

class Library {
 public:
  // Finds the file (a name without ".so" also tries it with), opens it and looks up its entry.
  // `owner` is the host loading it: a library file can belong to one host at a time, because a
  // library keeps its host link in its own globals. Throws HostError: file not found, not a
  // library, no entry, in use by another host.
  static std::shared_ptr<Library> open(const std::string &path, const void *owner);
  // The real path `path` would open, or empty when there is no such file.
  static std::string resolve(const std::string &path);

  ~Library();
  Library(const Library &) = delete;
  Library &operator=(const Library &) = delete;

  // Start-up request: hands over the host's service and clock and reads the answer and the
  // function table. Throws HostError when the library reports a failure or its table is bad.
  void start(FoxHostService service, void *context, FoxVirtualClock *clock);

  const std::string &path() const { return path_; }
  const std::vector<LibraryFunction> &functions() const { return functions_; }
  // A function callable by name (case-blind), or null.
  const LibraryFunction *find(const std::string &upperName) const;

  void dispatch(FoxRequest &request) const { entry_(&request); }

 private:
  Library() = default;
  void readTable(const FoxTable &table);

  std::string path_;  // real path
  const void *owner_ = nullptr;
  void *dl_ = nullptr;
  FoxDispatchEntry entry_ = nullptr;
  std::vector<LibraryFunction> functions_;
};

}  // namespace foxhost
