// morse in a foxhost child process with the simulated ports: a stop signal during CW_SEND or
// CW_KBD leaves the key up and the WAV whole, and foxhost ends as the signal asks.
// The event log is a FIFO read as events happen, so a signal comes once keying has begun; every
// wait has a deadline.
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

#include "morse_decoder.hpp"

namespace {

// Reads `fd` into `text` until it holds `want` (empty: until the end); false at the deadline.
bool readUntil(int fd, std::string &text, const std::string &want = "") {
  char buf[4096];
  while (want.empty() || text.find(want) == std::string::npos) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, 30'000) <= 0) return false;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return want.empty();
    text.append(buf, static_cast<size_t>(n));
  }
  return true;
}

class FoxhostKeying : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(dir_); }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  // Starts foxhost with morse.so and `args`, the simulated ports logging to a fresh FIFO (opened
  // here first), standard input from `input` and output into `output`.
  void start(const std::vector<std::string> &args) {
    std::filesystem::remove(dir_ / "log");
    logText_.clear();
    mkfifo((dir_ / "log").c_str(), 0600);
    log_ = open((dir_ / "log").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_EQ(pipe2(input_, O_CLOEXEC) | pipe2(output_, O_CLOEXEC), 0);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(input_[0], 0);
      dup2(output_[1], 1);
      dup2(output_[1], 2);
      setenv("MORSE_PORTS", "sim", 1);
      setenv("MORSE_SIM_LOG", (dir_ / "log").c_str(), 1);
      setenv("MORSE_SIM_WAV", (dir_ / "sound.wav").c_str(), 1);
      std::vector<std::string> all = {FOXHOST_PATH, "--library", MORSE_LIBRARY_PATH};
      all.insert(all.end(), args.begin(), args.end());
      std::vector<char *> argv;
      for (std::string &a : all) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(FOXHOST_PATH, argv.data());
      _exit(127);
    }
    close(input_[0]);
    close(output_[1]);
  }
  void type(const std::string &text) {
    ASSERT_EQ(write(input_[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
  }
  // Ends the input; then the log ends with the key up, the WAV is whole and ends in a word space
  // of silence (168 + 109 ms at 20 WPM). Returns what foxhost wrote and its exit status.
  std::pair<std::string, int> finish() {
    close(input_[1]);
    std::string shown;
    EXPECT_TRUE(readUntil(log_, logText_));
    close(log_);
    EXPECT_TRUE(logText_.ends_with(" 0x37a 0x09\n")) << logText_;
    const auto wav = morse::test::readWavFile((dir_ / "sound.wav").string());
    EXPECT_TRUE(wav && !morse::test::detectTones(*wav).empty()) << "no whole WAV file";
    EXPECT_GE(wav ? morse::test::trailingSilenceMs(*wav) : 0, 168 + 109);
    readUntil(output_[0], shown);
    close(output_[0]);
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid_, 0));
    pollfd p{pidfd, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, 30'000), 1) << "foxhost did not end";
    close(pidfd);
    int status = -1;
    waitpid(pid_, &status, WNOHANG);
    return {shown, status};
  }

  const std::filesystem::path dir_ =
      std::filesystem::temp_directory_path() / ("morse-foxhost-" + std::to_string(getpid()));
  std::string logText_;
  pid_t pid_ = -1;
  int log_ = -1, input_[2] = {-1, -1}, output_[2] = {-1, -1};
};

// A signal once keying has begun: at the prompt Ctrl-C stops the send as the stop key (1, then
// paused) and the prompt goes on; in a command, foxhost ends as the signal asks.
TEST_F(FoxhostKeying, AStopSignalLetsTheKeyUpAndFoxhostEndsAsTheSignalAsks) {
  std::string text;  // a minute and a half at 20 WPM: the signal comes while keyed
  for (int i = 0; i < 30; ++i) text += "PARIS ";
  const struct {
    int sig;
    bool kbd, prompt;
  } cases[] = {{SIGINT, false, true}, {SIGTERM, false, false}, {SIGHUP, true, false}};
  for (const auto &c : cases) {
    SCOPED_TRACE(strsignal(c.sig));
    if (c.prompt) {
      start({});
      type("w = CW_WPM(20)\nx = CW_SEND('" + text + "')\n? x\n? CW_PAUSED()\n");
    } else {
      start({"-e", "CW_WPM(20)", "-e", "t = CREATEOBJECT('textbox')", "-e",
             "s = CREATEOBJECT('textbox')", "-e",
             c.kbd ? "? CW_KBD(t, s)" : "? CW_SEND('" + text + "')"});
      if (c.kbd) type(text);  // its keys, typed ahead; the input stays open
    }
    ASSERT_TRUE(readUntil(log_, logText_, " 0x37a 0x09\n")) << "keying never began";
    kill(pid_, c.sig);
    const auto [shown, status] = finish();
    if (!c.prompt) {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
    } else {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      EXPECT_NE(shown.find("\n1\n.T.\n"), std::string::npos) << shown;
    }
  }
}

}  // namespace
