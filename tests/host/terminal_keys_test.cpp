#include <gtest/gtest.h>

#include <vector>

#include "terminal.hpp"

namespace foxhost {
namespace {

std::vector<int32_t> decode(std::string bytes, bool final, std::string *rest = nullptr) {
  std::deque<int32_t> out;
  decodeTerminalKeys(bytes, out, final);
  if (rest) *rest = bytes;
  return {out.begin(), out.end()};
}

TEST(TerminalKeys, EditingKeysMapToHostCodes) {
  using V = std::vector<int32_t>;
  EXPECT_EQ(decode("\x1b[H\x1b[A\x1b[F\x1b[B\x7f", true), (V{1, 5, 6, 24, 127}));
  EXPECT_EQ(decode("\x1bOH\x1bOA\x1bOF\x1bOB\x08", true), (V{1, 5, 6, 24, 127}));
  EXPECT_EQ(decode("\x1b[1~\x1b[7~\x1b[4~\x1b[8~", true), (V{1, 1, 6, 6}));
  EXPECT_EQ(decode("\x1b[D\x1b[C", true), (V{19, 4}));
}

TEST(TerminalKeys, PlainBytesPassAndUnknownSequencesAreDropped) {
  using V = std::vector<int32_t>;
  EXPECT_EQ(decode("ab\r", true), (V{'a', 'b', 13}));
  EXPECT_EQ(decode("\x1b[3~x\x1b[1;5A", true), (V{'x', 5}));  // delete dropped; modified Up is Up
  EXPECT_EQ(decode(std::string("\x1bx"), true), (V{27, 'x'}));
  EXPECT_EQ(decode(std::string("a\0\xff", 3), true), (V{'a', 255}));  // 0 would mean no key
}

TEST(TerminalKeys, ASequenceCutShortWaitsUnlessFinal) {
  std::string rest;
  EXPECT_TRUE(decode("a\x1b[", false, &rest) == std::vector<int32_t>{'a'});
  EXPECT_EQ(rest, "\x1b[");
  EXPECT_TRUE(decode("\x1b", false, &rest).empty());
  EXPECT_EQ(rest, "\x1b");
  EXPECT_EQ(decode("\x1b", true, &rest), std::vector<int32_t>{27});
  EXPECT_EQ(rest, "");
  EXPECT_EQ(decode("\x1b[12", true, &rest), std::vector<int32_t>{27});
  EXPECT_EQ(rest, "");
}

}  // namespace
}  // namespace foxhost
