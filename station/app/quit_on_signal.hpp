#pragma once

#include <functional>

class QObject;

// Runs `onSignal` on the event loop when SIGINT, SIGTERM or SIGHUP arrives, so that the station
// can release the map before it ends. The signal handler itself only writes to a pipe.

namespace orbelle::station {

bool onTerminationSignals(QObject* owner, std::function<void()> onSignal);

}  // namespace orbelle::station
