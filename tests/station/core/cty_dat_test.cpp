#include "core/cty_dat.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "peers/cty_excerpt.hpp"

namespace orbelle::station {
namespace {

// Positions have two decimals and the reading only flips signs: exact to the decimal reading.
constexpr double kExact = 1e-12;

TEST(CtyDat, TheLongestPrefixOrAWholeCallPlacesACallByItsCountryPart) {
  const CtyDat::ParseResult parsed = CtyDat::parse(kCtyExcerpt);
  EXPECT_EQ(parsed.skippedRecords + parsed.skippedAliases, 0u) << parsed.firstProblem;
  EXPECT_EQ(parsed.table.entityCount(), 9u);
  // East positive; "*" is no part of a prefix; a whole-call alias overrides; lists span lines.
  const struct Case {
    const char* call;
    const char* entity;  // "" when the call cannot be placed
    double latitude, longitude;
    const char* continent;
  } cases[] = {{"EA8AA", "Canary Islands", 28.32, -15.85, "AF"},
               {"W1AW/KH6", "United States", 21.30, -157.90, "OC"},
               {"y21ab", "Fed. Rep. of Germany", 51.0, 10.0, "EU"},
               {"EA8/DL1ABC/P", "Canary Islands", 28.32, -15.85, "AF"},
               {"G4ABC/LH", "England", 52.77, -1.47, "EU"},
               {"ZS6AAA", "South Africa", -29.07, 22.63, "AF"},
               {"G4XYZ/AM", "", 0, 0, ""}};
  for (const Case& c : cases) {
    const auto hit = parsed.table.locate(c.call);
    ASSERT_EQ(hit ? hit->entity->name : "", c.entity) << c.call;
    if (!hit) continue;
    EXPECT_NEAR(hit->latitude, c.latitude, kExact) << c.call;
    EXPECT_NEAR(hit->longitude, c.longitude, kExact) << c.call;
    EXPECT_EQ(hit->continent, c.continent) << c.call;
  }
}

// Bad records and aliases are skipped and counted, and reading goes on.
TEST(CtyDat, SkipsBadRecordsAndAliasesAndReadsOn) {
  const char* text =
      "Broken Header:            14:  27:  EU:   52.77:     1.47:  G:\n"  // 7 fields
      "    G,M;\n"
      "Bad Latitude:             14:  27:  EU:   95.00:     1.47:     0.0:  X1:\n"
      "    X1;\n"
      "    QQ;\n"  // no header
      "Good:                     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
      "    DL,=DL0(99),D?X,DA;\n"  // 2 bad aliases
      "Crlf:                     25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\r\n"
      "    JA;\r\n";
  const CtyDat::ParseResult parsed = CtyDat::parse(text);
  EXPECT_EQ(parsed.skippedRecords, 3u);
  EXPECT_EQ(parsed.skippedAliases, 2u);
  EXPECT_EQ(parsed.firstProblem.rfind("line 1:", 0), 0u) << parsed.firstProblem;
  EXPECT_EQ(parsed.table.entityCount(), 2u);
  EXPECT_FALSE(parsed.table.locate("X1ABC"));
  EXPECT_EQ(parsed.table.locate("DA1XX")->entity->name, "Good");
  EXPECT_EQ(parsed.table.locate("JA1XX")->entity->name, "Crlf");
}

// The file Debian installs, an independent reference: read cleanly, signs right on every side.
TEST(CtyDat, TheInstalledFileReadsCleanlyAndPlacesWellKnownCalls) {
  std::ifstream in("/usr/share/hamradio-files/cty.dat", std::ios::binary);
  if (!in) GTEST_SKIP() << "hamradio-files is not installed";
  std::stringstream text;
  text << in.rdbuf();
  const CtyDat::ParseResult parsed = CtyDat::parse(text.str());
  EXPECT_EQ(parsed.skippedRecords + parsed.skippedAliases, 0u) << parsed.firstProblem;
  EXPECT_GT(parsed.table.entityCount(), 300u);
  const auto vk = parsed.table.locate("VK2ABC");
  const auto w = parsed.table.locate("W1ABC");
  ASSERT_TRUE(vk && w);
  EXPECT_LT(vk->latitude, -10.0);
  EXPECT_GT(vk->longitude, 110.0);
  EXPECT_LT(w->longitude, -60.0);
}

}  // namespace
}  // namespace orbelle::station
