#include "spots/sample_spots.hpp"

#include "raster/color.hpp"

namespace orbelle::spots {

std::array<SpotArgs, 2> sampleSpots() {
  SpotArgs first;
  first.LatDeg = 40.0;
  first.LonDeg = -2.0;
  first.Color = static_cast<std::int32_t>(raster::rgb(255, 0, 0));
  first.SpotFreq = 21.4;
  first.Mode = "SSB";
  first.SpotCall = kSampleSpotCall;
  first.SpotTime = "13:31:00";
  first.SpotBy = kSampleSpotterCall;
  first.SpotComment = "Very Loud";
  first.SpotLoc = "England";
  first.SpotByLat = 33.0;
  first.SpotByLon = -84.0;
  first.SpotByColor = static_cast<double>(raster::rgb(192, 192, 192));
  first.SpotByLoc = "USA, Southeast";
  first.SpotFreqTX = 0.0;

  SpotArgs second = first;
  second.LatDeg = 30.0;
  second.LonDeg = -85.0;
  second.SpotByLat = 50.0;
  second.SpotByLon = 0.0;
  second.SpotFreqTX = 21.3;
  return {first, second};
}

}  // namespace orbelle::spots
