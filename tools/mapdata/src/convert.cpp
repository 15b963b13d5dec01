#include "convert.hpp"

#include "assemble.hpp"
#include "densify.hpp"
#include "network.hpp"
#include "sphere_area.hpp"

namespace mapdata {

ShoreOutput convertShores(const std::array<std::vector<Polyline>, 4>& levels,
                          const ShoreOptions& options) {
  ShoreOutput out;
  for (std::size_t index = 0; index < levels.size(); ++index) {
    const int level = static_cast<int>(index) + 1;
    LevelStats& stats = out.levels[index];
    stats.pieces = levels[index].size();
    RingAssembly assembled = assembleRings(levels[index]);
    stats.repeatedPieces = assembled.repeatedPieces;
    stats.degeneratePieces = assembled.degeneratePieces;
    stats.rings = assembled.rings.size();
    for (const Polyline& ring : assembled.rings) {
      MinuteLine rounded = toMinuteLine(densify(ring, options.maxStepDeg));
      if (rounded.size() < 4 || twiceGridArea(rounded) == 0) {
        ++stats.ringsBelowGrid;
        continue;
      }
      ++stats.ringsKept;
      if (level == 1)
        (ringAreaKm2(ring) >= options.continentalKm2 ? out.coast : out.island)
            .push_back(std::move(rounded));
      else
        (level == 3 ? out.island : out.lake).push_back(std::move(rounded));
    }
  }
  return out;
}

LineOutput convertLines(const std::vector<Polyline>& pieces, double maxStepDeg) {
  LineOutput out;
  out.pieces = pieces.size();
  std::vector<MinuteLine> rounded;
  rounded.reserve(pieces.size());
  for (const Polyline& piece : pieces) rounded.push_back(toMinuteLine(densify(piece, maxStepDeg)));
  Network network = buildNetwork(rounded);
  out.lines = std::move(network.lines);
  out.repeatedSegments = network.repeatedSegments;
  return out;
}

}  // namespace mapdata
