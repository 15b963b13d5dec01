// morse in foxhost as an operator runs it, foxhost a child process on the real clock with the
// simulated ports: every way out that the process can see leaves the key up (a stop signal during
// CW_SEND or CW_KBD, the end of the keys' input, the host ending), and a terminal is raw from the
// first moment of a send. The event log is a FIFO read as the events happen, so that a signal
// goes once keying has begun; every wait has a deadline.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "morse_decoder.hpp"

namespace {

constexpr int kDeadlineMs = 30000;
// Long enough (a minute and a half at 20 WPM) that a signal always comes while it is keyed.
const std::string kLongText = [] {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "PARIS ";
  return text;
}();

class Child {
 public:
  // Runs foxhost with morse.so and the simulated ports logging to `log`. Standard input is a
  // pipe, or with `terminal` a pseudo-terminal that is also the output.
  Child(const std::vector<std::string> &args, const std::string &log, const std::string &wav,
        bool terminal) {
    int in[2] = {-1, -1};
    int out[2] = {-1, -1};
    std::string slave;
    if (terminal) {
      in[1] = out[0] = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
      EXPECT_GE(in[1], 0);
      grantpt(in[1]);
      unlockpt(in[1]);
      slave = ptsname(in[1]);
    } else {
      EXPECT_EQ(pipe2(in, O_CLOEXEC), 0);
      EXPECT_EQ(pipe2(out, O_CLOEXEC), 0);
    }
    pid_ = fork();
    if (pid_ == 0) {
      if (terminal) {
        setsid();
        const int tty = open(slave.c_str(), O_RDWR);  // the controlling terminal
        dup2(tty, 0);
        dup2(tty, 1);
        dup2(tty, 2);
      } else {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(out[1], 2);
      }
      setenv("MORSE_PORTS", "sim", 1);
      setenv("MORSE_SIM_LOG", log.c_str(), 1);
      setenv("MORSE_SIM_WAV", wav.c_str(), 1);
      std::vector<std::string> all = {FOXHOST_PATH, "--library", MORSE_LIBRARY_PATH};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char *> argv;
      for (std::string &a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(FOXHOST_PATH, argv.data());
      _exit(127);
    }
    in_ = in[1];
    out_ = out[0];
    if (!terminal) {
      close(in[0]);
      close(out[1]);
    }
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  }
  ~Child() {
    if (pid_ > 0 && status_ < 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (in_ >= 0 && in_ != out_) close(in_);
    close(out_);
    close(pidfd_);
  }

  void type(const std::string &text) {
    EXPECT_EQ(write(in_, text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  void endInput() {
    if (in_ != out_) close(in_);
    in_ = -1;
  }
  void signal(int sig) { kill(pid_, sig); }
  // What it writes, until `text` has appeared (or, empty, until it closes its output).
  std::string output(const std::string &text = "") {
    char buf[4096];
    while (text.empty() || output_.find(text) == std::string::npos) {
      pollfd p{out_, POLLIN, 0};
      if (poll(&p, 1, kDeadlineMs) <= 0) break;
      const ssize_t n = read(out_, buf, sizeof buf);
      if (n <= 0) break;  // end of the pipe, or EIO once the terminal's last user has gone
      output_.append(buf, static_cast<size_t>(n));
    }
    return output_;
  }
  int wait() {
    pollfd p{pidfd_, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, kDeadlineMs), 1) << "foxhost did not end";
    int status = -1;
    if (waitpid(pid_, &status, WNOHANG) == pid_) status_ = status;
    return status_;
  }

 private:
  pid_t pid_ = -1;
  int in_ = -1;
  int out_ = -1;
  int pidfd_ = -1;
  int status_ = -1;
  std::string output_;
};

// The event log, line by line as the child writes it into a FIFO.
class LiveLog {
 public:
  explicit LiveLog(const std::string &path) {
    mkfifo(path.c_str(), 0600);
    fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  }
  ~LiveLog() { close(fd_); }
  // Reads until a line ends with `suffix`; false at the deadline or the end of the log.
  bool until(const std::string &suffix) {
    for (;;) {
      for (size_t nl; (nl = pending_.find('\n')) != std::string::npos;) {
        lines.push_back(pending_.substr(0, nl));
        pending_.erase(0, nl + 1);
        if (lines.back().size() >= suffix.size() &&
            lines.back().compare(lines.back().size() - suffix.size(), suffix.size(), suffix) == 0)
          return true;
      }
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, kDeadlineMs) <= 0) return false;
      char buf[4096];
      const ssize_t n = read(fd_, buf, sizeof buf);
      if (n <= 0) return false;  // the writer closed it
      pending_.append(buf, static_cast<size_t>(n));
    }
  }
  void toEnd() { until("\x01never"); }

  std::vector<std::string> lines;

 private:
  int fd_ = -1;
  std::string pending_;
};

class FoxhostKeying : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("morse-foxhost-" + std::to_string(getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const char *name) const { return (dir_ / name).string(); }

  // The log ends with the key up after a key-down, and the WAV is whole and ends in silence
  // at least a word space long (168 + 109 ms at 20 WPM).
  void expectKeyUpAndFilesWhole(const std::vector<std::string> &log) {
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), "# time_ms port value");
    EXPECT_NE(log.back().find(" 0x37a 0x09"), std::string::npos) << log.back();
    const auto wav = morse::test::readWavFile(path("sound.wav"));
    ASSERT_TRUE(wav) << "no whole WAV file";
    EXPECT_FALSE(morse::test::detectTones(*wav).empty());
    EXPECT_GE(morse::test::trailingSilenceMs(*wav), 168 + 109);
  }

