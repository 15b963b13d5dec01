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

// Editing keys of both cursor modes become host key codes; plain bytes pass; unknown sequences
// are dropped (a modified Up is Up); a NUL byte, which would mean no key, is dropped too.
TEST(TerminalKeys, BytesAndSequencesBecomeHostKeys) {
  using V = std::vector<int32_t>;
  const std::pair<std::string, V> cases[] = {
      {"\x1b[H\x1b[A\x1b[F\x1b[B\x7f", {1, 5, 6, 24, 127}},
      {"\x1bOH\x1bOA\x1bOF\x1bOB\x08", {1, 5, 6, 24, 127}},
      {"\x1b[1~\x1b[7~\x1b[4~\x1b[8~\x1b[D\x1b[C", {1, 1, 6, 6, 19, 4}},
      {"ab\r\x1b[3~x\x1b[1;5A", {'a', 'b', 13, 'x', 5}},
      {"\x1bx", {27, 'x'}},
      {std::string("a\0\xff", 3), {'a', 255}},
      {"\x1b", {27}},
      {"\x1b[12", {27}},
  };
  for (const auto &[bytes, keys] : cases) {
    std::string rest = "?";
    EXPECT_EQ(decode(bytes, true, &rest), keys);
    EXPECT_EQ(rest, "");
  }
  // A sequence cut short waits for its rest unless the input is final.
  for (const char *cut : {"a\x1b[", "\x1b"}) {
    std::string rest;
    EXPECT_EQ(decode(cut, false, &rest), (cut[0] == 'a' ? V{'a'} : V{}));
    EXPECT_EQ(rest, cut[0] == 'a' ? cut + 1 : cut);
  }
}

}  // namespace
}  // namespace foxhost
