// Call signs in spots: words that are calls or spotters, and the parts a call is looked up by.

#include "core/call_sign.hpp"

#include <gtest/gtest.h>

namespace orbelle::station {
namespace {

// Calls and spotters; only parts after the first are designators; maritime mobiles have none.
TEST(CallSign, WordsThatAreCallsOrSpottersAndTheirLookupParts) {
  for (const char* call : {"EA8/DL1ABC/P", "T6A", "4U1UN"}) EXPECT_TRUE(isCallSignWord(call));
  for (const char* word : {"599", "W1AW/", "W1-AW", "TOOLONGCALLSIGN123456"}) {
    EXPECT_FALSE(isCallSignWord(word)) << word;
  }
  EXPECT_TRUE(isSpotterWord("EA5WU-#"));
  for (const char* word : {"W3LPL-", "W3LPL-TOOLONG", "-#"}) EXPECT_FALSE(isSpotterWord(word));
  EXPECT_EQ(withoutNodeSuffix("EA5WU-#"), "EA5WU");
  const std::pair<const char*, const char*> lookups[] = {{"dl1abc/p", "DL1ABC/P|DL1ABC"},
                                                         {"W1ABC/4", "W1ABC/4|W4ABC"},
                                                         {"VP2E/W1AW/QRP", "VP2E/W1AW/QRP|VP2E"},
                                                         {"W1ABC/MM", "none"},
                                                         {"  ", "none"}};
  for (const auto& [call, parts] : lookups) {
    const auto key = lookupCall(call);
    EXPECT_EQ(key ? key->exact + "|" + key->prefixed : "none", parts) << call;
  }
}

}  // namespace
}  // namespace orbelle::station
