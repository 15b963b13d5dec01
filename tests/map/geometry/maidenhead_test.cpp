// Maidenhead locators of known places, of the grid's corners and boundaries, and of bad input.

#include "geometry/maidenhead.hpp"

#include <gtest/gtest.h>

#include <cmath>

namespace orbelle::geo {
namespace {

TEST(Maidenhead, SixCharacterLocators) {
  struct Case {
    double lat, lon;
    const char* locator;
  };
  const Case cases[] = {
      {33.9, -84.179, "EM73vv"},         // the map's default station
      {51.5, -0.125, "IO91wm"},          // London
      {-33.8688, 151.2093, "QF56od"},    // Sydney
      {0.0, 0.0, "JJ00aa"},              // a boundary belongs to the square north and east
      {-90.0, -180.0, "AA00aa"},         // the grid's first corner
      {90.0, 180.0, "AR09ax"},           // the top row; 180°E is 180°W
      {89.999, 179.999, "RR99xx"},       // the grid's last subsquare
      {40.0 - 1e-9, -80.0 - 1e-9, "EM99xx"},  // just south-west of a field corner
  };
  for (const Case& k : cases) {
    EXPECT_EQ(maidenheadLocator(k.lat, k.lon), k.locator) << k.lat << " " << k.lon;
  }
  EXPECT_EQ(maidenheadLocator(NAN, 0.0), "");
  EXPECT_EQ(maidenheadLocator(0.0, INFINITY), "");
  EXPECT_EQ(maidenheadLocator(90.5, 0.0), "");
  EXPECT_EQ(maidenheadLocator(10.0, 540.0 + 0.5), maidenheadLocator(10.0, 180.5));
}

}  // namespace
}  // namespace orbelle::geo
