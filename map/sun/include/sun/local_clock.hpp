#pragma once

#include <functional>

#include "ini/date_time.hpp"

namespace orbelle {

// The local clock the sun overlay reads: the current local date-time. The window uses
// systemLocalNow; tests and the headless renderer hand in a clock that returns a chosen instant.
using LocalClock = std::function<DateTime()>;

// The system's current local date-time (time zone of the process), in whole seconds.
DateTime systemLocalNow();

// The system's current UTC date-time, in whole seconds (a default instant for headless pictures).
DateTime systemUtcNow();

// A clock that always reads `instant`.
LocalClock fixedClock(DateTime instant);

}  // namespace orbelle
