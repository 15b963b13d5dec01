#pragma once

// One point of the day/night terminator, computed from the shared GrayLine state.

#include "sun/gray_line.hpp"

namespace orbelle {

// Half the earth's circumference for a radius of 3959 miles (3959 × 3.14159265358979): the
// half-width of the whole-earth square in statute miles.
inline constexpr double kWholeEarthHalfWidth = 12437.565315561978;

class GrayPoint {
 public:
  // Reads `state` on every Calculate; the state must outlive the point.
  explicit GrayPoint(const GrayLine& state) : state_(&state) {}

  // Longitude of the last point, degrees east, not reduced into ±180.
  float Longitude() const { return longitude_; }
  void setLongitude(float vData) { longitude_ = vData; }
  // Latitude of the last point, degrees north.
  float Latitude() const { return latitude_; }
  void setLatitude(float vData) { latitude_ = vData; }
  // Map x in statute miles from the west edge of the whole-earth square: R + miles east.
  float x() const { return x_; }
  void setX(float vData) { x_ = vData; }
  // Map y in statute miles from the north edge of the whole-earth square: R − miles north.
  float y() const { return y_; }
  void setY(float vData) { y_ = vData; }

  // Computes the four properties for the position Angle (degrees) along the terminator. Angle
  // runs once around from 0 to 360: 0 → 90 from the equator up to GrayMaxLat on the sunset
  // side (east of the sub-solar meridian), 90 → 180 back down to the equator on the sunrise
  // side, 180 → 270 down to GrayMinLat on the sunrise side and 270 → 360 back up on the sunset
  // side. Angles outside 0..360 follow the same four ramps unchecked.
  void Calculate(float Angle);

  // Calculate for up to kBlock angles at once, with the same results point for point: out[i]
  // receives the four properties for angles[i], and the properties are left as Calculate of the
  // last angle leaves them. Faster for long runs of points (the overlay's gray line).
  static constexpr int kBlock = 128;
  struct Block {
    float Longitude[kBlock];
    float Latitude[kBlock];
    float x[kBlock];
    float y[kBlock];
  };
  void Calculate(const float* angles, int count, Block& out);

 private:
  const GrayLine* state_;
  float longitude_ = 0;
  float latitude_ = 0;
  float x_ = 0;
  float y_ = 0;
};

}  // namespace orbelle
