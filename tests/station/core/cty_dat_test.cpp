#include "core/cty_dat.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "peers/cty_excerpt.hpp"

namespace orbelle::station {
namespace {

// Positions in the file have two decimals; the conversion only flips signs, so they are exact
// up to the decimal reading of the same text.
constexpr double kExact = 1e-12;

class CtyExcerpt : public ::testing::Test {
 protected:
  CtyDat::ParseResult parsed = CtyDat::parse(kCtyExcerpt);
  const CtyDat& cty = parsed.table;

  std::string nameOf(std::string_view call) const {
    const auto hit = cty.locate(call);
    return hit ? hit->entity->name : "(none)";
  }
};

TEST_F(CtyExcerpt, ReadsEveryRecordWithLongitudesTurnedEastPositive) {
  EXPECT_EQ(parsed.skippedRecords, 0u) << parsed.firstProblem;
  EXPECT_EQ(parsed.skippedAliases, 0u) << parsed.firstProblem;
  EXPECT_EQ(cty.entityCount(), 9u);
  const auto g = cty.locate("G4XYZ");
  ASSERT_TRUE(g);
  EXPECT_EQ(g->entity->name, "England");
  EXPECT_NEAR(g->latitude, 52.77, kExact);
  EXPECT_NEAR(g->longitude, -1.47, kExact);
  EXPECT_EQ(g->continent, "EU");
  EXPECT_EQ(g->cqZone, 14);
  const auto dl = cty.locate("DL1ABC");
  ASSERT_TRUE(dl);
  EXPECT_NEAR(dl->longitude, 10.0, kExact);
  const auto ja = cty.locate("JA1XYZ");
  ASSERT_TRUE(ja);
  EXPECT_NEAR(ja->longitude, 138.38, kExact);
  const auto zs = cty.locate("ZS6AAA");
  ASSERT_TRUE(zs);
  EXPECT_NEAR(zs->latitude, -29.07, kExact);
  EXPECT_EQ(cty.locate("VP8LP")->entity->primaryPrefix, "VP8");
  EXPECT_EQ(cty.locate("EA8AA")->entity->primaryPrefix, "EA8");  // "*" is not part of it
}

TEST_F(CtyExcerpt, LongestPrefixWinsAndAliasListsSpanLines) {
  EXPECT_EQ(nameOf("KH6ABC"), "Hawaii");
  EXPECT_EQ(nameOf("K1ABC"), "United States");
  EXPECT_EQ(nameOf("EA8BH"), "Canary Islands");
  EXPECT_EQ(nameOf("EA3XX"), "Spain");
  EXPECT_EQ(nameOf("Y21AB"), "Fed. Rep. of Germany");
  EXPECT_EQ(nameOf("dl1abc"), "Fed. Rep. of Germany");
  EXPECT_EQ(nameOf("XX9XX"), "(none)");
}

TEST_F(CtyExcerpt, WholeCallAliasesApplyTheirOverrides) {
  const auto hit = cty.locate("W1AW/KH6");
  ASSERT_TRUE(hit);
  EXPECT_EQ(hit->entity->name, "United States");
  EXPECT_NEAR(hit->latitude, 21.30, kExact);
  EXPECT_NEAR(hit->longitude, -157.90, kExact);
  EXPECT_EQ(hit->cqZone, 31);
  EXPECT_EQ(hit->ituZone, 61);
  EXPECT_EQ(hit->continent, "OC");
  // A whole-call alias is not a prefix: W1AW alone is an ordinary US call.
  EXPECT_NEAR(cty.locate("W1AW")->latitude, 37.60, kExact);
  EXPECT_EQ(nameOf("G4ABC/LH"), "England");
}

TEST_F(CtyExcerpt, PortableCallsArePlacedByTheirCountryPart) {
  EXPECT_EQ(nameOf("EA8/DL1ABC"), "Canary Islands");
  EXPECT_EQ(nameOf("DL1ABC/EA8"), "Canary Islands");
  EXPECT_EQ(nameOf("DL1ABC/P"), "Fed. Rep. of Germany");
  EXPECT_EQ(nameOf("EA8/DL1ABC/P"), "Canary Islands");
  EXPECT_EQ(nameOf("KH6/W1ABC"), "Hawaii");
  EXPECT_EQ(nameOf("W1ABC/4"), "United States");
  EXPECT_EQ(nameOf("DL1ABC/MM"), "(none)");
  EXPECT_EQ(nameOf("G4XYZ/AM"), "(none)");
  EXPECT_EQ(nameOf(""), "(none)");
}

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
  EXPECT_FALSE(parsed.table.locate("G4XYZ"));
  EXPECT_FALSE(parsed.table.locate("X1ABC"));
  EXPECT_EQ(parsed.table.locate("DA1XX")->entity->name, "Good");
  EXPECT_EQ(parsed.table.locate("JA1XX")->entity->name, "Crlf");
}

TEST(CtyDat, EmptyAndGarbageTextGiveAnEmptyTable) {
  EXPECT_EQ(CtyDat::parse("").table.entityCount(), 0u);
  const CtyDat::ParseResult garbage = CtyDat::parse(std::string("\x01\xff:::;;;,,,\n  ,;\n"));
  EXPECT_EQ(garbage.table.entityCount(), 0u);
  EXPECT_FALSE(garbage.table.locate("G4XYZ"));
}

TEST(CtyDat, TheInstalledFileReadsCleanlyAndPlacesWellKnownCalls) {
  std::ifstream in("/usr/share/hamradio-files/cty.dat", std::ios::binary);
  if (!in) GTEST_SKIP() << "hamradio-files is not installed";
  std::stringstream text;
  text << in.rdbuf();
  const CtyDat::ParseResult parsed = CtyDat::parse(text.str());
  EXPECT_EQ(parsed.skippedRecords, 0u) << parsed.firstProblem;
  EXPECT_EQ(parsed.skippedAliases, 0u) << parsed.firstProblem;
  EXPECT_GT(parsed.table.entityCount(), 300u);
  const auto dl = parsed.table.locate("DL1ABC");
  ASSERT_TRUE(dl);
  EXPECT_EQ(dl->entity->primaryPrefix, "DL");
  EXPECT_GT(dl->longitude, 5.0);  // east of Greenwich, so the sign flip happened
  const auto vk = parsed.table.locate("VK2ABC");
  ASSERT_TRUE(vk);
  EXPECT_LT(vk->latitude, -10.0);
  EXPECT_GT(vk->longitude, 110.0);
  const auto w = parsed.table.locate("W1ABC");
  ASSERT_TRUE(w);
  EXPECT_LT(w->longitude, -60.0);
  EXPECT_EQ(parsed.table.locate("KH6ABC")->entity->primaryPrefix, "KH6");
}

}  // namespace
}  // namespace orbelle::station
