// morse in a foxhost child process with the simulated ports: a stop signal during CW_SEND or
// CW_KBD leaves the key up and the WAV whole, and foxhost ends as the signal asks (at the prompt,
// Ctrl-C stops only the send); a terminal is raw during a send. The event log is a FIFO read as
// events happen, so a signal or key comes once keying has begun; every wait has a deadline.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
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
    if (n <= 0) return want.empty();  // the end (EIO once a terminal's last user has gone)
    text.append(buf, static_cast<size_t>(n));
  }
  return true;
}

// foxhost with morse.so and the simulated ports in a fresh folder; standard input and output on
// `in` and `out`, or on the terminal `tty` as its controlling terminal.
struct Foxhost {
  Foxhost(std::vector<std::string> args, int in, int out, const char *tty = nullptr) {
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    mkfifo(log.c_str(), 0600);
    logFd = open(log.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    args.insert(args.begin(), {FOXHOST_PATH, "--library", MORSE_LIBRARY_PATH});
    pid = fork();
    if (pid == 0) {
      if (tty) {
        setsid();
        in = out = open(tty, O_RDWR);
      }
      dup2(in, 0);
      dup2(out, 1);
      dup2(out, 2);
      setenv("MORSE_PORTS", "sim", 1);
      setenv("MORSE_SIM_LOG", log.c_str(), 1);
      setenv("MORSE_SIM_WAV", wav.c_str(), 1);
      std::vector<char *> argv;
      for (std::string &a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(FOXHOST_PATH, argv.data());
      _exit(127);
    }
    pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  }
  ~Foxhost() { std::filesystem::remove_all(dir); }
  // The log ends with the key up; the WAV is whole and ends in at least a word space of silence
  // (168 + 109 ms at 20 WPM). Then foxhost's exit status.
  int expectKeyUpAndEnd() {
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
    size_t quiet = 0;
    while (sound && quiet < sound->samples.size() &&
           std::abs(sound->samples.rbegin()[quiet]) < 1000)
      ++quiet;
    EXPECT_GE(sound ? quiet * 1000.0 / sound->sampleRate : 0.0, 168 + 109);
    return status;
  }

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("morse-foxhost-" + std::to_string(getpid()));
  const std::string log = (dir / "log").string(), wav = (dir / "sound.wav").string();
  std::string logText;
  pid_t pid = -1;
  int pidfd = -1, logFd = -1;
};

TEST(FoxhostKeying, AStopSignalLetsTheKeyUpAndFoxhostEndsAsTheSignalAsks) {
  struct Case {
    int sig;
    bool kbd, prompt;
  };
  std::string paris;  // a minute and a half at 20 WPM: the signal comes while keyed
  for (int i = 0; i < 30; ++i) paris += "PARIS ";
  for (const Case c : {Case{SIGINT, false, true}, Case{SIGINT, false, false},
                       Case{SIGTERM, true, false}, Case{SIGHUP, false, false}}) {
    SCOPED_TRACE(std::string(strsignal(c.sig)) + (c.kbd ? " in CW_KBD" : " in CW_SEND") +
                 (c.prompt ? " at the prompt" : ""));
    int in[2], out[2];
    ASSERT_EQ(pipe2(in, O_CLOEXEC) | pipe2(out, O_CLOEXEC), 0);
    std::vector<std::string> args;
    if (!c.prompt) {
      args = {"-e", "CW_WPM(20)",
              "-e", "t = CREATEOBJECT('textbox')",
              "-e", "s = CREATEOBJECT('textbox')",
              "-e", c.kbd ? "? CW_KBD(t, s)" : "? CW_SEND('" + paris + "')"};
    }
    Foxhost host(args, in[0], out[1]);
    close(in[0]);
    close(out[1]);
    // CW_KBD's keys are typed ahead with the input left open; at the prompt, the commands.
    const std::string typed =
        c.prompt ? "w = CW_WPM(20)\nx = CW_SEND('" + paris + "')\n? x\n? CW_PAUSED()\n"
                 : (c.kbd ? paris : "");
    ASSERT_EQ(write(in[1], typed.data(), typed.size()), static_cast<ssize_t>(typed.size()));
    ASSERT_TRUE(readUntil(host.logFd, host.logText, kKeyUp)) << "keying never began";
    kill(host.pid, c.sig);
    close(in[1]);  // the prompt ends at the end of its commands
    std::string shown;
    readUntil(out[0], shown);
    close(out[0]);
    const int status = host.expectKeyUpAndEnd();
    if (c.prompt) {
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
      EXPECT_NE(shown.find("\n1\n.T.\n"), std::string::npos) << shown;  // stopped, paused
    } else {
      EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.sig) << status;
    }
  }
}

TEST(FoxhostKeying, ATerminalEchoesNothingTypedDuringASend) {
  const int pty = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_TRUE(pty >= 0 && grantpt(pty) == 0 && unlockpt(pty) == 0);
  Foxhost host({}, -1, -1, ptsname(pty));
  const auto type = [pty](const std::string &s) {
    ASSERT_EQ(write(pty, s.data(), s.size()), static_cast<ssize_t>(s.size()));
  };
  type("? CW_SEND('TTT T')\n");
  ASSERT_TRUE(readUntil(host.logFd, host.logText, " 0x37a 0x01\n"));  // the first character
  type("\x1b[H");                                                     // Home: pause at the blank
  std::string shown;
  EXPECT_TRUE(readUntil(pty, shown, "Pause...\r\n2\r\n")) << shown;  // read, and paused
  type("QUIT\n");
  readUntil(pty, shown);
  close(pty);
  EXPECT_EQ(shown.find("^["), std::string::npos) << shown;
  EXPECT_EQ(shown.find("\x1b[H"), std::string::npos) << shown;
  EXPECT_EQ(host.expectKeyUpAndEnd(), 0);
}

}  // namespace
