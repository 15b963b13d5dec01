// The ring index against a scan of every ring, on rings built to stress it.

#include "geometry/ring_index.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geometry/projection.hpp"
#include "reference_sphere.hpp"

namespace orbelle::geo {
namespace {

using Ring = std::vector<MinutePoint>;

// A closed ring round a box of whole minutes, longitudes past ±10800 folded back.
Ring boxRing(int south, int west, int north, int east, int step = 7) {
  Ring ring;
  auto fold = [](int lon) { return static_cast<std::int16_t>(lon > 10800 ? lon - 21600 : lon); };
  auto add = [&](int lat, int lon) { ring.push_back({static_cast<std::int16_t>(lat), fold(lon)}); };
  for (int lon = west; lon < east; lon += step) add(south, lon);
  for (int lat = south; lat < north; lat += step) add(lat, east);
  for (int lon = east; lon > west; lon -= step) add(north, lon);
  for (int lat = north; lat > south; lat -= step) add(lat, west);
  add(south, west);
  return ring;
}

// A ring round the south pole, as the shore of a continent at the pole is written.
Ring polarCap(int lat, int wobble) {
  Ring ring;
  for (int lon = -10800; lon <= 10800; lon += 37) {
    ring.push_back(
        {static_cast<std::int16_t>(lat + (lon / 37) % wobble), static_cast<std::int16_t>(lon)});
  }
  return ring;
}

TEST(RingIndex, AgreesWithAScanOfEveryRing) {
  struct Case {
    Ring ring;
    RingMask mask;
  };
  const std::vector<Case> rings{
      {polarCap(-4200, 37), 3},                  // round the south pole
      {boxRing(-4900, -3000, -4500, -1000), 1},  // a lake inside it
      {boxRing(1200, 10500, 1500, 11200), 1},    // across 180°
      {boxRing(1000, -2000, 2500, 1000, 5), 1},  // a continent
      {boxRing(1500, -1500, 2000, 0), 1},        // a lake in it
      {boxRing(1700, -1200, 1800, -600, 3), 1},  // an island in the lake
      {boxRing(3000, 44, 3031, 61, 1), 1},       // a tiny island on cell lines
  };
  RingIndex index;
  for (const Case& c : rings) index.addRing(c.ring, c.mask);
  index.build();

  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> lat(-89.0, 89.0), lon(-180.0, 180.0), near(-0.6, 0.6);
  int mismatches = 0, insideSome = 0;
  for (int i = 0; i < 30000; ++i) {
    double la = lat(random), lo = lon(random);
    if (i % 2 == 0) {  // many near vertices and edges: a vertex of a random ring, moved a little
      const Ring& ring = rings[static_cast<std::size_t>(i / 2) % rings.size()].ring;
      const MinutePoint v = ring[static_cast<std::size_t>(random() % ring.size())];
      la = v.lat / 60.0 + near(random) / 10.0;
      lo = v.lon / 60.0 + near(random) / 10.0;
    }
    RingMask expected = 0;
    for (const Case& c : rings) {
      if (ringEncloses(c.ring, la, lo)) expected ^= c.mask;
    }
    mismatches += index.at(la, lo) != expected;
    insideSome += expected != 0;
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_GT(insideSome, 3000);
  // Fixed points whose answers are known without either routine.
  EXPECT_EQ(index.at(-89.9, 0.0), 3);    // on the polar cap
  EXPECT_EQ(index.at(-78.0, -33.0), 2);  // in its lake: water, inside the ice cap's coast
  EXPECT_EQ(index.at(22.0, 179.9), 1);   // across 180°, both sides
  EXPECT_EQ(index.at(22.0, -179.9), 1);
  EXPECT_EQ(index.at(29.0, -5.0), 0);   // the lake in the continent
  EXPECT_EQ(index.at(29.0, -15.0), 1);  // the island in that lake
}

}  // namespace
}  // namespace orbelle::geo
