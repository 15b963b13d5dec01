#include "terminal.hpp"

#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace foxhost {
namespace {

// The mode to give back, also from a signal handler, so that Ctrl-C during a long library call
// leaves a usable terminal.
struct termios g_saved;
volatile sig_atomic_t g_rawActive = 0;

void restoreSaved() {
  if (g_rawActive) {
    tcsetattr(STDIN_FILENO, TCSANOW, &g_saved);
    g_rawActive = 0;
  }
}

constexpr int kRestoringSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
unsigned g_restoring = 0;  // bit n: the handler below is installed for signal n

// The rest of an escape sequence arrives right behind its first byte.
constexpr int kSequenceGapMillis = 25;

void onSignal(int sig) {
  restoreSaved();
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

int32_t sequenceKey(char introducer, const std::string &params, char final) {
  switch (final) {
    case 'A':
      return keys::kUp;
    case 'B':
      return keys::kDown;
    case 'C':
      return keys::kRight;
    case 'D':
      return keys::kLeft;
    case 'H':
      return keys::kHome;
    case 'F':
      return keys::kEnd;
    case '~':
      if (introducer != '[') return 0;
      if (params == "1" || params == "7") return keys::kHome;
      if (params == "4" || params == "8") return keys::kEnd;
      return 0;
    default:
      return 0;
  }
}

}  // namespace

void decodeTerminalKeys(std::string &bytes, std::deque<int32_t> &out, bool final) {
  while (!bytes.empty()) {
    const auto c = static_cast<unsigned char>(bytes[0]);
    if (c == 0) {  // Ctrl-@: code 0 would read as "no key"
      bytes.erase(0, 1);
      continue;
    }
    if (c != 27) {
      out.push_back(c == 8 ? keys::kBackspace : c);
      bytes.erase(0, 1);
      continue;
    }
    if (bytes.size() == 1) {
      if (!final) return;
      out.push_back(keys::kEscape);
      bytes.clear();
      return;
    }
    const char introducer = bytes[1];
    if (introducer != '[' && introducer != 'O') {
      out.push_back(keys::kEscape);
      bytes.erase(0, 1);
      continue;
    }
    size_t i = 2;
    while (i < bytes.size() &&
           (std::isdigit(static_cast<unsigned char>(bytes[i])) || bytes[i] == ';'))
      ++i;
    if (i >= bytes.size()) {
      if (!final) return;
      out.push_back(keys::kEscape);  // a sequence cut short reads as the Escape key alone
      bytes.clear();
      return;
    }
    const int32_t key = sequenceKey(introducer, bytes.substr(2, i - 2), bytes[i]);
    if (key) out.push_back(key);
    bytes.erase(0, i + 1);
  }
}

TerminalKeys::~TerminalKeys() { restore(); }

void TerminalKeys::setSource(KeySource source) {
  if (source != KeySource::Terminal) restore();
  source_ = source;
  ended_ = false;
}

void TerminalKeys::prepare() {
  if (source_ == KeySource::Terminal) enterRaw();
}

bool TerminalKeys::enterRaw() {
  if (raw_) return true;
  if (!isatty(STDIN_FILENO)) return false;
  if (tcgetattr(STDIN_FILENO, &g_saved) != 0) return false;
  struct termios raw = g_saved;
  // ISIG stays: Ctrl-C still interrupts.
  raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
  raw.c_iflag &= static_cast<tcflag_t>(~(ICRNL | IXON));
  raw.c_cc[VMIN] = 0;
  raw.c_cc[VTIME] = 0;
  if (tcsetattr(STDIN_FILENO, TCSANOW, &raw) != 0) return false;
  g_rawActive = 1;
  // Signals the program does not catch would end the process in raw mode: give the terminal
  // its mode back first.
  for (int sig : kRestoringSignals) {
    struct sigaction old {};
    if (sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) {
      std::signal(sig, onSignal);
      g_restoring |= 1u << sig;
    }
  }
  raw_ = true;
  return true;
}

void TerminalKeys::restore() {
  if (!raw_) return;
  restoreSaved();
  for (int sig : kRestoringSignals) {
    if (g_restoring & (1u << sig)) std::signal(sig, SIG_DFL);
  }
  g_restoring = 0;
  raw_ = false;
}

void TerminalKeys::pull(int timeoutMillis) {
  struct pollfd p {
    STDIN_FILENO, POLLIN, 0
  };
  if (poll(&p, 1, timeoutMillis) <= 0 || !(p.revents & (POLLIN | POLLHUP | POLLERR))) return;
  char buf[64];
  const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
  if (n > 0) {
    bytes_.append(buf, static_cast<size_t>(n));
  } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
    ended_ = true;  // end of file, or a terminal hung up
  }
}

void TerminalKeys::fill() {
  if (source_ == KeySource::None || ended_) return;
  if (source_ == KeySource::Terminal && !enterRaw()) return;
  pull(0);
  decodeTerminalKeys(bytes_, keys_, false);
  if (!bytes_.empty()) {
    pull(kSequenceGapMillis);
    decodeTerminalKeys(bytes_, keys_, true);
  }
}

int32_t TerminalKeys::read() {
  if (keys_.empty()) fill();
  if (keys_.empty()) return 0;
  const int32_t key = keys_.front();
  keys_.pop_front();
  return key;
}

TerminalKeys::Wait TerminalKeys::wait(int wakeFd) {
  for (;;) {
    if (keys_.empty()) fill();
    if (!keys_.empty()) return Wait::Key;
    if (source_ == KeySource::None || ended_) return Wait::Ended;
    struct pollfd p[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    const int n = poll(p, wakeFd >= 0 ? 2 : 1, -1);
    if (n < 0 && errno != EINTR) return Wait::Ended;
    if (wakeFd >= 0 && (p[1].revents & POLLIN)) return Wait::Woken;
  }
}

}  // namespace foxhost
