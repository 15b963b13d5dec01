#pragma once

#include <optional>
#include <string_view>

// Maidenhead locators of four or six characters ("FN20", "JO65ha"): a field of 20° × 10°, a
// square of 2° × 1°, a subsquare of 5' × 2.5'.

namespace orbelle::station {

bool isLocatorWord(std::string_view word);

struct Position {
  double latitude = 0.0;   // degrees north
  double longitude = 0.0;  // degrees east
};

// The centre of the locator's square or subsquare; nullopt when `word` is not a locator.
std::optional<Position> locatorCentre(std::string_view word);

}  // namespace orbelle::station
