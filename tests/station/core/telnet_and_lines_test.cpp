#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/backoff.hpp"
#include "core/cluster_login.hpp"
#include "core/line_buffer.hpp"
#include "core/telnet_filter.hpp"

namespace orbelle::station {
namespace {

std::string bytes(std::initializer_list<int> values) {
  std::string out;
  for (int v : values) out.push_back(static_cast<char>(v));
  return out;
}

TEST(TelnetFilter, RefusesOffersAndKeepsText) {
  TelnetFilter filter;
  std::string replies;
  const std::string text =
      filter.feed("ab" + bytes({255, 253, 1}) + "cd" + bytes({255, 251, 3}) + "e", replies);
  EXPECT_EQ(text, "abcde");
  EXPECT_EQ(replies, bytes({255, 252, 1, 255, 254, 3}));
}

TEST(TelnetFilter, AnswersNothingToRefusalsAndDropsSubnegotiation) {
  TelnetFilter filter;
  std::string replies;
  const std::string text =
      filter.feed(bytes({255, 252, 1, 255, 254, 3}) + "x" + bytes({255, 250, 24, 1, 255, 240}) +
                      "y" + bytes({255, 241}) + "z",
                  replies);
  EXPECT_EQ(text, "xyz");
  EXPECT_EQ(replies, "");
}

TEST(TelnetFilter, SequencesSplitAcrossReadsAndEscapedDataBytes) {
  TelnetFilter filter;
  std::string replies;
  std::string text = filter.feed("a" + bytes({255}), replies);
  text += filter.feed(bytes({253}), replies);
  text += filter.feed(bytes({24}) + "b" + bytes({255, 255}) + "c", replies);
  EXPECT_EQ(text, "ab" + bytes({255}) + "c");
  EXPECT_EQ(replies, bytes({255, 252, 24}));
}

TEST(LineBuffer, LinesEndWithLfCrOrCrLfEvenSplitAcrossReads) {
  struct Case {
    std::vector<std::string> reads;
    std::vector<std::string> lines;  // "!" before a line marks it over-long (cut at 8)
    std::string pending;
  } cases[] = {
      {{"first\r\nsec", "ond\n\nlogin: "}, {"first", "second", ""}, "login: "},
      {{"one\rtwo\rthree"}, {"one", "two"}, "three"},          // CR alone
      {{"one\r", "\ntwo\r", "\r\n"}, {"one", "two", ""}, ""},  // CR LF split, then CR CR LF
      {{"12345678\n123456789\nok\n", std::string(1000, 'y'), "tail\rlast\n"},
       {"12345678", "!12345678", "ok", "!yyyyyyyy", "last"},
       ""},
  };
  for (const Case& c : cases) {
    LineBuffer buffer(8);
    std::vector<std::string> got;
    for (const std::string& read : c.reads) {
      buffer.append(read);
      EXPECT_LE(buffer.pending().size(), 8u);
      while (const auto line = buffer.next())
        got.push_back((line->overlong ? "!" : "") + line->text);
    }
    EXPECT_EQ(got, c.lines) << c.reads[0];
    EXPECT_EQ(buffer.pending(), c.pending);
  }
  // An answered prompt does not start the next line.
  LineBuffer buffer(100);
  buffer.append("Welcome\r\nlogin: ");
  EXPECT_EQ(buffer.next()->text, "Welcome");
  buffer.dropPending();
  buffer.append("DX de W3LPL: 14025.0 ZS6AAA CW 1359Z\r\n");
  EXPECT_EQ(buffer.next()->text, "DX de W3LPL: 14025.0 ZS6AAA CW 1359Z");
}

TEST(ClusterLogin, RecognisesPromptsOfCommonNodes) {
  EXPECT_TRUE(isCallPrompt("login: "));
  EXPECT_TRUE(isCallPrompt("Please enter your call: "));
  EXPECT_TRUE(isCallPrompt("Enter your callsign>"));
  EXPECT_FALSE(isCallPrompt("Password: "));
  EXPECT_FALSE(isCallPrompt("Please call again later"));
  EXPECT_FALSE(isCallPrompt(""));
  EXPECT_TRUE(isPasswordPrompt("password:"));
  EXPECT_TRUE(isPasswordPrompt("Password: "));
  EXPECT_FALSE(isPasswordPrompt("login: "));
}

TEST(Backoff, DoublesUpToTheCeilingAndResets) {
  Backoff backoff(1000, 5000);
  EXPECT_EQ(backoff.next(), 1000);
  EXPECT_EQ(backoff.next(), 2000);
  EXPECT_EQ(backoff.next(), 4000);
  EXPECT_EQ(backoff.next(), 5000);
  EXPECT_EQ(backoff.next(), 5000);
  backoff.reset();
  EXPECT_EQ(backoff.next(), 1000);
}

}  // namespace
}  // namespace orbelle::station
