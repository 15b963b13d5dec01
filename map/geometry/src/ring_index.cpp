#include "geometry/ring_index.hpp"

#include <algorithm>
#include <cmath>

namespace orbelle::geo {

namespace {

constexpr int kTurnMinutes = 21600;
constexpr int kHalfTurnMinutes = 10800;
constexpr int kQuarterTurnMinutes = 5400;
// Cells of a degree: few enough to index quickly; on the outline data no cell holds more than
// about 800 edges, and a pass makes only a few hundred queries.
constexpr int kCellMinutes = 60;
constexpr int kColumns = kTurnMinutes / kCellMinutes;
constexpr int kRows = 2 * kQuarterTurnMinutes / kCellMinutes;
// Each column's reference meridian lies half a minute off the whole minutes of the vertices, so
// no vertex lies on one.
constexpr double kReferenceOffset = kCellMinutes / 2 + 0.5;

int floorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int floorMod(int a, int b) { return a - floorDiv(a, b) * b; }

double referenceMeridian(int column) {
  return -kHalfTurnMinutes + column * kCellMinutes + kReferenceOffset;
}

// Longitude step from a to b folded into (−half turn, half turn].
int lonStep(int a, int b) {
  int d = b - a;
  while (d > kHalfTurnMinutes) d -= kTurnMinutes;
  while (d <= -kHalfTurnMinutes) d += kTurnMinutes;
  return d;
}

int rowOf(int latMinutes) {
  return std::clamp(floorDiv(latMinutes + kQuarterTurnMinutes, kCellMinutes), 0, kRows - 1);
}

int rowOf(double latMinutes) {
  const int row = static_cast<int>(std::floor((latMinutes + kQuarterTurnMinutes) / kCellMinutes));
  return std::clamp(row, 0, kRows - 1);
}

}  // namespace

void RingIndex::addRing(std::span<const MinutePoint> ring, RingMask mask) {
  if (ring.size() < 3) return;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const MinutePoint a = ring[i], b = ring[(i + 1) % ring.size()];
    const int step = lonStep(a.lon, b.lon);
    edges_.push_back({a.lat, a.lon, b.lat, static_cast<std::int16_t>(a.lon + step), mask});
  }
}

void RingIndex::build() {
  // Two passes over the edges (count, then place) for the cells and the meridian crossings.
  cellStart_.assign(std::size_t{kColumns} * kRows + 1, 0);
  columnStart_.assign(kColumns + 1, 0);
  auto visit = [&](auto&& cell, auto&& crossing) {
    for (const Edge& e : edges_) {
      const int lo = std::min(e.lon0, e.lon1), hi = std::max(e.lon0, e.lon1);
      const int row0 = rowOf(int{std::min(e.lat0, e.lat1)});
      const int row1 = rowOf(int{std::max(e.lat0, e.lat1)});
      const int k0 = floorDiv(lo + kHalfTurnMinutes, kCellMinutes);
      const int k1 = floorDiv(hi + kHalfTurnMinutes, kCellMinutes);
      for (int k = k0; k <= k1; ++k) {
        const int column = floorMod(k, kColumns);
        const int shift = (k - column) * kCellMinutes;  // whole turns
        for (int row = row0; row <= row1; ++row) cell(column, row, e, shift);
        const double meridian = referenceMeridian(column) + shift;
        if ((e.lon0 < meridian) != (e.lon1 < meridian)) {
          const double t = (meridian - e.lon0) / (e.lon1 - e.lon0);
          crossing(column, e.lat0 + t * (e.lat1 - e.lat0), e.mask);
        }
      }
    }
  };
  auto cellIndex = [](int column, int row) { return std::size_t(column) * kRows + row; };
  visit([&](int column, int row, const Edge&, int) { ++cellStart_[cellIndex(column, row) + 1]; },
        [&](int column, double, RingMask) { ++columnStart_[column + 1]; });
  for (std::size_t i = 1; i < cellStart_.size(); ++i) cellStart_[i] += cellStart_[i - 1];
  for (std::size_t i = 1; i < columnStart_.size(); ++i) columnStart_[i] += columnStart_[i - 1];

  cellEdges_.resize(cellStart_.back());
  crossings_.resize(columnStart_.back());
  std::vector<std::uint32_t> cellFill(cellStart_.begin(), cellStart_.end() - 1);
  std::vector<std::uint32_t> columnFill(columnStart_.begin(), columnStart_.end() - 1);
  visit(
      [&](int column, int row, const Edge& e, int shift) {
        Edge shifted = e;
        shifted.lon0 = static_cast<std::int16_t>(e.lon0 - shift);
        shifted.lon1 = static_cast<std::int16_t>(e.lon1 - shift);
        cellEdges_[cellFill[cellIndex(column, row)]++] = shifted;
      },
      [&](int column, double lat, RingMask mask) {
        crossings_[columnFill[column]++] = {lat, mask};
      });

  for (int column = 0; column < kColumns; ++column) {
    const auto first = crossings_.begin() + columnStart_[column];
    const auto last = crossings_.begin() + columnStart_[column + 1];
    std::sort(first, last, [](const Crossing& a, const Crossing& b) { return a.lat < b.lat; });
    RingMask above = 0;
    for (auto it = last; it != first;) {
      --it;
      above ^= it->above;
      it->above = above;
    }
  }
  edges_.clear();
  edges_.shrink_to_fit();
}

