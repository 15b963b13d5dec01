#include "ini/atomic_file.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <random>

namespace orbelle {
namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a write should replace: the target of a symbolic link, else the path itself.
std::string replacementTarget(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  }
  return path;
}

// Temporaries are named ".<name>.tmp<pid>.<counter>.<random>" beside their target.
std::string temporaryPrefix(const std::string& target) { return "." + nameOf(target) + ".tmp"; }

// A temporary this old cannot belong to a write in progress.
constexpr std::time_t kStaleTemporarySeconds = 10 * 60;

// Removes the temporaries of `target` left by writers that were killed mid-write: those whose
// process no longer exists and that have not been touched for a while. A live process's file,
// another user's, or one whose name does not parse is left alone.
void removeStaleTemporaries(const std::string& target) {
  const std::string folder = folderOf(target);
  const std::string prefix = temporaryPrefix(target);
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  const std::time_t now = std::time(nullptr);
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.size() <= prefix.size() || name.substr(0, prefix.size()) != prefix) continue;
    const std::string_view rest = name.substr(prefix.size());
    const std::size_t dot = rest.find('.');
    if (dot == 0 || dot == std::string_view::npos || dot > 9) continue;
    long pid = 0;
    bool digits = true;
    for (const char c : rest.substr(0, dot)) {
      if (c < '0' || c > '9') digits = false;
      pid = pid * 10 + (c - '0');
    }
    if (!digits || pid <= 0 || pid == ::getpid()) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    const std::string path = folder + "/" + std::string(name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::getuid() ||
        now - st.st_mtime < kStaleTemporarySeconds) {
      continue;
    }
    ::unlink(path.c_str());
  }
  ::closedir(dir);
}

// Creates a new temporary file beside `target`, named after it, with the given permissions.
int createTemporary(const std::string& target, mode_t mode, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  std::random_device entropy;
  const std::string prefix = folderOf(target) + "/" + temporaryPrefix(target);
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempPath = prefix + std::to_string(::getpid()) + "." + std::to_string(counter++) + "." +
               std::to_string(entropy());
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);  // best effort: the rename itself has already happened
  ::close(fd);
}

}  // namespace

FileText readTextFile(const std::string& path) {
  FileText result;
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) {
    result.status =
        (errno == ENOENT || errno == ENOTDIR) ? FileText::Status::Absent : FileText::Status::Failed;
    return result;
  }
  result.status = FileText::Status::Failed;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::size_t>(st.st_size) > kMaxTextFileBytes) {
    return result;
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return result;
    }
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > kMaxTextFileBytes) return result;
  }
  result.status = FileText::Status::Read;
  result.text = std::move(text);
  return result;
}

bool replaceFileAtomically(const std::string& path, std::string_view contents) {
  if (path.empty()) return false;
  const std::string target = replacementTarget(path);
  mode_t mode = 0666;  // narrowed by the umask at creation
  struct stat old {};
  const bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists) {
    if (!S_ISREG(old.st_mode)) return false;
    mode = old.st_mode & 07777;
  }
  std::string tempPath;
  Fd fd(createTemporary(target, mode, tempPath));
  if (fd.get() < 0) return false;
  const bool written = writeAll(fd.get(), contents) && (!exists || ::fchmod(fd.get(), mode) == 0) &&
                       ::fsync(fd.get()) == 0;
  if (!fd.close() || !written || ::rename(tempPath.c_str(), target.c_str()) != 0) {
    ::unlink(tempPath.c_str());
    return false;
  }
  syncFolder(folderOf(target));
  removeStaleTemporaries(target);
  return true;
}

}  // namespace orbelle
