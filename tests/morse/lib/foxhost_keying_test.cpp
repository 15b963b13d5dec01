// morse in a foxhost child process on a terminal, with the simulated ports: a stop signal during
// CW_SEND or CW_KBD leaves the key up and the WAV whole, and foxhost ends as the signal asks; at
// the prompt Ctrl-C stops only the send, and the terminal is raw during it (a key typed is read,
// not echoed). The event log is a FIFO read as events happen, so a signal or key comes once keying
// has begun; every wait has a deadline.
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

constexpr int kDeadlineMs = 30000;
constexpr const char *kKeyUp = " 0x37a 0x09\n";

// Reads `fd` into `text` until it holds `want` (empty: until the end); false at the deadline.
bool readUntil(int fd, std::string &text, const std::string &want = "") {
  char buf[4096];
  while (want.empty() || text.find(want) == std::string::npos) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, kDeadlineMs) <= 0) return false;
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n <= 0) return want.empty();  // the end (EIO once the terminal's last user has gone)
    text.append(buf, static_cast<size_t>(n));
  }
  return true;
}

TEST(FoxhostKeying, AStopSignalLetsTheKeyUpAndFoxhostEndsAsTheSignalAsks) {
  std::string paris;  // a minute and a half at 20 WPM: the signal comes while keyed
  for (int i = 0; i < 30; ++i) paris += "PARIS ";
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("morse-foxhost-" + std::to_string(getpid()));
  const std::string log = dir / "log", wav = dir / "sound.wav";
  const struct {
    int sig;
    std::string script;  // the last command of a script; none: typed at the prompt
    std::string typed;   // keys typed ahead
  } cases[] = {
      {SIGINT, "", "w = CW_WPM(20)\n? CW_SEND('" + paris + "')\n"},
      {SIGINT, "? CW_SEND('" + paris + "')", ""},
      {SIGTERM, "? CW_KBD(t, s)", paris},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(strsignal(c.sig)) + " " + c.script);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    mkfifo(log.c_str(), 0600);
    const int logFd = open(log.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int pty = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_TRUE(pty >= 0 && grantpt(pty) == 0 && unlockpt(pty) == 0);
    const std::string tty = ptsname(pty);
    std::vector<std::string> args = {FOXHOST_PATH, "--library", MORSE_LIBRARY_PATH};
    if (!c.script.empty()) {
      args.insert(args.end(), {"-e", "CW_WPM(20)", "-e", "t = CREATEOBJECT('textbox')", "-e",
                               "s = CREATEOBJECT('textbox')", "-e", c.script});
    }
    const pid_t pid = fork();
    if (pid == 0) {  // on the terminal as its controlling terminal
      setsid();
      const int fd = open(tty.c_str(), O_RDWR);
      for (int std : {0, 1, 2}) dup2(fd, std);
      setenv("MORSE_PORTS", "sim", 1);
      setenv("MORSE_SIM_LOG", log.c_str(), 1);
      setenv("MORSE_SIM_WAV", wav.c_str(), 1);
      std::vector<char *> argv;
      for (std::string &a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(FOXHOST_PATH, argv.data());
      _exit(127);
    }
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
    const auto type = [pty](const std::string &s) {
      ASSERT_EQ(write(pty, s.data(), s.size()), static_cast<ssize_t>(s.size()));
    };
    type(c.typed);
    std::string logText, shown;
    ASSERT_TRUE(readUntil(logFd, logText, kKeyUp)) << "keying never began";
    if (c.script.empty()) {
      type("\x1b[A");  // Up: read at once as a key, and not echoed
      EXPECT_TRUE(readUntil(pty, shown, "22 WPM")) << shown;
    }
    kill(pid, c.sig);
    if (c.script.empty()) {
      EXPECT_TRUE(readUntil(pty, shown, "\n1\r\n")) << shown;  // stopped
      type("? CW_PAUSED()\nQUIT\n");
    }
    readUntil(pty, shown);
    close(pty);
    EXPECT_TRUE(readUntil(logFd, logText));
    EXPECT_EQ(logText.substr(logText.size() - 12), kKeyUp) << logText;
    pollfd p{pidfd, POLLIN, 0};
    EXPECT_EQ(poll(&p, 1, kDeadlineMs), 1) << "foxhost did not end";
    int status = -1;
    waitpid(pid, &status, WNOHANG);
    close(pidfd);
    close(logFd);
    const auto sound = morse::test::readWavFile(wav);
    EXPECT_TRUE(sound && !morse::test::detectTones(*sound).empty()) << "no whole WAV with tones";
    if (c.script.empty()) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      EXPECT_NE(shown.find(".T.\r\n"), std::string::npos) << shown;  // and paused
      EXPECT_EQ(shown.find("^["), std::string::npos) << shown;
      EXPECT_EQ(shown.find("\x1b[A"), std::string::npos) << shown;
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
    }
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
