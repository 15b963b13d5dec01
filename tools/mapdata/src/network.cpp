#include "network.hpp"

#include <unordered_map>
#include <unordered_set>

namespace mapdata {
namespace {

struct Edge {
  std::size_t a, b;  // node indices
  bool used = false;
};

struct Graph {
  std::vector<MinutePoint> places;                 // first spelling seen of each place
  std::vector<std::vector<std::size_t>> incident;  // edge indices per node
  std::vector<Edge> edges;
};

std::uint64_t edgeKey(std::size_t a, std::size_t b) {
  if (a > b) std::swap(a, b);
  return (static_cast<std::uint64_t>(a) << 32) | static_cast<std::uint64_t>(b);
}

Graph buildGraph(const std::vector<MinuteLine>& lines, std::size_t& repeated) {
  Graph g;
  std::unordered_map<std::uint32_t, std::size_t> nodeOf;
  std::unordered_set<std::uint64_t> seen;
  auto node = [&](MinutePoint p) {
    auto [it, added] = nodeOf.emplace(placeKey(p), g.places.size());
    if (added) {
      g.places.push_back(p);
      g.incident.emplace_back();
    }
    return it->second;
  };
  for (const MinuteLine& line : lines) {
    for (std::size_t i = 1; i < line.size(); ++i) {
      const std::size_t a = node(line[i - 1]), b = node(line[i]);
      if (a == b) continue;
      if (!seen.insert(edgeKey(a, b)).second) {
        ++repeated;
        continue;
      }
      g.incident[a].push_back(g.edges.size());
      g.incident[b].push_back(g.edges.size());
      g.edges.push_back(Edge{a, b});
    }
  }
  return g;
}

// Follows unused edges from node `from` through nodes of degree two, starting with edge `first`.
MinuteLine walk(Graph& g, std::size_t from, std::size_t first) {
  MinuteLine line{g.places[from]};
  std::size_t at = from;
  std::size_t edge = first;
  for (;;) {
    Edge& e = g.edges[edge];
    e.used = true;
    at = e.a == at ? e.b : e.a;
    line.push_back(g.places[at]);
    if (g.incident[at].size() != 2) break;
    const std::size_t next = g.incident[at][0] == edge ? g.incident[at][1] : g.incident[at][0];
    if (g.edges[next].used) break;  // back at the start of a loop
    edge = next;
  }
  return line;
}

}  // namespace

Network buildNetwork(const std::vector<MinuteLine>& lines) {
  Network out;
  Graph g = buildGraph(lines, out.repeatedSegments);
  for (std::size_t n = 0; n < g.places.size(); ++n) {
    if (g.incident[n].size() == 2) continue;
    for (const std::size_t e : g.incident[n])
      if (!g.edges[e].used) out.lines.push_back(walk(g, n, e));
  }
  for (std::size_t n = 0; n < g.places.size(); ++n)
    for (const std::size_t e : g.incident[n])
      if (!g.edges[e].used) out.lines.push_back(walk(g, n, e));
  return out;
}

}  // namespace mapdata
