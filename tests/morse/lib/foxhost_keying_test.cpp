// morse in a foxhost child process with the simulated ports: every way out the process can see
// (a stop signal during CW_SEND or CW_KBD, the end of the keys' input, the host ending) leaves
// the key up, and a terminal is raw from a send's first moment. The event log is a FIFO read as
// events happen, so a signal comes once keying has begun; every wait has a deadline.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "morse_decoder.hpp"

namespace {

constexpr int kDeadlineMs = 30000;
const std::string kLong = [] {  // a minute and a half at 20 WPM: the signal comes while keyed
  std::string text;
  for (int i = 0; i < 30; ++i) text += "PARIS ";
  return text;
}();

// Reads `fd` into `text` until it holds `want` (empty: until the end); false at the deadline.
bool readUntil(int fd, std::string &text, const std::string &want = "") {
  char buf[4096];
  while (want.empty() || text.find(want) == std::string::npos) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, kDeadlineMs) <= 0) return false;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return want.empty();  // the end (EIO once a terminal's last user has gone)
    text.append(buf, static_cast<size_t>(n));
  }
  return true;
}

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

  // Starts foxhost with morse.so, the simulated ports logging to a FIFO (opened here first), and
  // standard input and output on `in` and `out`, or on the terminal `tty`.
  void start(const std::vector<std::string> &args, int in, int out, const char *tty = nullptr) {
    mkfifo(path("log").c_str(), 0600);
    log_ = open(path("log").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    pid_ = fork();
    if (pid_ == 0) {
      if (tty) {
        setsid();
        in = out = open(tty, O_RDWR);  // the controlling terminal
      }
      dup2(in, 0);
      dup2(out, 1);
      dup2(out, 2);
      setenv("MORSE_PORTS", "sim", 1);
      setenv("MORSE_SIM_LOG", path("log").c_str(), 1);
      setenv("MORSE_SIM_WAV", path("sound.wav").c_str(), 1);
      std::vector<std::string> all = {FOXHOST_PATH, "--library", MORSE_LIBRARY_PATH};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char *> argv;
      for (std::string &a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(FOXHOST_PATH, argv.data());
      _exit(127);
    }
    pidfd_ = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
  }
  int exitStatus() {
    pollfd p{pidfd_, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, kDeadlineMs), 1) << "foxhost did not end";
    int status = -1;
    waitpid(pid_, &status, WNOHANG);
    close(pidfd_);
    close(log_);
    return status;
  }
  // The log ends with the key up, and the WAV is whole and ends in a word space of silence
  // (168 + 109 ms at 20 WPM).
  void expectKeyUpAndFilesWhole() {
    EXPECT_TRUE(readUntil(log_, logText_));
    EXPECT_EQ(logText_.rfind("# time_ms port value\n", 0), 0u);
    EXPECT_EQ(logText_.substr(logText_.size() - 12), " 0x37a 0x09\n") << logText_;
    const auto wav = morse::test::readWavFile(path("sound.wav"));
    ASSERT_TRUE(wav) << "no whole WAV file";
    EXPECT_FALSE(morse::test::detectTones(*wav).empty());
    EXPECT_GE(morse::test::trailingSilenceMs(*wav), 168 + 109);
  }

  std::filesystem::path dir_;
  pid_t pid_ = -1;
  int pidfd_ = -1;
  int log_ = -1;
  std::string logText_;
};

