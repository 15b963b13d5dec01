// Fixed texts and constants of the utility library, each in one place.
#pragma once

#include <cstdint>
#include <string_view>

namespace velalib {

// ---- tagged strings and item lists ----------------------------------------------------------
inline constexpr char kTagEnd = '|';   // closes every item of a tagged string
inline constexpr char kTagLead = ' ';  // a tag is found at the start or after this character
inline constexpr unsigned char kTrimLimit = 32;  // codes 0..32 are trimmed from tag values

inline constexpr std::string_view kInvalidTagType =
    "Invalid type passed to TAG_VAL().  Allowable types are C, D, I, F, L";
inline constexpr std::string_view kTagFldGrowFailed = "TAG_FLD() _SetHandSize() failed!";
inline constexpr std::string_view kGetItemGrowFailed = "GET_ITEM() _SetHandSize() failed!";

// Host expressions and commands around a date result read under "MDY".
inline constexpr std::string_view kSaveDateSetting = "[SET DATE ]+SET([DATE])";
inline constexpr std::string_view kDateSettingMdy = "SET DATE MDY";

// ---- conversions ----------------------------------------------------------------------------
inline constexpr std::string_view kStrAscBadPosition =
    "Length passed to str_asc() is greater than the length of the string or 0 or negative.";
inline constexpr int64_t kJulianDayOffset = 1721119;  // day number of 1 March of year 0, less 1
inline constexpr double kFullCircle = 360.0;

// ---- display widths and decimals of results -------------------------------------------------
inline constexpr int16_t kWidthTagInteger = 12;
inline constexpr int16_t kWidthTagNumber = 20;
inline constexpr uint32_t kDecimalsTagNumber = 8;
inline constexpr int16_t kWidthVal = 20;
inline constexpr uint32_t kDecimalsVal = 10;
inline constexpr int16_t kWidthHandle = 10;  // window handles, NEW_PROP, DEC_, HEX_
inline constexpr int16_t kWidthStrAsc = 3;
inline constexpr int16_t kWidthAngle = 10;
inline constexpr uint32_t kDecimalsAngle = 6;

}  // namespace velalib
