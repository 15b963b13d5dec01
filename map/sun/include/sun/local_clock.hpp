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

// Hours to add to the system's local clock to get UTC at this moment, from the process's time zone
// (5 in US Eastern standard time, −1 in Central European winter time, −5.5 in India); exact to
// the second. 0 when the zone cannot be read.
double systemHoursToUtc();

// A clock that always reads `instant`.
LocalClock fixedClock(DateTime instant);

}  // namespace orbelle
