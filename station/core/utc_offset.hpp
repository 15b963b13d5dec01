#pragma once

// The map's UTCOffset: whole hours added to local time to give UTC, from the local time's offset
// east of UTC in seconds. Zones with half and quarter hours are rounded to the nearest hour, ties
// to even: UTC+5:30 gives -5.5, which becomes -6; UTC-3:30 gives 3.5, which becomes 4.

namespace orbelle::station {

int utcOffsetHours(int secondsEastOfUtc);

}  // namespace orbelle::station
