#include "assemble.hpp"

#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace mapdata {
namespace {

using PlaceKey = std::pair<double, double>;  // (lat, lon) of placeKey()

PlaceKey keyOf(LonLat p) {
  const LonLat k = placeKey(p);
  return {k.lat, k.lon};
}

// Pieces identical to an earlier piece, forwards or backwards, are marked as repeats.
std::vector<bool> findRepeats(const std::vector<Polyline>& pieces, std::size_t& count) {
  std::set<std::vector<PlaceKey>> seen;
  std::vector<bool> repeated(pieces.size(), false);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    std::vector<PlaceKey> forward;
    forward.reserve(pieces[i].size());
    for (const LonLat& p : pieces[i]) forward.push_back(keyOf(p));
    std::vector<PlaceKey> backward(forward.rbegin(), forward.rend());
    if (seen.contains(forward) || seen.contains(backward)) {
      repeated[i] = true;
      ++count;
    } else {
      seen.insert(std::move(forward));
    }
  }
  return repeated;
}

std::string describe(LonLat p) {
  std::ostringstream s;
  s.precision(12);
  s << p.lon << " " << p.lat;
  return s.str();
}

}  // namespace

RingAssembly assembleRings(const std::vector<Polyline>& pieces) {
  RingAssembly out;
  const std::vector<bool> repeated = findRepeats(pieces, out.repeatedPieces);

  // Open pieces indexed by the place of their first and of their last vertex.
  std::multimap<PlaceKey, std::size_t> byStart;
  std::multimap<PlaceKey, std::size_t> byEnd;
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Polyline& piece = pieces[i];
    if (repeated[i] || piece.empty()) continue;
    if (piece.size() > 1 && samePlace(piece.front(), piece.back())) {
      if (piece.size() < 4) {
        ++out.degeneratePieces;
        continue;
      }
      Polyline ring = piece;
      ring.back() = ring.front();
      out.rings.push_back(std::move(ring));
      continue;
    }
    open.push_back(i);
    byStart.emplace(keyOf(piece.front()), i);
    byEnd.emplace(keyOf(piece.back()), i);
  }

  std::vector<bool> used(pieces.size(), false);
  auto takeFrom = [&](std::multimap<PlaceKey, std::size_t>& index, LonLat at) -> long {
    auto [lo, hi] = index.equal_range(keyOf(at));
    for (auto it = lo; it != hi; ++it) {
      if (!used[it->second]) {
        const std::size_t found = it->second;
        used[found] = true;
        return static_cast<long>(found);
      }
    }
    return -1;
  };

  for (const std::size_t first : open) {
    if (used[first]) continue;
    used[first] = true;
    Polyline ring = pieces[first];
    while (!(ring.size() >= 4 && samePlace(ring.front(), ring.back()))) {
      const LonLat end = ring.back();
      if (long next = takeFrom(byStart, end); next >= 0) {
        const Polyline& piece = pieces[static_cast<std::size_t>(next)];
        ring.insert(ring.end(), piece.begin() + 1, piece.end());
      } else if (long prev = takeFrom(byEnd, end); prev >= 0) {
        const Polyline& piece = pieces[static_cast<std::size_t>(prev)];
        ring.insert(ring.end(), piece.rbegin() + 1, piece.rend());
      } else {
        throw std::runtime_error("shoreline ring cannot be closed: no piece continues at " +
                                 describe(end));
      }
    }
    ring.back() = ring.front();
    out.rings.push_back(std::move(ring));
  }
  return out;
}

}  // namespace mapdata
