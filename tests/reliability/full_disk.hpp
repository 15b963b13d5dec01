#pragma once

// A folder whose file system can be made full on demand, for tests of writes to a full disk.

#include <sys/resource.h>

#include <string>

namespace orbelle::reliability {

// Enters a mount namespace of the process's own, with no mount propagating to or from the rest
// of the system, so that tests may mount a small file system that disappears with the process.
// Must run before any thread is started. False when the process may not (it needs root, or
// CAP_SYS_ADMIN).
bool enterPrivateMountNamespace();

// A fresh folder, removed with the object. In a private mount namespace it is a 16 MB tmpfs of
// its own and "full" means that every block is taken (writes fail with ENOSPC). Elsewhere it is
// an ordinary temporary folder and "full" is a file-size limit of 0 bytes on this process
// (writes fail with EFBIG; SIGXFSZ must be ignored), the nearest thing without mounting.
class FullFolder {
 public:
  FullFolder();
  ~FullFolder();
  FullFolder(const FullFolder&) = delete;
  FullFolder& operator=(const FullFolder&) = delete;

  bool valid() const { return !path_.empty(); }
  const std::string& path() const { return path_; }
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  bool isTmpfs() const { return tmpfs_; }
  const char* how() const { return tmpfs_ ? "a full tmpfs" : "a zero file-size limit"; }

  // From now on no file can grow; true when the folder is full.
  bool fill();
  // Space again.
  void release();

 private:
  std::string path_;
  bool tmpfs_ = false;
  bool full_ = false;
  rlimit oldLimit_{};
};

}  // namespace orbelle::reliability
