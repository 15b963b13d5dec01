#include "ini/ini_document.hpp"

#include <gtest/gtest.h>

namespace orbelle {
namespace {

// Keys belong to their own section (named case-blind) and comments are not keys; edits change
// or add one line and keep every other byte, line ends included; a new section goes at the end.
TEST(IniDocument, ReadsAndEditsKeepingEverythingElse) {
  IniDocument doc(
      "; x=1\r\n[Other]\r\nx = kept\r\n\r\n"
      "[Settings]\r\n  LatHere =  1\r\n# x=2\r\nMaxDx=5\r\n\r\n[other]\r\ny=9");
  EXPECT_EQ(doc.value("OTHER", "x"), "kept");
  EXPECT_EQ(doc.value("other", "y"), "9");
  EXPECT_EQ(doc.value("Settings", "x"), std::nullopt);
  EXPECT_EQ(doc.value("Settings", "# x"), std::nullopt);
  doc.set("settings", "LATHERE", " 33.9");
  doc.set("Settings", "ShowSun", "Yes");
  doc.set("Fresh", "a", "b");
  EXPECT_EQ(doc.text(),
            "; x=1\r\n[Other]\r\nx = kept\r\n\r\n"
            "[Settings]\r\n  LatHere = 33.9\r\n# x=2\r\nMaxDx=5\r\nShowSun=Yes\r\n\r\n"
            "[other]\r\ny=9\r\n[Fresh]\r\na=b\r\n");
  IniDocument bom("\xEF\xBB\xBF[Settings]\n[Next]\n");
  bom.set("Settings", "k", "v");
  EXPECT_EQ(bom.text(), "\xEF\xBB\xBF[Settings]\nk=v\n[Next]\n");
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

}  // namespace
}  // namespace orbelle
