#pragma once

// An independent spherical reference for the great-circle tests: haversine arc and atan2
// bearing in long double with the exact π, sharing no code with the routine under test.

#include <random>

namespace orbelle::geo::testing {

struct Reference {
  long double arcDegrees;  // [0, 180]
  long double bearing;     // [0, 360)
};

Reference referenceArcBearing(double lat1, double lon1, double lat2, double lon2);

// Smallest difference between two bearings in degrees, in [0, 180].
double bearingDifference(double a, double b);

struct Position {
  double lat;
  double lon;
};

// Uniform over the sphere's area.
Position randomPosition(std::mt19937_64& rng);

// A position `miles` away from p in direction `bearing` (degrees), on the reference sphere whose
// degree of arc is 60 × 1.1512 miles.
Position offsetPosition(Position p, double miles, double bearing);

}  // namespace orbelle::geo::testing
