// The conversion steps from GMT's pieces to the polylines of the outline files.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "geo.hpp"
#include "minute_grid.hpp"

namespace mapdata {

constexpr double kDefaultStepDeg = 0.1;
// Level-1 rings at least this large are continents (Africa-Eurasia, the Americas, Antarctica,
// Australia); every smaller one, Greenland (about 2.2 million km2) included, is an island.
constexpr double kDefaultContinentalKm2 = 5.0e6;

struct ShoreOptions {
  double maxStepDeg = kDefaultStepDeg;
  double continentalKm2 = kDefaultContinentalKm2;
};

struct LevelStats {
  std::size_t pieces = 0;
  std::size_t repeatedPieces = 0;
  std::size_t degeneratePieces = 0;
  std::size_t rings = 0;
  std::size_t ringsBelowGrid = 0;  // enclose no area once rounded to whole minutes; dropped
  std::size_t ringsKept = 0;
};

struct ShoreOutput {
  std::vector<MinuteLine> coast;   // continental level-1 rings
  std::vector<MinuteLine> island;  // other level-1 rings and level-3 rings (islands in lakes)
  std::vector<MinuteLine> lake;    // level-2 (lakes) and level-4 (ponds in islands) rings
  std::array<LevelStats, 4> levels;
};

// levels[0..3] hold the pieces of shoreline levels 1..4. Each level's pieces are joined into
// rings, densified, rounded to whole minutes and cleared of repeated vertices; rings that then
// enclose no area are dropped. Throws std::runtime_error when a level's pieces do not close.
ShoreOutput convertShores(const std::array<std::vector<Polyline>, 4>& levels,
                          const ShoreOptions& options);

struct LineOutput {
  std::vector<MinuteLine> lines;
  std::size_t pieces = 0;
  std::size_t repeatedSegments = 0;
};

// Borders and rivers: each piece is densified and rounded, then all segments are merged into
// the fewest polylines (repeated segments kept once, pieces joined through their shared ends).
LineOutput convertLines(const std::vector<Polyline>& pieces, double maxStepDeg);

}  // namespace mapdata
