// A cluster's byte stream: telnet negotiation refused, lines cut, spot lines read, prompts
// recognised, reconnections spaced out.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/backoff.hpp"
#include "core/cluster_login.hpp"
#include "core/dx_spot_line.hpp"
#include "core/line_buffer.hpp"
#include "core/telnet_filter.hpp"

namespace orbelle::station {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(TelnetFilter, RefusesOffersAnswersNoRefusalAndKeepsTheText) {
  // Offers (DO, WILL) refused; refusals, subnegotiation and commands dropped; a sequence split
  // across reads; IAC IAC is a data byte.
  const struct Case {
    std::vector<std::string> reads;
    std::string text, replies;
  } cases[] = {
      {{"ab" + bytes({255, 253, 1}) + "cd" + bytes({255, 251, 3}) + "e"},
       "abcde",
       bytes({255, 252, 1, 255, 254, 3})},
      {{bytes({255, 252, 1, 255, 254, 3, 'x', 255, 250, 24, 1, 255, 240, 'y', 255, 241, 'z'})},
       "xyz",
       ""},
      {{"a" + bytes({255}), bytes({253}), bytes({24, 'b', 255, 255, 'c'})},
       "ab" + bytes({255}) + "c",
       bytes({255, 252, 24})}};
  for (const Case& c : cases) {
    TelnetFilter filter;
    std::string text, replies;
    for (const std::string& read : c.reads) text += filter.feed(read, replies);
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(replies, c.replies) << c.text;
  }
}

TEST(LineBuffer, LinesEndWithLfCrOrCrLfEvenSplitAcrossReads) {
  const struct Case {
    std::vector<std::string> reads;
    std::vector<std::string> lines;  // "!" before a line marks it over-long (cut at 8)
    std::string pending;
  } cases[] = {
      {{"first\r\nsec", "ond\n\nlogin: "}, {"first", "second", ""}, "login: "},
      {{"one\rtwo\rthree"}, {"one", "two"}, "three"},          // CR alone
      {{"one\r", "\ntwo\r", "\r\n"}, {"one", "two", ""}, ""},  // CR LF split, then CR CR LF
      {{"12345678\n123456789\n", std::string(1000, 'y'), "tail\rlast\n"},
       {"12345678", "!12345678", "!yyyyyyyy", "last"},
       ""}};
  for (const Case& c : cases) {
    LineBuffer buffer(8);
    std::vector<std::string> got;
    for (const std::string& read : c.reads) {
      buffer.append(read);
      EXPECT_LE(buffer.pending().size(), 8u);
      while (const auto line = buffer.next()) {
        got.push_back((line->overlong ? "!" : "") + line->text);
      }
    }
    EXPECT_EQ(got, c.lines) << c.reads[0];
    EXPECT_EQ(buffer.pending(), c.pending);
  }
  // An answered prompt does not start the next line.
  LineBuffer buffer(100);
  buffer.append("login: ");
  buffer.dropPending();
  buffer.append("K1ABC de node\r\n");
  EXPECT_EQ(buffer.next()->text, "K1ABC de node");
}

// Fixed columns with a locator; a long spotter against the colon, lower case, no comment; a
// comment keeping its spacing and a time inside it (the last time counts).
TEST(DxSpotLine, ReadsSpotLinesAndSaysWhyMalformedOnesAreNot) {
  const std::pair<const char*, DxSpot> spots[] = {
      {"DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    1359Z FN20\r\n",
       {"W3LPL", 14025.0, "ZS6AAA", "CW 599 up 2", "1359Z", "FN20"}},
      {"dx de ve7cc-1:1824  zl2aaa  2359z", {"VE7CC-1", 1824.0, "ZL2AAA", "", "2359Z", ""}},
      {"DX de DL1ABC:  21074.0  PY2XX   FT8  -12dB   QSL 1200Z via bureau  0730Z",
       {"DL1ABC", 21074.0, "PY2XX", "FT8  -12dB   QSL 1200Z via bureau", "0730Z", ""}}};
  for (const auto& [text, spot] : spots) {
    const ClusterLine line = parseClusterLine(text);
    ASSERT_EQ(line.kind, LineKind::Spot) << line.fault;
    EXPECT_EQ(
        std::tie(line.spot.spotter, line.spot.frequencyKHz, line.spot.call, line.spot.comment,
                 line.spot.time, line.spot.locator),
        std::tie(spot.spotter, spot.frequencyKHz, spot.call, spot.comment, spot.time, spot.locator))
        << text;
  }
  // Not spots; malformed spots (no colon, no spotter, frequencies not a radio's, no call, times
  // that are none, too short, a spotter with a blank, a locator where the time belongs) carry a
  // fault.
  for (const char* text :
       {"W3LPL de VE7CC 12-Jan-2024 1359Z dxspider >", "DXde W3LPL: 14025.0 ZS6AAA CW 1359Z"}) {
    EXPECT_EQ(parseClusterLine(text).kind, LineKind::NotASpot) << text;
  }
  for (const char* text :
       {"DX de W3LPL  14025.0 ZS6AAA CW 1359Z", "DX de : 14025.0 ZS6AAA CW 1359Z",
        "DX de W3LPL: 1e4 ZS6AAA CW 1359Z", "DX de W3LPL: 400000000 ZS6AAA CW 1359Z",
        "DX de W3LPL: 14025.0 ?!? CW 1359Z", "DX de W3LPL: 14025.0 ZS6AAA CW 1360Z",
        "DX de W3LPL: 14025.0 ZS6AAA", "DX de W3 LPL: 14025.0 ZS6AAA CW 1359Z",
        "DX de W3LPL: 14025.0 ZS6AAA CW FN20"}) {
    const ClusterLine line = parseClusterLine(text);
    EXPECT_EQ(line.kind, LineKind::Malformed) << text;
    EXPECT_NE(line.fault, "") << text;
  }
}

TEST(ClusterLogin, PromptsOfCommonNodesAndTheBackoffBetweenAttempts) {
  for (const char* call : {"login: ", "Please enter your call: ", "Enter your callsign>"}) {
    EXPECT_TRUE(isCallPrompt(call) && !isPasswordPrompt(call)) << call;
  }
  for (const char* password : {"password:", "Password: "}) {
    EXPECT_TRUE(isPasswordPrompt(password) && !isCallPrompt(password)) << password;
  }
  EXPECT_FALSE(isCallPrompt("Please call again later"));
  Backoff backoff(1000, 5000);
  std::vector<int> delays;
  for (int i = 0; i < 5; ++i) delays.push_back(backoff.next());
  backoff.reset();
  delays.push_back(backoff.next());
  EXPECT_EQ(delays, (std::vector<int>{1000, 2000, 4000, 5000, 5000, 1000}));
}

}  // namespace
}  // namespace orbelle::station
