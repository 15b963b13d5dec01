#pragma once

// Colours, pen widths and outline files of the drawing pass, each named once. Colours are packed
// 24-bit RGB (red + 256 × green + 65536 × blue); widths are pixels.

#include <array>
#include <limits>
#include <string_view>

#include "raster/color.hpp"

namespace orbelle::render {

using raster::rgb;
using raster::Rgb;

// The window's colour fields as it sets them when it loads.
inline constexpr Rgb kDefaultLandColor = rgb(0, 128, 0);
inline constexpr Rgb kDefaultWaterColor = rgb(128, 192, 255);
inline constexpr Rgb kDefaultIceColor = rgb(223, 223, 223);

inline constexpr Rgb kBackgroundColor = rgb(0, 0, 0);   // outside the Earth
inline constexpr Rgb kClearColor = rgb(255, 255, 255);  // the map layer before drawing
inline constexpr Rgb kRimColor = rgb(128, 128, 128);    // rim, edge ticks and azimuth marks
inline constexpr Rgb kStateColor = rgb(128, 128, 128);
inline constexpr Rgb kCountryColor = rgb(64, 64, 64);
inline constexpr Rgb kShoreColor = rgb(0, 0, 0);     // coasts, islands and lakes
inline constexpr Rgb kMarkerColor = rgb(255, 0, 0);  // station and pole dots

inline constexpr int kRimWidth = 2;
inline constexpr int kEdgeTickWidth = 3;
inline constexpr int kAzimuthTickWidth = 4;
inline constexpr int kOutlineWidth = 1;
inline constexpr int kMarkerWidth = 3;

// The edge ticks are this many pixels long, rounded to whole miles.
inline constexpr double kEdgeTickPixels = 8.0;

// Azimuth marks: every kAzimuthStepDegrees except the cardinal directions 90, 180 and 270 (the
// edge ticks mark those and north), each an arc of ±kAzimuthHalfArcRadians.
inline constexpr int kAzimuthStepDegrees = 15;
inline constexpr double kAzimuthHalfArcRadians = 0.001;

// Latitude of the two pole dots (degrees, north and south), on longitude 0.
inline constexpr double kPoleDotLatitude = 89.9;
inline constexpr double kPoleDotLongitude = 0.0;

// Outline files, in the folder "mapdata" below the program's folder.
inline constexpr std::string_view kMapDataFolderName = "mapdata";
inline constexpr std::string_view kStateFile = "state.pnt";
inline constexpr std::string_view kCountryFile = "country.pnt";
inline constexpr std::string_view kCoastFile = "coast.velapnt";
inline constexpr std::string_view kIslandFile = "island.pnt";
inline constexpr std::string_view kLakeFile = "lake.pnt";
inline constexpr std::string_view kRiverFile = "river.pnt";

// The river levels, from the major permanent rivers (kRiverFile) to the minor ones. A level is
// drawn on maps of at most maxMilesPerPixel miles per pixel, so a map shows more of them as it
// zooms in while the rivers stay under 5 % of the land's pixels at every scale (mapdata/README.md
// has the figures). Files after the first are detail: one that is missing is left out without a
// message.
struct RiverLevel {
  std::string_view file;
  double maxMilesPerPixel;
};
inline constexpr std::array<RiverLevel, 4> kRiverLevels{{
    {kRiverFile, std::numeric_limits<double>::infinity()},
    {"river2.pnt", 6.0},
    {"river3.pnt", 3.0},
    {"river4.pnt", 1.5},
}};

// A river polyline is drawn only when its chain (render/outline_records.hpp) is at least this
// many pixels long at the map's scale: at whole Earth on 600 pixels about 1340 km, so the Volga
// (about 1600 km of river between its reservoirs) stays and short rivers go.
inline constexpr double kRiverChainPixels = 20.0;
// A river vertex nearer than this many pixels to the last point drawn is passed over (a
// polyline's last vertex never is): a one-pixel line through several vertices per pixel steps
// sideways at each and covers up to twice the pixels of the river's course.
inline constexpr double kRiverStepPixels = 1.0;

}  // namespace orbelle::render
