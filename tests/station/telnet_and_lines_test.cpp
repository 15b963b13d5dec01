#include <gtest/gtest.h>

#include <string>

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

TEST(LineBuffer, SplitsLinesAcrossAppendsAndDropsCarriageReturns) {
  LineBuffer buffer(100);
  buffer.append("first\r\nsec");
  EXPECT_EQ(buffer.next(), "first");
  EXPECT_EQ(buffer.next(), std::nullopt);
  EXPECT_EQ(buffer.pending(), "sec");
  buffer.append("ond\n\nlogin: ");
  EXPECT_EQ(buffer.next(), "second");
  EXPECT_EQ(buffer.next(), "");
  EXPECT_EQ(buffer.next(), std::nullopt);
  EXPECT_EQ(buffer.pending(), "login: ");
}

TEST(LineBuffer, AnAnsweredPromptDoesNotStartTheNextLine) {
  LineBuffer buffer(100);
  buffer.append("Welcome\r\nlogin: ");
  EXPECT_EQ(buffer.next(), "Welcome");
  buffer.dropPending();
  EXPECT_EQ(buffer.pending(), "");
  buffer.append("DX de W3LPL: 14025.0 ZS6AAA CW 1359Z\r\n");
  EXPECT_EQ(buffer.next(), "DX de W3LPL: 14025.0 ZS6AAA CW 1359Z");
}

TEST(LineBuffer, DropsOverlongLinesUpToTheirEndAndCountsThem) {
  LineBuffer buffer(8);
  buffer.append("12345678\n");
  buffer.append(std::string(5, 'x'));
  buffer.append(std::string(5, 'x'));  // now beyond the limit without a line end
  buffer.append(std::string(1000, 'y'));
  EXPECT_LE(buffer.pending().size(), 9u);
  buffer.append("tail\nok\n" + std::string(20, 'z') + "\nlast\n");
  EXPECT_EQ(buffer.next(), "12345678");
  EXPECT_EQ(buffer.next(), "ok");
  EXPECT_EQ(buffer.next(), "last");  // the 20-character line arrived whole and was dropped
  EXPECT_EQ(buffer.next(), std::nullopt);
  EXPECT_EQ(buffer.overlongLines(), 2u);
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
