#include "outline_check.hpp"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "densify.hpp"

namespace mapdata {
namespace {

LonLat degrees(MinutePoint p) {
  return {p.lon / static_cast<double>(kMinutesPerDegree),
          p.lat / static_cast<double>(kMinutesPerDegree)};
}

std::string where(MinutePoint p) {
  return "(lat " + std::to_string(p.lat) + "', lon " + std::to_string(p.lon) + "')";
}

// Number of distinct segments meeting at each place.
std::unordered_map<std::uint32_t, int> degreeOfPlaces(const std::vector<MinuteLine>& lines) {
  std::unordered_set<std::uint64_t> segments;
  std::unordered_map<std::uint32_t, int> degree;
  for (const MinuteLine& line : lines) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      std::uint32_t a = placeKey(line[i - 1]), b = placeKey(line[i]);
      if (a == b) continue;
      if (a > b) std::swap(a, b);
      if (!segments.insert((static_cast<std::uint64_t>(a) << 32) | b).second) continue;
      ++degree[a];
      ++degree[b];
    }
  }
  return degree;
}

}  // namespace

OutlineStats checkOutline(const DecodedOutline& decoded, bool ringsExpected, double maxSegmentDeg) {
  OutlineStats stats;
  stats.records = decoded.records;
  stats.polylines = decoded.lines.size();
  stats.problems = decoded.problems;
  for (std::size_t k = 0; k < decoded.lines.size(); ++k) {
    const MinuteLine& line = decoded.lines[k];
    stats.vertices += line.size();
    const bool closed = line.size() >= 4 && samePlace(line.front(), line.back());
    if (closed) ++stats.closedPolylines;
    if (ringsExpected && !closed)
      stats.problems.push_back("polyline " + std::to_string(k + 1) + " starting at " +
                               where(line.front()) + " is not a closed ring");
    for (std::size_t i = 1; i < line.size(); ++i) {
      const double arc = arcDegrees(degrees(line[i - 1]), degrees(line[i]));
      stats.longestSegmentDeg = std::max(stats.longestSegmentDeg, arc);
      if (arc > maxSegmentDeg)
        stats.problems.push_back("polyline " + std::to_string(k + 1) + ": segment of " +
                                 std::to_string(arc) + " degrees at " + where(line[i - 1]));
    }
  }
  if (!ringsExpected) {
    const auto degree = degreeOfPlaces(decoded.lines);
    for (std::size_t k = 0; k < decoded.lines.size(); ++k) {
      const MinuteLine& line = decoded.lines[k];
      if (line.size() < 2 || samePlace(line.front(), line.back())) continue;
      for (const MinutePoint end : {line.front(), line.back()}) {
        const auto it = degree.find(placeKey(end));
        if (it != degree.end() && it->second == 2)
          stats.problems.push_back("polyline " + std::to_string(k + 1) + " ends at " + where(end) +
                                   " where another polyline continues");
      }
    }
  }
  return stats;
}

}  // namespace mapdata
