#pragma once

// Which closed rings of the globe enclose a position: the point-in-polygon test of the shore
// rings (coasts, islands, lakes), answered for many positions at once.
//
// Rings are given as vertices in whole minutes of arc (latitude within ±5400, longitude within
// ±10800, north and east positive); an edge joins each vertex to the next and the last to the
// first, straight in latitude and longitude the short way round (edges are short: the outline
// data has none longer than 0.12°). A ring encloses a position when the meridian arc from the
// position to the north pole crosses it an odd number of times, so a ring never encloses the
// north pole; a ring round the south pole (Antarctica) encloses the pole's side. Each ring has a
// mask, and a query returns the XOR of the masks of the rings that enclose the position: with
// bit 0 set on every ring, bit 0 is the parity of the nesting (land inside a coast, water inside
// a lake inside it, and so on).
//
// Positions exactly on an edge count as on one side or the other, consistently: as if moved an
// infinitesimal step north.
//
// Cost: building is linear in the edges; a query is a binary search and a scan of the edges of
// one one-degree cell (at most about 800 on the outline data, none in open water).
// Immutable after build: queries may run on several threads at once.

#include <cstdint>
#include <span>
#include <vector>

namespace orbelle::geo {

struct MinutePoint {
  std::int16_t lat = 0;  // minutes of arc, north positive
  std::int16_t lon = 0;  // minutes of arc, east positive
};

using RingMask = std::uint8_t;

class RingIndex {
 public:
  // Adds a ring of at least three vertices (a repeated closing vertex is allowed); shorter ones
  // enclose nothing and are ignored. Call build() after the last ring.
  void addRing(std::span<const MinutePoint> ring, RingMask mask);
  void build();

  // XOR of the masks of the rings enclosing (latDeg, lonDeg), degrees.
  RingMask at(double latDeg, double lonDeg) const noexcept;

  std::size_t edgeCount() const noexcept { return edges_.size(); }

 private:
  // Longitudes unwrapped along the edge (lon1 − lon0 is the short step, at most half a turn).
  struct Edge {
    std::int16_t lat0, lon0, lat1, lon1;
    RingMask mask;
  };
  struct Crossing {
    double lat;       // where an edge crosses the column's reference meridian
    RingMask above;   // XOR of the masks of this and every crossing farther north
  };

  std::vector<Edge> edges_;                  // as added; cleared by build()
  std::vector<std::uint32_t> cellStart_;     // per cell, into cellEdges_ (one more at the end)
  std::vector<Edge> cellEdges_;              // edges by cell, longitudes shifted into the cell
  std::vector<std::uint32_t> columnStart_;   // per column, into crossings_
  std::vector<Crossing> crossings_;          // per column, south to north
};

// The same rule for one ring, by a scan of all its edges (for a few positions on a few rings).
bool ringEncloses(std::span<const MinutePoint> ring, double latDeg, double lonDeg) noexcept;

}  // namespace orbelle::geo
