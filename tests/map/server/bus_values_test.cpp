// Bus names as the map checks them (value conversions: ServerMembers over the bus).

#include "server/bus_values.hpp"

#include <gtest/gtest.h>

namespace orbelle::server {
namespace {

// Bus names: two or more dot-separated elements of [A-Za-z0-9_-], none empty or, unless the
// name is unique (":"), starting with a digit; at most 255 characters.
TEST(BusValues, BusNames) {
  for (const char* good : {":1.42", "Orbelle.server", "org.example.Host_2", "a.b-c"}) {
    EXPECT_TRUE(isValidBusName(QString::fromLatin1(good))) << good;
  }
  for (const char* bad : {"", "host", ".a.b", "a..b", "a.b.", "org.1example", "a.b c"}) {
    EXPECT_FALSE(isValidBusName(QString::fromLatin1(bad))) << bad;
  }
  EXPECT_FALSE(isValidBusName(QStringLiteral("a.") + QString(300, QLatin1Char('b'))));
}

}  // namespace
}  // namespace orbelle::server
