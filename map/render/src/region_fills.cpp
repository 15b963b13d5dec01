#include "render/region_fills.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

#include "geometry/constants.hpp"
#include "geometry/plane_inverse.hpp"
#include "render/land_regions.hpp"

namespace orbelle::render {

namespace {

constexpr int kUndecided = -1;
// Passes of step 2: a region decided from a neighbour can be the neighbour of another.
constexpr int kCrossingPasses = 4;

// Per row, the pixels whose centres lie within radius miles of the map's centre.
std::vector<RowInterval> rowsWithin(const raster::Surface& surface, double radius) {
  std::vector<RowInterval> rows(static_cast<std::size_t>(surface.height()));
  const double uw = surface.unitWidth(), uh = surface.unitHeight();
  for (int y = 0; y < surface.height(); ++y) {
    const double ym = surface.scaleTop() + y * uh;
    const double rest = radius * radius - ym * ym;
    if (rest < 0.0) continue;
    const double half = std::sqrt(rest);
    const double a = (-half - surface.scaleLeft()) / uw, b = (half - surface.scaleLeft()) / uw;
    const int x0 = static_cast<int>(std::max(0.0, std::ceil(std::min(a, b))));
    const int x1 = static_cast<int>(std::min(surface.width() - 1.0, std::floor(std::max(a, b))));
    rows[static_cast<std::size_t>(y)] = {x0, x1};
  }
  return rows;
}

}  // namespace

int depthNeeded(double milesPerPixel, double antipodeMiles) noexcept {
  if (!(milesPerPixel > 0.0)) return 0;
  const double rho = std::max(antipodeMiles, kDeepClearMiles);
  // A straight map line between two vertices a segment apart, at rho from the antipode, bows
  // away from the shore it stands for by at most about L²·R / (8·rho²).
  const double bend =
      kLongestShoreSegmentMiles * kLongestShoreSegmentMiles * geo::kAntipodeMiles / (8 * rho * rho);
  const double reach =
      kLinePixelReach + kHalfPixelDiagonal + (kVertexRoundingMiles + bend) / milesPerPixel;
  return static_cast<int>(std::min(std::floor(reach), 1000.0)) + 1;
}

RegionFigures fillRegions(const geo::MapPlane& plane, raster::Surface& surface,
                          const PassOptions& options, const ShoreTruth& truth,
                          const ShoreCrossings& crossings, bool CancelDraw) {
  RegionFigures figures;
  if (CancelDraw) return figures;
  const raster::Pixel land = raster::toPixel(options.LandColor);
  const double farthest = plane.mapRadius() * std::sqrt(2.0);  // the corners
  const double innerRim = geo::kAntipodeMiles - kInnerRimMiles;
  const double deepLimit = geo::kAntipodeMiles - kDeepClearMiles;

  const std::vector<RowInterval> inner =
      farthest > innerRim ? rowsWithin(surface, innerRim) : std::vector<RowInterval>{};
  const LandRegions regions = findLandRegions(surface, land, inner);
  figures.regions = regions.count;

  // Step 1: a pixel of each region deep enough and away from the antipode.
  const int needed =
      depthNeeded(plane.MilesPerPixel, std::max(kDeepClearMiles, geo::kAntipodeMiles - farthest));
  const DeepLand deep = deepLand(surface, land, needed);
  const std::vector<RowInterval> deepRows =
      rowsWithin(surface, std::min(deepLimit, farthest + 1.0));
  const std::size_t count = static_cast<std::size_t>(regions.count);
  std::vector<int> mask(count, kUndecided);
  const geo::PlaneInverse inverse(plane.LatHere, plane.LonHere);
  for (const LandRun& run : regions.runs) {
    const auto r = static_cast<std::size_t>(run.region);
    if (mask[r] != kUndecided) continue;
    const RowInterval rows = deepRows[static_cast<std::size_t>(run.y)];
    const int x0 = std::max(run.x0, rows.x0), x1 = std::min(run.x1, rows.x1);
    for (int x = x0; x <= x1; ++x) {
      if (!deep.at(x, run.y)) continue;
      const geo::GeoPosition p =
          inverse.positionOnCircle({surface.scaleLeft() + x * surface.unitWidth(),
                                    surface.scaleTop() + run.y * surface.unitHeight()});
      mask[r] = truth.at(p.lat, p.lon);
      ++figures.byDepth;
      break;
    }
  }

  // Step 2: from the nearest decided region along a row, across the drawn shores between.
  for (int pass = 0; pass < kCrossingPasses; ++pass) {
    bool progress = false;
    for (std::size_t i = 0; i < regions.runs.size(); ++i) {
      const LandRun& run = regions.runs[i];
      const auto r = static_cast<std::size_t>(run.region);
      if (mask[r] != kUndecided) continue;
      const std::size_t rowFirst = regions.rowRun[static_cast<std::size_t>(run.y)];
      const std::size_t rowEnd = regions.rowRun[static_cast<std::size_t>(run.y) + 1];
      const LandRun* left = nullptr;
      const LandRun* right = nullptr;
      for (std::size_t j = i; j > rowFirst && left == nullptr; --j) {
        if (mask[static_cast<std::size_t>(regions.runs[j - 1].region)] != kUndecided) {
          left = &regions.runs[j - 1];
        }
      }
      for (std::size_t j = i + 1; j < rowEnd && right == nullptr; ++j) {
        if (mask[static_cast<std::size_t>(regions.runs[j].region)] != kUndecided) {
          right = &regions.runs[j];
        }
      }
      if (left != nullptr && right != nullptr) {
        (run.x0 - left->x1 <= right->x0 - run.x1 ? right : left) = nullptr;
      }
      if (left != nullptr) {
        mask[r] = mask[static_cast<std::size_t>(left->region)] ^
                  crossings.between(run.y, left->x1, run.x0);
      } else if (right != nullptr) {
        mask[r] = mask[static_cast<std::size_t>(right->region)] ^
                  crossings.between(run.y, run.x1, right->x0);
      } else {
        continue;
      }
      ++figures.byCrossing;
      progress = true;
    }
    if (!progress) break;
  }

  // Paint.
  std::vector<char> counted(count, 0);
  for (const LandRun& run : regions.runs) {
    const auto r = static_cast<std::size_t>(run.region);
    const int m = mask[r];
    if (m == kUndecided || ((m & kLandBit) != 0 && (m & kIceBit) == 0)) continue;
    const bool water = (m & kLandBit) == 0;
    surface.plotSpan(run.y, run.x0, run.x1, water ? options.WaterColor : options.IceColor);
    if (!counted[r]) {
      counted[r] = 1;
      ++(water ? figures.water : figures.ice);
    }
  }
  for (std::size_t r = 0; r < count; ++r) figures.undecided += mask[r] == kUndecided;
  return figures;
}

}  // namespace orbelle::render
