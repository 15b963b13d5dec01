// A writer process rewrites "orbelle.ini" or "MapCache.bmp" through the window's own write code
// and is killed with SIGKILL at a random moment, many times over. Each time, the file must be a
// complete file the write sequence produces: for the cache, the old or the new picture, whole and
// pixel for pixel; for the settings, the old file or the file after one of the unload's key
// writes (each key is its own atomic write). Just before each kill the writer's open files are
// looked at: one in the folder means the kill lands in the middle of a write, and the test
// asserts that many do.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
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
using Clock = std::chrono::steady_clock;

constexpr int kKills = 150;

std::string fileText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool samePixels(const raster::Surface& x, const raster::Surface& y) {
  if (x.width() != y.width() || x.height() != y.height()) return false;
  const std::size_t n = static_cast<std::size_t>(x.width()) * static_cast<std::size_t>(x.height());
  return std::equal(x.pixels(), x.pixels() + n, y.pixels());
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

// Kills a writer of `kind` kills times at a random moment within `window` after it started its
// loop, resetting the file with `reset` before each run; `check` judges the file after a kill.
template <class Reset, class Check>
KillFigures killRepeatedly(std::string_view kind, const fs::path& folder, const std::string& name,
                           Clock::duration window, Reset reset, Check check) {
  std::random_device entropy;
  const unsigned seed = entropy();
  std::mt19937 random(seed);
  std::uniform_int_distribution<long long> delayUs(
      0, std::chrono::duration_cast<std::chrono::microseconds>(window).count());
  KillFigures figures;
  const std::string path = (folder / name).string();
  for (int i = 0; i < kKills; ++i) {
    reset(path);
    const long long delay = delayUs(random);
    Writer writer(kind, path);
    if (!writer.started()) {
      ADD_FAILURE() << "the writer did not start";
      break;
    }
    ::usleep(static_cast<useconds_t>(delay));
    figures.midWrite += writingInto(writer.pid(), folder);
    EXPECT_TRUE(writer.kill()) << "the writer stopped by itself";
    ++figures.kills;
    if (!check(fileText(path))) {
      ADD_FAILURE() << "torn " << name << " after a kill " << delay << " us into the writes (seed "
                    << seed << ", kill " << i << ")";
      break;
    }
    figures.leftovers += removeOthers(folder, name) > 0;
  }
  std::printf(
      "%s: %d kills within %lld us, %d in the middle of a write, %d left a temporary\n",
      name.c_str(), figures.kills,
      static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(window).count()),
      figures.midWrite, figures.leftovers);
  return figures;
}

// Time one writer cycle (B then A) takes in this process.
template <class Cycle>
Clock::duration timeCycle(Cycle cycle) {
  const auto start = Clock::now();
  cycle();
  return Clock::now() - start;
}

TEST(CrashSafeFiles, SettingsAreAlwaysACompleteFile) {
  QTemporaryDir scratchDir, liveDir;
  ASSERT_TRUE(scratchDir.isValid() && liveDir.isValid());
  const fs::path scratch = (scratchDir.path() + "/orbelle.ini").toStdString();

  // The unload replaces the file once: the old settings or the new, nothing in between.
  ASSERT_EQ(model::writeSettings(scratch.string(), settingsB(), {}), 0);
  const std::string fileB = fileText(scratch);
  ASSERT_EQ(model::writeSettings(scratch.string(), settingsA(), {}), 0);
  const std::string initial = fileText(scratch);
  const std::set<std::string> complete{initial, fileB};
  ASSERT_EQ(complete.size(), 2u);

  const auto cycle = timeCycle([&] {
    model::writeSettings(scratch.string(), settingsB(), {});
    model::writeSettings(scratch.string(), settingsA(), {});
  });
  const fs::path folder = liveDir.path().toStdString();
  const KillFigures figures = killRepeatedly(
      kIniWriter, folder, "orbelle.ini", cycle,
      [&](const std::string& path) { std::ofstream(path, std::ios::binary) << initial; },
      [&](const std::string& text) { return complete.count(text) == 1; });
  EXPECT_EQ(figures.kills, kKills);
  EXPECT_GT(figures.midWrite, kKills / 10) << "too few kills landed inside a write";
}

TEST(CrashSafeFiles, CacheIsAlwaysTheOldOrTheNewPicture) {
  QTemporaryDir scratchDir, liveDir;
  ASSERT_TRUE(scratchDir.isValid() && liveDir.isValid());
  const QString scratch = scratchDir.path() + "/MapCache.bmp";
  const raster::Surface a = mapA(), b = mapB();
  raster::writeBmp(a, scratch);
  const std::string bytesA = fileText(scratch.toStdString());
  ASSERT_GT(bytesA.size(), 1000000u);
  // The header's resolution fields depend on the process's screen, so the files are compared by
  // their size and their pixels.
  auto complete = [&](const std::string& bytes) {
    if (bytes.size() != bytesA.size()) return false;
    try {
      const raster::Surface s =
          raster::decodeBmp(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), {});
      return samePixels(s, a) || samePixels(s, b);
    } catch (const raster::PictureError&) {
      return false;
    }
  };

  const auto cycle = timeCycle([&] {
    raster::writeBmp(b, scratch);
    raster::writeBmp(a, scratch);
  });
  const fs::path folder = liveDir.path().toStdString();
  const KillFigures figures = killRepeatedly(
      kCacheWriter, folder, "MapCache.bmp", cycle * 3 / 2,
      [&](const std::string& path) { std::ofstream(path, std::ios::binary) << bytesA; }, complete);
  EXPECT_EQ(figures.kills, kKills);
  EXPECT_GT(figures.midWrite, kKills / 10) << "too few kills landed inside a write";
  // And what is left reads as a map.
  EXPECT_EQ(raster::readBmp(QString::fromStdString((folder / "MapCache.bmp").string())).width(),
            a.width());
}

}  // namespace
}  // namespace orbelle::reliability
