// Real-time scheduling for the keying calls: while CW_SEND, CW_KBD or CW_ANNU runs, the host's
// thread runs under SCHED_FIFO when the process may use it (root, CAP_SYS_NICE or an
// RLIMIT_RTPRIO above 0), so that a wake-up before an edge is not kept waiting behind other
// programs. Its own policy comes back when the call ends. Without the right nothing changes.
#pragma once

namespace morse {

// Whether the thread may run real-time; asked of the kernel once, by trying.
bool realtimeAllowed();

class RealtimeScope {
 public:
  // `wanted` false (on the virtual clock nothing sleeps) leaves the thread as it is.
  explicit RealtimeScope(bool wanted);
  ~RealtimeScope();
  RealtimeScope(const RealtimeScope &) = delete;
  RealtimeScope &operator=(const RealtimeScope &) = delete;

 private:
  bool raised_ = false;
  int policy_ = 0;
  int priority_ = 0;
};

}  // namespace morse