  std::filesystem::path dir_;
};

TEST_F(FoxhostKeying, AStopSignalLetsTheKeyUpAndFoxhostEndsAsTheSignalAsks) {
  struct Case {
    int sig;
    bool kbd;
  };
  for (const Case c : {Case{SIGINT, false}, Case{SIGTERM, false}, Case{SIGHUP, false},
                       Case{SIGINT, true}, Case{SIGTERM, true}, Case{SIGHUP, true}}) {
    SCOPED_TRACE(std::string(strsignal(c.sig)) + (c.kbd ? " during CW_KBD" : " during CW_SEND"));
    std::filesystem::remove(path("ports.log"));
    LiveLog log(path("ports.log"));
    const std::vector<std::string> send = {"-e", "CW_WPM(20)", "-e",
                                           "? CW_SEND('" + kLongText + "')"};
    const std::vector<std::string> kbd = {"-e", "CW_WPM(20)", "-e", "t = CREATEOBJECT('textbox')",
                                          "-e", "s = CREATEOBJECT('textbox')", "-e",
                                          "? CW_KBD(t, s)"};
    Child child(c.kbd ? kbd : send, path("ports.log"), path("sound.wav"), false);
    if (c.kbd) child.type(kLongText);  // typed ahead; the input stays open
    // The signal comes in the second element, once the first has been heard.
    ASSERT_TRUE(log.until(" 0x37a 0x09") && log.until(" 0x37a 0x01")) << "keying never began";
    child.signal(c.sig);
    log.toEnd();
    const int status = child.wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
    expectKeyUpAndFilesWhole(log.lines);
  }
}

TEST_F(FoxhostKeying, CtrlCAtThePromptStopsTheSendAsTheStopKeyAndThePromptGoesOn) {
  LiveLog log(path("ports.log"));
  Child child({}, path("ports.log"), path("sound.wav"), false);
  child.type("w = CW_WPM(20)\nx = CW_SEND('" + kLongText + "')\n? x\n? CW_PAUSED()\n");
  child.endInput();
  ASSERT_TRUE(log.until(" 0x37a 0x09") && log.until(" 0x37a 0x01"));
  child.signal(SIGINT);
  log.toEnd();
  const std::string shown = child.output();
  EXPECT_EQ(shown.rfind("MORSE: keying simulated; sound simulated", 0), 0u) << shown;
  EXPECT_NE(shown.find("\n1\n.T.\n"), std::string::npos) << shown;  // stopped, paused
  const int status = child.wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  expectKeyUpAndFilesWhole(log.lines);
}

TEST_F(FoxhostKeying, TypeAheadEndsWithItsInputAndTheHostsEndLetsTheKeyUp) {
  // CW_KBD keys what was typed and returns when the input ends, as on the stop key; OUT_P keys
  // by hand, and foxhost ending lets the key up.
  Child child({"--virtual-clock", "-e", "CW_WPM(20)", "-e", "t = CREATEOBJECT('textbox')", "-e",
               "s = CREATEOBJECT('textbox')", "-e", "? CW_KBD(t, s)", "-e", "? s.VALUE", "-e",
               "OUT_P(890, 1)"},
              path("ports.log"), path("sound.wav"), false);
  child.type("cq");
  child.endInput();
  EXPECT_EQ(child.output(), "        20\nMORSE: keying simulated; sound simulated\n.F.\nCQ\n");  // virtual clock: never real-time
  const int status = child.wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::ifstream in(path("ports.log"));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  expectKeyUpAndFilesWhole(lines);
  const auto wav = morse::test::readWavFile(path("sound.wav"));
  ASSERT_TRUE(wav);
  EXPECT_EQ(morse::test::decodeWav(*wav).substr(0, 2), "CQ");
}

TEST_F(FoxhostKeying, ATerminalEchoesNothingTypedDuringASend) {
  LiveLog log(path("ports.log"));
  Child child({}, path("ports.log"), path("sound.wav"), true);
  child.type("? CW_SEND('TTTTTTTT T')\n");
  ASSERT_TRUE(log.until(" 0x37a 0x01"));  // during the first character
  child.type("\x1b[H");                  // Home: pause at the blank
  std::string shown = child.output("Pause...\r\n2\r\n");
  child.type("QUIT\n");
  shown = child.output();
  EXPECT_NE(shown.find("Pause...\r\n2\r\n"), std::string::npos) << shown;  // read, paused
  EXPECT_EQ(shown.find("^["), std::string::npos) << shown;
  EXPECT_EQ(shown.find("\x1b[H"), std::string::npos) << shown;
  log.toEnd();
  const int status = child.wait();
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

}  // namespace
