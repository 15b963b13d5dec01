#pragma once

// The numbers of the map geometry, each named once. Every map computation works in double
// precision except where a constant says single precision (the rim and tick radii are handed to
// the surface as floats).

#include <cstdint>

namespace orbelle::geo {

// π as the map formulas write it (14 decimals, not M_PI).
inline constexpr double kPi = 3.14159265358979;

// Degrees to radians: multiply by kDegToRad; radians to degrees: divide by it. Equal to kPi / 180
// to the last bit.
inline constexpr double kDegToRad = 0.017453292519943278;

// Statute miles per degree of great-circle arc: 60 nautical miles of 1.1512 statute miles. Arc
// degrees become miles as degrees × 60 × 1.1512, in that order.
inline constexpr double kNauticalMilesPerDegree = 60.0;
inline constexpr double kMilesPerNauticalMile = 1.1512;
inline constexpr double kMilesPerDegree = kNauticalMilesPerDegree * kMilesPerNauticalMile;

// Kilometres per statute mile.
inline constexpr double kKmPerMile = 1.60933;

// Largest map radius in miles: the integer part of 3959 × kPi = 12437.565315561978.
inline constexpr std::int16_t kWholeEarthMiles = 12437;

// Distance of the station's antipode from the map centre: 180 × 60 × 1.1512 = 12432.96 miles.
inline constexpr double kAntipodeMiles = 180.0 * kNauticalMilesPerDegree * kMilesPerNauticalMile;

// Radius of the Earth's rim circle in miles, single precision (12422.5654296875).
inline constexpr float kRimRadiusMiles = 12422.565f;

// Radius of the circle the azimuth ticks lie on, in miles, single precision (12437.5654296875).
inline constexpr float kTickRadiusMiles = 12437.565f;

// Smallest map radius the surface is ever scaled to, in miles; radii of 0 or less are bounded
// to it so the surface never gets a zero or inverted scale.
inline constexpr std::int16_t kMinMapRadiusMiles = 1;

// A latitude (degrees) below this value asks DrawPath to erase the path instead of drawing one;
// −90 itself is drawn.
inline constexpr double kPathClearBelowLatitude = -90.0;

// Pen widths in pixels of the path line and of the station marker DrawPath redraws.
inline constexpr int kPathPenWidth = 2;
inline constexpr int kStationMarkPenWidth = 3;

}  // namespace orbelle::geo
