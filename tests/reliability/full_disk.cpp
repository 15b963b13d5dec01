#include "full_disk.hpp"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

namespace orbelle::reliability {
namespace {

bool inPrivateNamespace = false;
constexpr const char* kFiller = "/.filler";

}  // namespace

bool enterPrivateMountNamespace() {
  if (::unshare(CLONE_NEWNS) != 0) return false;
  inPrivateNamespace = ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return inPrivateNamespace;
}

FullFolder::FullFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "full_disk_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return;
  path_ = pattern;
  tmpfs_ = inPrivateNamespace && ::mount("tmpfs", path_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV,
                                         "size=16m,mode=0700") == 0;
}

FullFolder::~FullFolder() {
  release();
  if (path_.empty()) return;
  if (tmpfs_) ::umount2(path_.c_str(), MNT_DETACH);
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

bool FullFolder::fill() {
  if (full_) return true;
  if (!tmpfs_) {
    if (::getrlimit(RLIMIT_FSIZE, &oldLimit_) != 0) return false;
    const rlimit none{0, oldLimit_.rlim_max};
    full_ = ::setrlimit(RLIMIT_FSIZE, &none) == 0;
    return full_;
  }
  const int fd = ::open((path_ + kFiller).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  const std::vector<char> chunk(1 << 16, 'x');
  for (;;) {
    const ssize_t n = ::write(fd, chunk.data(), chunk.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      full_ = errno == ENOSPC;
      break;
    }
  }
  ::close(fd);
  return full_;
}

void FullFolder::release() {
  if (!full_) return;
  full_ = false;
  if (tmpfs_) {
    ::unlink((path_ + kFiller).c_str());
  } else {
    ::setrlimit(RLIMIT_FSIZE, &oldLimit_);
  }
}

}  // namespace orbelle::reliability
