// Call signs in spots: words that are calls or spotters, and the parts a call is looked up by.

#include "core/call_sign.hpp"

#include <gtest/gtest.h>

namespace orbelle::station {
namespace {

// Calls and spotters; only parts after the first are designators; a call area moves the prefix.
TEST(CallSign, WordsThatAreCallsOrSpottersAndTheirLookupParts) {
  for (const char* call : {"EA8/DL1ABC/P", "T6A", "4U1UN"}) EXPECT_TRUE(isCallSignWord(call));
  for (const char* word : {"599", "W1AW/", "W1-AW", "TOOLONGCALLSIGN123456"}) {
    EXPECT_FALSE(isCallSignWord(word)) << word;
  }
  EXPECT_TRUE(isSpotterWord("EA5WU-#"));
  for (const char* word : {"W3LPL-", "W3LPL-TOOLONG", "-#"}) EXPECT_FALSE(isSpotterWord(word));
  const std::pair<const char*, const char*> lookups[] = {
      {"dl1abc/p", "DL1ABC/P|DL1ABC"}, {"W1ABC/4", "W1ABC/4|W4ABC"}, {"  ", "none"}};
  for (const auto& [call, parts] : lookups) {
    const auto key = lookupCall(call);
    EXPECT_EQ(key ? key->exact + "|" + key->prefixed : "none", parts) << call;
  }
}

}  // namespace
}  // namespace orbelle::station
