// A writer rewriting "orbelle.ini" or "MapCache.bmp" with the window's own code is killed 150
// times, at any point of a write: the file is always the old or the new one, never a torn one.

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <QTemporaryDir>
#include <climits>
#include <random>
#include <string>

#include "model/settings_file.hpp"
#include "raster/color.hpp"
#include "raster/qt/picture_file.hpp"
#include "reliability.hpp"

namespace orbelle::reliability {
namespace {

namespace fs = std::filesystem;

constexpr int kKills = 150;

// Settings A (b false) and B, which differ in every key.
model::StoredSettings settings(bool b) {
  model::StoredSettings v;
  v.LatHere = b ? -41.2865 : 33.9;
  v.LonHere = b ? 174.7762 : -84.179;
  v.UTCOffset = b ? -12 : 5;
  v.MaxDx = b ? 3000 : 12438;
  v.ShowSun = !b;
  v.ShowRivers = b;
  v.MaxSpots = b ? 100 : 25;
  v.ShowSpots = !b;
  v.ShowSpotBy = !b;
  v.ShowConnectingLines = !b;
  v.Left = b ? 15.0f : 1200.0f;
  v.Top = b ? 30.0f : 900.0f;
  v.PixelWidth = b ? 1024 : 600;
  v.AlwaysOnTop = b;
  return v;
}

// Maps A and B of the window's default size, which differ in every pixel.
raster::Surface map(bool b) {
  return raster::Surface(600, 600, b ? raster::rgb(0, 128, 0) : raster::rgb(128, 192, 255));
}

// The two files the window rewrites, each written as version A or B by the window's own code;
// the contents are made once, so that a writer spends its time writing.
struct Rewritten {
  const char* kind;
  const char* name;
  void (*write)(const std::string& path, bool b);
  // The BMP header's resolution (bytes 38 to 45) depends on the process's screen, which the
  // writer has none of.
  bool ignoresResolution;
};

const Rewritten kFiles[] = {
    {"ini", "orbelle.ini",
     [](const std::string& path, bool b) {
       static const model::StoredSettings versions[] = {settings(false), settings(true)};
       model::writeSettings(path, versions[b], {});
     },
     false},
    {"cache", "MapCache.bmp",
     [](const std::string& path, bool b) {
       static const raster::Surface versions[] = {map(false), map(true)};
       raster::writeBmp(versions[b], QString::fromStdString(path));
     },
     true},
};

void PrintTo(const Rewritten& file, std::ostream* out) { *out << file.name; }

// A writer process (this program again), killed and reaped at the latest when the object goes.
class Writer {
 public:
  Writer(std::string kind, std::string path) {
    std::string program = "reliability_tests", flag(kWriterFlag);
    char* argv[] = {program.data(), flag.data(), kind.data(), path.data(), nullptr};
    if (::posix_spawn(&pid_, "/proc/self/exe", nullptr, nullptr, argv, environ) != 0) pid_ = -1;
  }
  ~Writer() { kill(); }
  Writer(const Writer&) = delete;
  Writer& operator=(const Writer&) = delete;

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
};

// Counts the changes in a folder (files created, written, closed, renamed) that inotify reports.
class FolderChanges {
 public:
  explicit FolderChanges(const fs::path& folder) : fd_(::inotify_init1(IN_CLOEXEC)) {
    ::inotify_add_watch(fd_, folder.c_str(), IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO);
  }
  ~FolderChanges() { ::close(fd_); }
  FolderChanges(const FolderChanges&) = delete;
  FolderChanges& operator=(const FolderChanges&) = delete;

  // Reads changes until `count` have come; false when none comes for `timeoutMs`.
  bool waitFor(int count, int timeoutMs = 30000) {
    alignas(inotify_event) char buffer[4096];
    while (seen < count) {
      pollfd p{fd_, POLLIN, 0};
      if (::poll(&p, 1, timeoutMs) != 1) return false;
      const ssize_t n = ::read(fd_, buffer, sizeof buffer);
      for (ssize_t at = 0; at < n; ++seen) {
        at += static_cast<ssize_t>(sizeof(inotify_event) +
                                   reinterpret_cast<const inotify_event*>(buffer + at)->len);
      }
    }
    return true;
  }

  int seen = 0;

 private:
  int fd_;
};

class CrashSafeFiles : public ::testing::TestWithParam<Rewritten> {};

// Each kill comes after a random number of the writer's changes in the folder, up to half a
// cycle's (B replacing the reset A, then A replacing B) and one more: it lands anywhere in the
// first write or just after it, with no sleep and no assumed speed.
TEST_P(CrashSafeFiles, AKilledWriterLeavesTheOldOrTheNewFile) {
  const Rewritten& file = GetParam();
  QTemporaryDir scratchDir, liveDir;
  ASSERT_TRUE(scratchDir.isValid() && liveDir.isValid());
  const fs::path scratch = scratchDir.filePath(file.name).toStdString();
  FolderChanges cycle(scratch.parent_path());
  file.write(scratch, true);
  const std::string bytesB = fileBytes(scratch);
  file.write(scratch, false);
  const std::string bytesA = fileBytes(scratch);
  cycle.waitFor(INT_MAX, 0);
  ASSERT_NE(bytesA, bytesB);
  const auto same = [&](const std::string& x, const std::string& y) {
    if (!file.ignoresResolution) return x == y;
    return x.size() == y.size() && x.compare(0, 38, y, 0, 38) == 0 &&
           x.compare(46, std::string::npos, y, 46, std::string::npos) == 0;
  };

  const fs::path folder = liveDir.path().toStdString();
  const fs::path live = folder / file.name;
  const unsigned seed = std::random_device()();
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> changeCount(1, cycle.seen / 2 + 1);
  for (int i = 0; i < kKills; ++i) {
    std::ofstream(live, std::ios::binary) << bytesA;
    const int changes = changeCount(random);
    FolderChanges watch(folder);
    Writer writer(file.kind, live);
    ASSERT_TRUE(watch.waitFor(changes)) << "the writer did not start or did not write";
    ASSERT_TRUE(writer.kill()) << "the writer stopped by itself";
    const std::string text = fileBytes(live);
    ASSERT_TRUE(same(text, bytesA) || same(text, bytesB))
        << "torn " << file.name << " after " << changes << " changes (seed " << seed << ", kill "
        << i << ")";
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path() != live) fs::remove(entry.path());  // a killed write's temporary
    }
  }
}

INSTANTIATE_TEST_SUITE_P(WindowFiles, CrashSafeFiles, ::testing::ValuesIn(kFiles),
                         [](const auto& info) { return std::string(info.param.kind); });

}  // namespace

int runWriter(std::string_view kind, const std::string& path) {
  for (const Rewritten& file : kFiles) {
    if (kind != file.kind) continue;
    for (;;) {
      file.write(path, true);
      file.write(path, false);
    }
  }
  return 2;
}

}  // namespace orbelle::reliability