TEST_F(FoxhostKeying, AStopSignalLetsTheKeyUpAndFoxhostEndsAsTheSignalAsks) {
  struct Case {
    int sig;
    bool kbd;
    bool prompt;  // at the prompt, Ctrl-C stops the send as the stop key and the prompt goes on
  };
  for (const Case c :
       {Case{SIGINT, false, true}, Case{SIGINT, false, false}, Case{SIGTERM, false, false},
        Case{SIGHUP, false, false}, Case{SIGINT, true, false}, Case{SIGTERM, true, false},
        Case{SIGHUP, true, false}}) {
    SCOPED_TRACE(std::string(strsignal(c.sig)) + (c.kbd ? " in CW_KBD" : " in CW_SEND") +
                 (c.prompt ? " at the prompt" : ""));
    std::filesystem::remove(path("log"));
    logText_.clear();
    int in[2], out[2];
    ASSERT_EQ(pipe2(in, O_CLOEXEC) | pipe2(out, O_CLOEXEC), 0);
    std::vector<std::string> args = {"-e", "CW_WPM(20)",
                                     "-e", "t = CREATEOBJECT('textbox')",
                                     "-e", "s = CREATEOBJECT('textbox')",
                                     "-e", c.kbd ? "? CW_KBD(t, s)" : "? CW_SEND('" + kLong + "')"};
    start(c.prompt ? std::vector<std::string>{} : args, in[0], out[1]);
    close(in[0]);
    close(out[1]);
    const std::string typed =
        c.prompt ? "w = CW_WPM(20)\nx = CW_SEND('" + kLong + "')\n? x\n? CW_PAUSED()\n"
                 : (c.kbd ? kLong : "");  // CW_KBD's keys, typed ahead; the input stays open
    ASSERT_EQ(write(in[1], typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    ASSERT_TRUE(readUntil(log_, logText_, " 0x37a 0x09\n")) << "keying never began";
    kill(pid_, c.sig);
    close(in[1]);  // the prompt ends at the end of its commands
    expectKeyUpAndFilesWhole();
    std::string shown;
    readUntil(out[0], shown);
    close(out[0]);
    const int status = exitStatus();
    if (c.prompt) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      EXPECT_NE(shown.find("\n1\n.T.\n"), std::string::npos) << shown;  // stopped, paused
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
    }
  }
}

TEST_F(FoxhostKeying, TypeAheadEndsWithItsInputAndTheHostsEndLetsAHeldKeyUp) {
  int in[2], out[2];
  ASSERT_EQ(pipe2(in, O_CLOEXEC) | pipe2(out, O_CLOEXEC), 0);
  start({"--virtual-clock", "-e", "CW_WPM(20)", "-e", "t = CREATEOBJECT('textbox')", "-e",
         "s = CREATEOBJECT('textbox')", "-e", "? CW_KBD(t, s), s.VALUE", "-e", "OUT_P(890, 1)"},
        in[0], out[1]);
  close(in[0]);
  close(out[1]);
  ASSERT_EQ(write(in[1], "cq", 2), 2);
  close(in[1]);  // the end of the keys: CW_KBD keys what was typed, then ends as on End
  std::string shown;
  readUntil(out[0], shown);
  close(out[0]);
  EXPECT_NE(shown.find("\n.F. CQ\n"), std::string::npos) << shown;
  expectKeyUpAndFilesWhole();  // OUT_P held the key down when foxhost ended
  EXPECT_EQ(exitStatus(), 0);
}

TEST_F(FoxhostKeying, ATerminalEchoesNothingTypedDuringASend) {
  const int pty = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_TRUE(pty >= 0 && grantpt(pty) == 0 && unlockpt(pty) == 0);
  start({}, -1, -1, ptsname(pty));
  const auto type = [pty](const std::string &s) {
    ASSERT_EQ(write(pty, s.data(), s.size()), static_cast<ssize_t>(s.size()));
  };
  type("? CW_SEND('TTT T')\n");
  ASSERT_TRUE(readUntil(log_, logText_, " 0x37a 0x01\n"));  // during the first character
  type("\x1b[H");                                           // Home: pause at the blank
  std::string shown;
  EXPECT_TRUE(readUntil(pty, shown, "Pause...\r\n2\r\n")) << shown;  // read, and paused
  type("QUIT\n");
  readUntil(pty, shown);
  close(pty);
  EXPECT_EQ(shown.find("^["), std::string::npos) << shown;
  EXPECT_EQ(shown.find("\x1b[H"), std::string::npos) << shown;
  expectKeyUpAndFilesWhole();
  EXPECT_EQ(exitStatus(), 0);
}

}  // namespace
