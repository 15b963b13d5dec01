#include "spots/hover_text.hpp"

#include <gtest/gtest.h>

#include <limits>

namespace orbelle::spots {
namespace {

TEST(TrimBlanks, RemovesSpacesOnlyAtBothEnds) {
  EXPECT_EQ(trimBlanks("  DL1ABC  "), "DL1ABC");
  EXPECT_EQ(trimBlanks("a b"), "a b");
  EXPECT_EQ(trimBlanks("    "), "");
  EXPECT_EQ(trimBlanks(""), "");
  // Only the space character is a blank.
  EXPECT_EQ(trimBlanks("\tCW\t"), "\tCW\t");
  EXPECT_EQ(trimBlanks(" \nX "), "\nX");
}

TEST(GeneralNumberText, WritesShortestFormUpTo15Digits) {
  EXPECT_EQ(generalNumberText(21.4), "21.4");
  EXPECT_EQ(generalNumberText(14025), "14025");
  EXPECT_EQ(generalNumberText(7.0235), "7.0235");
  EXPECT_EQ(generalNumberText(14025.5), "14025.5");
  EXPECT_EQ(generalNumberText(1234567.0), "1234567");  // no thousands separator
  EXPECT_EQ(generalNumberText(0.1 + 0.2), "0.3");      // 15 digits hide the binary noise
  EXPECT_EQ(generalNumberText(123456789012345.0), "123456789012345");
  EXPECT_EQ(generalNumberText(2.0 / 3.0), "0.666666666666667");
  EXPECT_EQ(generalNumberText(-3.5), "-3.5");
  EXPECT_EQ(generalNumberText(0.0001), "0.0001");
}

TEST(GeneralNumberText, ZeroExtremesAndNonNumbers) {
  EXPECT_EQ(generalNumberText(0.0), "0");
  EXPECT_EQ(generalNumberText(-0.0), "0");
  EXPECT_EQ(generalNumberText(1e15), "1E+15");
  EXPECT_EQ(generalNumberText(2.5e-5), "2.5E-05");
  EXPECT_EQ(generalNumberText(std::numeric_limits<double>::quiet_NaN()), "NaN");
  EXPECT_EQ(generalNumberText(std::numeric_limits<double>::infinity()), "Infinity");
  EXPECT_EQ(generalNumberText(-std::numeric_limits<double>::infinity()), "-Infinity");
}

TEST(GeneralNumberText, UsesTheGivenDecimalSeparator) {
  EXPECT_EQ(generalNumberText(21.4, ","), "21,4");
  EXPECT_EQ(generalNumberText(14025, ","), "14025");
  EXPECT_EQ(generalNumberText(1.5e-6, ","), "1,5E-06");
  // A separator of more than one byte (Arabic decimal separator, UTF-8).
  EXPECT_EQ(generalNumberText(7.0235, "\xd9\xab"),
            "7\xd9\xab"
            "0235");
}

SpotArgs paddedSpot() {
  SpotArgs s;
  s.SpotCall = "  K1ABC ";
  s.SpotBy = " W2XYZ  ";
  s.SpotFreq = 14025.5;
  s.Mode = " CW ";
  s.SpotTime = " 1402Z ";
  s.SpotComment = "  up 2  ";
  s.SpotLoc = " United States ";
  s.SpotByLoc = "  Ontario ";
  s.SpotFreqTX = 14027.5;
  return s;
}

TEST(HoverTexts, SpotMarkerTrimsEverythingButTheTime) {
  EXPECT_EQ(spotHoverText(paddedSpot(), "."),
            "K1ABC (by W2XYZ) 14025.5 CW  1402Z  up 2, United States");
}

TEST(HoverTexts, SpotMarkerNeverShowsTheTransmitFrequency) {
  SpotArgs s = paddedSpot();
  s.SpotFreq = 7.0235;
  s.SpotFreqTX = 9.9875;
  const std::string text = spotHoverText(s, ",");
  EXPECT_EQ(text, "K1ABC (by W2XYZ) 7,0235 CW  1402Z  up 2, United States");
  EXPECT_EQ(text.find("9"), std::string::npos);
}

TEST(HoverTexts, EmptyFieldsKeepTheSeparators) {
  EXPECT_EQ(spotHoverText(SpotArgs{}, "."), " (by ) 0   , ");
  EXPECT_EQ(spotterHoverText(SpotArgs{}), "By ,  ()");
}

TEST(HoverTexts, SpotterMarker) {
  EXPECT_EQ(spotterHoverText(paddedSpot()), "By W2XYZ, Ontario (K1ABC)");
}

}  // namespace
}  // namespace orbelle::spots
