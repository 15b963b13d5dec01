#pragma once

// Orderly ends on SIGINT, SIGTERM and SIGHUP (as at the end of a desktop session): the signal
// handler only writes a byte to a socket pair, and `onSignal` runs on the event loop, where a
// program can still release what it holds and write its settings before it quits.

#include <functional>

class QObject;

namespace orbelle {

// Installs the handlers; the notifier is a child of `owner`. False when the socket pair or a
// handler could not be set up (the program then ends on those signals without `onSignal`).
bool onTerminationSignals(QObject* owner, std::function<void()> onSignal);

}  // namespace orbelle
