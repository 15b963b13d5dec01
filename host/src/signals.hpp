// SIGINT, SIGTERM and SIGHUP as requests to stop, for the whole process.
//
// A handler may only do async-signal-safe work: it records the signal and makes a pipe readable.
// The host reads the record between sleeps (service 209 tells the library call in progress to
// stop) and puts the pipe into every wait on the keyboard, so no wait outlasts a signal.
#pragma once

namespace foxhost::signals {

// Installs the handlers (without SA_RESTART, so a blocking read returns EINTR). Idempotent.
void catchStopSignals();
// The signal received and not yet cleared, 0 when none. A terminating signal (SIGTERM, SIGHUP)
// is never replaced by a later SIGINT.
int pending();
void clear();
// Readable while a signal is pending; -1 before catchStopSignals().
int wakeFd();

}  // namespace foxhost::signals
