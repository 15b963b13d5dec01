#include "signals.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace foxhost::signals {
namespace {

volatile sig_atomic_t g_pending = 0;
int g_pipe[2] = {-1, -1};

void onStopSignal(int sig) {
  const int saved = errno;
  if (g_pending != SIGTERM && g_pending != SIGHUP) g_pending = sig;
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = write(g_pipe[1], &byte, 1);  // full pipe: already readable
  errno = saved;
}

}  // namespace

void catchStopSignals() {
  if (g_pipe[0] >= 0) return;
  if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  struct sigaction sa {};
  sa.sa_handler = onStopSignal;
  sigemptyset(&sa.sa_mask);
  sa.sa_flags = 0;  // no SA_RESTART: a read blocked at the prompt ends
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

int pending() { return g_pending; }

void clear() {
  g_pending = 0;
  if (g_pipe[0] < 0) return;
  char buf[64];
  while (read(g_pipe[0], buf, sizeof buf) > 0) {
  }
}

int wakeFd() { return g_pipe[0]; }

}  // namespace foxhost::signals
