#pragma once

// The rules of the options panel's fields, without the fields themselves: bounds, the order in
// which the miles field is bounded, and the conversions between miles and kilometres. Distances
// are statute miles and kilometres; latitudes and longitudes decimal degrees.

#include <cstdint>
#include <optional>
#include <string_view>

#include "geometry/constants.hpp"

namespace orbelle::model {

// Largest map radius the miles field accepts: 3959 × 3.14159265358979 miles, half the
// circumference of the Earth's sphere. A larger entry is replaced by kMilesFieldMaxText.
inline constexpr double kMaxDxLimitMiles = 12437.565315561978;
inline constexpr std::string_view kMilesFieldMaxText = "12437";
inline constexpr double kMilesFieldMax = geo::kWholeEarthMiles;
// Smallest map radius the miles field accepts; a smaller entry is replaced by kMilesFieldMinText.
inline constexpr double kMilesFieldMin = 100.0;
inline constexpr std::string_view kMilesFieldMinText = "100";

// Latitudes of 90 or more (−90 or less) become ±89.9; longitudes beyond ±180 become ±180.
inline constexpr double kLatitudeLimit = 90.0;
inline constexpr double kLatitudeBounded = 89.9;
inline constexpr double kLongitudeLimit = 180.0;

using geo::kKmPerMile;
inline constexpr double kSecondsPerHour = 3600.0;

double boundLatitude(double latitude);
double boundLongitude(double longitude);

// A number in the miles field after its bounds: the value above the limit becomes 12437 and then
// a value below 100 becomes 100, each also replacing the field's text.
struct MilesEntry {
  std::optional<std::string_view> replacementText;  // the field's new text, when bounded
  std::int16_t MaxDx = 0;                           // the entry rounded to a mile, ties to even
  std::int32_t km = 0;                              // MaxDx × 1.60933 rounded down
};
MilesEntry milesEntry(double fieldValue);

// Whole kilometres of a radius in miles: miles × 1.60933, rounded down.
std::int32_t kmOfMiles(double miles);

// The radius of a kilometre entry: km ÷ 1.60933 rounded down to a whole mile. Not bounded to
// the miles field's range; a result beyond the 16-bit range is held at its end.
std::int16_t milesOfKm(double km);

// A stored or given radius as a 16-bit count of miles: nearest, ties to even, held in range.
std::int16_t wholeMiles(double miles);

}  // namespace orbelle::model
