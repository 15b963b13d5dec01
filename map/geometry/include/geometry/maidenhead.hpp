#pragma once

// Maidenhead grid locators, the radio amateurs' way of naming a place by its square.

#include <string>

namespace orbelle::geo {

// The 6-character locator of (lat, lon) in degrees: field (letters A–R, 20° of longitude by 10°
// of latitude), square (digits, 2° by 1°) and subsquare (letters a–x, 5' by 2.5'), e.g. "EM73vv"
// for 33.9°N 84.179°W. A place on a boundary belongs to the square north and east of it;
// latitude 90 counts as the top row and longitude 180 as −180. Empty for a value that is not
// finite or a latitude beyond ±90.
std::string maidenheadLocator(double lat, double lon);

}  // namespace orbelle::geo
