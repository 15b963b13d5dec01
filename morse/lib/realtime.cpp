#include "lib/realtime.hpp"

#include <sched.h>
#include <sys/resource.h>

namespace morse {
namespace {

// Low among real-time priorities: above every normal program, below the kernel's own threads
// and anything an administrator set up on purpose.
constexpr int kKeyingPriority = 10;

// Whether the thread can switch to SCHED_FIFO at `priority`; leaves it as it was.
bool canRunFifo(int priority) {
  const int policy = sched_getscheduler(0);
  sched_param old{};
  sched_getparam(0, &old);
  sched_param p{};
  p.sched_priority = priority;
  if (sched_setscheduler(0, SCHED_FIFO, &p) != 0) return false;
  sched_setscheduler(0, policy, &old);
  return true;
}

// The priority this process may take, 0 when it may not run real-time at all. An unprivileged
// process is bound by its RLIMIT_RTPRIO.
int allowedPriority() {
  if (canRunFifo(kKeyingPriority)) return kKeyingPriority;
  rlimit limit{};
  if (getrlimit(RLIMIT_RTPRIO, &limit) != 0 || limit.rlim_cur < 1 ||
      limit.rlim_cur >= static_cast<rlim_t>(kKeyingPriority)) {
    return 0;
  }
  const int priority = static_cast<int>(limit.rlim_cur);
  return canRunFifo(priority) ? priority : 0;
}

int priority() {
  static const int allowed = allowedPriority();
  return allowed;
}

}  // namespace

bool realtimeAllowed() { return priority() > 0; }

RealtimeScope::RealtimeScope(bool wanted) {
  if (!wanted || !realtimeAllowed()) return;
  policy_ = sched_getscheduler(0);
  sched_param old{};
  sched_getparam(0, &old);
  priority_ = old.sched_priority;
  if (policy_ == SCHED_FIFO || policy_ == SCHED_RR) return;  // real-time already
  sched_param p{};
  p.sched_priority = priority();
  raised_ = sched_setscheduler(0, SCHED_FIFO, &p) == 0;
}

RealtimeScope::~RealtimeScope() {
  if (!raised_) return;
  sched_param p{};
  p.sched_priority = priority_;
  sched_setscheduler(0, policy_, &p);
}

}  // namespace morse
