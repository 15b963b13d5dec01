// A writer rewriting "orbelle.ini" or "MapCache.bmp" is killed 150 times, many kills inside a
// write: the file is always the old or the new one, never a torn one.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "crash_writers.hpp"
#include "ini/ini_store.hpp"
#include "model/settings_file.hpp"
#include "raster/qt/picture_file.hpp"

namespace orbelle::reliability {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 150;

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A running writer; killed and reaped at the latest when the object goes.
class Writer {
 public:
  Writer(std::string_view kind, const std::string& path) {
    // Everything the child needs is prepared before the fork: it only duplicates and execs.
    std::string program = "reliability_tests", flag(kWriterFlag), k(kind), file(path);
    char* argv[] = {program.data(), flag.data(), k.data(), file.data(), nullptr};
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::dup2(ready[1], kReadyFd);
      ::execv("/proc/self/exe", argv);
      ::_exit(127);
    }
    ::close(ready[1]);
    pollfd p{ready[0], POLLIN, 0};
    char byte = 0;
    started_ = pid_ > 0 && ::poll(&p, 1, 30000) == 1 && ::read(ready[0], &byte, 1) == 1;
    ::close(ready[0]);
  }
  ~Writer() { kill(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

  bool started() const { return started_; }
  pid_t pid() const { return pid_; }
  // SIGKILL and reap; true when the writer was still running until then.
  bool kill() {
    if (pid_ <= 0) return false;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
  }

 private:
  pid_t pid_ = -1;
  bool started_ = false;
};

// True when the process has a file in the folder open (a write in progress): its descriptors
// name the file, or "<folder>/#<inode> (deleted)" for an unnamed temporary file.
bool writingInto(pid_t pid, const fs::path& folder) {
  std::error_code error;
  const std::string prefix = folder.string() + "/";
  for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
    const fs::path target = fs::read_symlink(fd.path(), error);
    if (!error && target.string().starts_with(prefix)) return true;
  }
  return false;
}

// Removes every entry of the folder except `keep`; returns how many there were.
int removeOthers(const fs::path& folder, const std::string& keep) {
  int others = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename() == keep) continue;
    ++others;
    fs::remove(entry.path());
  }
  return others;
}

struct KillFigures {
  int kills = 0;
  int midWrite = 0;   // kills while the writer had a file in the folder open
  int leftovers = 0;  // kills that left a temporary file behind
};

// Counts the changes in a folder (files created, written, closed, renamed) that inotify reports.
class FolderChanges {
 public:
  explicit FolderChanges(const fs::path& folder) : fd_(::inotify_init1(IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO);
  }
  ~FolderChanges() { ::close(fd_); }
  int seen() const { return seen_; }
  FolderChanges(const FolderChanges&) = delete;
  FolderChanges& operator=(const FolderChanges&) = delete;

  // Blocks until `count` changes have come; false when none comes for `timeoutMs`.
  bool waitFor(int count, int timeoutMs = 30000) {
    alignas(inotify_event) char buffer[4096];
    while (seen_ < count) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, timeoutMs) != 1) return false;
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      for (ssize_t at = 0; at < n; ++seen_) {
        at += static_cast<ssize_t>(sizeof(inotify_event) +
                                   reinterpret_cast<const inotify_event*>(buffer + at)->len);
      }
    }
    return true;
  }

 private:
  int fd_;
  int seen_ = 0;
};

// The changes one cycle of the writer (B then A) makes in a folder of its own. Kills after up to
// half as many and one more land anywhere in the first write (B replacing the reset file A) or
// just after it; the second write is the same code the other way round.
template <class Cycle>
int changesOfOneCycle(const fs::path& folder, Cycle cycle) {
  FolderChanges changes(folder);
  cycle();
  changes.waitFor(std::numeric_limits<int>::max(), 0);
  return changes.seen();
}

