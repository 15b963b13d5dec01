// What the fuzz targets share: a failed check aborts (how a target reports a finding), and a
// private scratch folder in memory for the files a target writes.
#pragma once

#include <stdlib.h>

#include <string>

namespace fuzz {

inline void check(bool ok) {
  if (!ok) std::abort();
}

// A new folder under /dev/shm, made once per process; `prefix` names the target.
inline std::string scratchFolder(const char* prefix) {
  std::string pattern = std::string("/dev/shm/") + prefix + "_XXXXXX";
  const char* made = ::mkdtemp(pattern.data());
  check(made != nullptr);
  return made;
}

}  // namespace fuzz
