#include "ini/ini_document.hpp"

#include <gtest/gtest.h>

namespace orbelle {
namespace {

// Keys belong to their own section (sections named case-blind); comments are
// not keys.
TEST(IniDocument, KeysBelongToTheirOwnSection) {
  const IniDocument doc(
      "top=1\n[A]\nx=a\n; "
      "x=comment\n[B]\nx=b\n[a]\nx=second\ny=2\n#y=hash\n[C]\n");
  const std::tuple<const char *, const char *, std::optional<std::string>> cases[] = {
      {"A", "x", "a"},
      {"B", "x", "b"},
      {"A", "y", "2"},
      {"C", "x", std::nullopt},
      {"A", "top", std::nullopt},
      {"A", "; x", std::nullopt}};
  for (const auto &[section, key, value] : cases) EXPECT_EQ(doc.value(section, key), value) << key;
}

TEST(IniDocument, EditingKeepsEverythingElse) {
  IniDocument doc(
      "; settings of the map\r\n[Other]\r\nKey = kept\r\n\r\n"
      "[Settings]\r\n  LatHere =  1\r\n# note\r\nMaxDx=5\r\n\r\n[Tail]\r\nz=9");
  doc.set("settings", "LATHERE", " 33.9");
  doc.set("Settings", "ShowSun", "Yes");
  doc.set("Fresh", "a", "b");
  EXPECT_EQ(doc.text(),
            "; settings of the map\r\n[Other]\r\nKey = kept\r\n\r\n"
            "[Settings]\r\n  LatHere = 33.9\r\n# "
            "note\r\nMaxDx=5\r\nShowSun=Yes\r\n\r\n"
            "[Tail]\r\nz=9\r\n[Fresh]\r\na=b\r\n");
}

// Regression (the last three): a last line ended by a lone CR lost it whenever
// the file was written back, so editing one key changed another line of the
// user's file.
TEST(IniDocument, UnchangedTextRoundTripsAndALoneCarriageReturnAtTheEndIsKept) {
  for (const std::string text : {"", "a", "[S]\nk=v", "[S]\nk=v\n\n\n", "\xEF\xBB\xBF[S]\nk=v\n",
                                 "\r", "[S]\nk=v\r", "[S]\r\nk=v\r\nz=1\r"}) {
    EXPECT_EQ(IniDocument(text).text(), text);
  }
  IniDocument doc("[S]\nk=v\nz=1\r");
  EXPECT_EQ(doc.value("S", "z"), "1");
  doc.set("S", "k", "w");
  EXPECT_EQ(doc.text(), "[S]\nk=w\nz=1\r");
  doc.set("T", "a", "b");
  EXPECT_EQ(doc.text(), "[S]\nk=w\nz=1\n[T]\na=b\n");
}

// Regression: a value ending in a stray CR read with it, and lost it as soon as
// a line ending was written after it (the file then reads as CRLF), so writing
// another key changed its value.
TEST(IniDocument, StrayCarriageReturnsAreNotPartOfValues) {
  IniDocument doc("[b]\nK=\r\r");
  EXPECT_EQ(doc.value("b", "K"), "");
  doc.set("a", "x", "1");
  EXPECT_EQ(IniDocument(doc.text()).value("b", "K"), "");
  const IniDocument mixed("[b]\nK= v \r\nZ=\r w\nC=a\rb\n");
  EXPECT_EQ(mixed.value("b", "K"), "v");
  EXPECT_EQ(mixed.value("b", "Z"), "w");
  EXPECT_EQ(mixed.value("b", "C"), "a\rb");
}

TEST(IniDocument, NewFileAndEmptySection) {
  IniDocument doc;
  doc.set("Settings", "LatHere", " 1");
  doc.set("Settings", "LonHere", " 2");
  EXPECT_EQ(doc.text(), "[Settings]\nLatHere= 1\nLonHere= 2\n");
  IniDocument bom("\xEF\xBB\xBF[Settings]\n[Next]\n");
  bom.set("Settings", "k", "v");
  EXPECT_EQ(bom.text(), "\xEF\xBB\xBF[Settings]\nk=v\n[Next]\n");
}

TEST(IniDocument, NamesThatWouldBreakTheLayoutAreInvalid) {
  for (const char *bad : {"", "a=b", "a\nb", "[a", ";a", " a"}) {
    EXPECT_FALSE(IniDocument::validKeyName(bad)) << bad;
  }
  EXPECT_TRUE(IniDocument::validKeyName("PixelWidth"));
  EXPECT_TRUE(IniDocument::validSectionName("Settings"));
  EXPECT_FALSE(IniDocument::validSectionName("a]b"));
  EXPECT_TRUE(IniDocument::validValue(" x = y "));
  EXPECT_FALSE(IniDocument::validValue("x\r\n[Evil]"));
}

}  // namespace
}  // namespace orbelle