// Kills a writer of `kind` kKills times, resetting the file with `reset` before each run; `check`
// judges the file after a kill. Each kill comes after a random number (up to `maxChanges`) of
// the writer's changes in the folder: it lands anywhere in the write sequence, with no sleep and
// no assumed speed.
template <class Reset, class Check>
KillFigures killRepeatedly(std::string_view kind, const fs::path& folder, const std::string& name,
                           int maxChanges, Reset reset, Check check) {
  std::random_device entropy;
  const unsigned seed = entropy();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> changeCount(1, std::max(1, maxChanges));
  KillFigures figures;
  const std::string path = (folder / name).string();
  for (int i = 0; i < kKills; ++i) {
    reset(path);
    const int changes = changeCount(random);
    FolderChanges watch(folder);
    Writer writer(kind, path);
    if (!writer.started() || !watch.waitFor(changes)) {
      ADD_FAILURE() << "the writer did not start or did not write";
      break;
    }
    figures.midWrite += writingInto(writer.pid(), folder);
    EXPECT_TRUE(writer.kill()) << "the writer stopped by itself";
    ++figures.kills;
    if (!check(fileText(path))) {
      ADD_FAILURE() << "torn " << name << " after " << changes << " changes (seed " << seed
                    << ", kill " << i << ")";
      break;
    }
    figures.leftovers += removeOthers(folder, name) > 0;
  }
  std::printf("%s: %d kills, %d in the middle of a write, %d left a temporary\n", name.c_str(),
              figures.kills, figures.midWrite, figures.leftovers);
  return figures;
}

// The two files the window rewrites, each written B then A by the window's own code. The BMP
// header's resolution (bytes 38 to 45) depends on the process's screen, which the writer has none
// of; every other byte must be A's or B's.
struct Rewritten {
  std::string_view kind;
  const char* name;
  std::function<void(const std::string&path)> writeB, writeA;
  bool ignoresResolution;
};

void PrintTo(const Rewritten& file, std::ostream* out) { *out << file.name; }

class CrashSafeFiles : public ::testing::TestWithParam<Rewritten> {};

TEST_P(CrashSafeFiles, AKilledWriterLeavesTheOldOrTheNewFile) {
  const Rewritten& file = GetParam();
  QTemporaryDir scratchDir, liveDir;
  ASSERT_TRUE(scratchDir.isValid() && liveDir.isValid());
  const std::string scratch = (scratchDir.path() + "/" + file.name).toStdString();
  std::string bytesA, bytesB;
  const int cycle = changesOfOneCycle(scratchDir.path().toStdString(), [&] {
    file.writeB(scratch);
    bytesB = fileText(scratch);
    file.writeA(scratch);
    bytesA = fileText(scratch);
  });
  ASSERT_NE(bytesA, bytesB);
  const auto same = [&](const std::string& x, const std::string& y) {
    if (!file.ignoresResolution) return x == y;
    return x.size() == y.size() && x.compare(0, 38, y, 0, 38) == 0 &&
           x.compare(46, std::string::npos, y, 46, std::string::npos) == 0;
  };
  const KillFigures figures = killRepeatedly(
      file.kind, liveDir.path().toStdString(), file.name, cycle / 2 + 1,
      [&](const std::string& path) { std::ofstream(path, std::ios::binary) << bytesA; },
      [&](const std::string& text) { return same(text, bytesA) || same(text, bytesB); });
  EXPECT_EQ(figures.kills, kKills);
  EXPECT_GT(figures.midWrite, kKills / 10) << "too few kills landed inside a write";
}

INSTANTIATE_TEST_SUITE_P(
    WindowFiles, CrashSafeFiles,
    ::testing::Values(
        Rewritten{kIniWriter, "orbelle.ini",
                  [](const std::string& path) { model::writeSettings(path, settingsB(), {}); },
                  [](const std::string& path) { model::writeSettings(path, settingsA(), {}); },
                  false},
        Rewritten{
            kCacheWriter, "MapCache.bmp",
            [](const std::string& path) { raster::writeBmp(mapB(), QString::fromStdString(path)); },
            [](const std::string& path) { raster::writeBmp(mapA(), QString::fromStdString(path)); },
            true}),
    [](const auto& info) { return std::string(info.param.kind); });

}  // namespace
}  // namespace orbelle::reliability