RingMask RingIndex::at(double latDeg, double lonDeg) const noexcept {
  if (cellStart_.empty()) return 0;
  const double lat = std::clamp(latDeg * 60.0, double{-kQuarterTurnMinutes},
                                double{kQuarterTurnMinutes});
  double lon = std::remainder(lonDeg * 60.0, double{kTurnMinutes});
  if (lon >= kHalfTurnMinutes) lon -= kTurnMinutes;
  const int column = std::clamp(
      static_cast<int>(std::floor((lon + kHalfTurnMinutes) / kCellMinutes)), 0, kColumns - 1);
  const double meridian = referenceMeridian(column);

  // The reference meridian from this latitude to the pole...
  const auto first = crossings_.begin() + columnStart_[column];
  const auto last = crossings_.begin() + columnStart_[column + 1];
  const auto north = std::upper_bound(first, last, lat,
                                      [](double l, const Crossing& c) { return l < c.lat; });
  RingMask mask = north != last ? north->above : 0;

  // ...and the parallel from the reference meridian to the position.
  const double lo = std::min(meridian, lon), hi = std::max(meridian, lon);
  const std::size_t cell = std::size_t(column) * kRows + rowOf(lat);
  for (std::uint32_t i = cellStart_[cell]; i < cellStart_[cell + 1]; ++i) {
    const Edge& e = cellEdges_[i];
    if ((e.lat0 > lat) == (e.lat1 > lat)) continue;
    const double x = e.lon0 + (lat - e.lat0) * (e.lon1 - e.lon0) / (e.lat1 - e.lat0);
    if (x > lo && x < hi) mask ^= e.mask;
  }
  return mask;
}

bool ringEncloses(std::span<const MinutePoint> ring, double latDeg, double lonDeg) noexcept {
  const double lat = latDeg * 60.0;
  const double lon = lonDeg * 60.0;
  int crossings = 0;
  for (std::size_t i = 0; i < ring.size(); ++i) {
    const MinutePoint a = ring[i], b = ring[(i + 1) % ring.size()];
    double da = std::remainder(a.lon - lon, double{kTurnMinutes});
    const double db = da + lonStep(a.lon, b.lon);
    if ((da > 0.0) == (db > 0.0)) continue;
    const double t = da / (da - db);
    crossings += a.lat + t * (b.lat - a.lat) > lat;
  }
  return crossings % 2 == 1;
}

}  // namespace orbelle::geo
