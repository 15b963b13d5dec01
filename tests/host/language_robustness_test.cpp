// Commands of random pieces of the language get a HostError or a result, never anything else,
// and the host keeps working (tests/host/fuzz has the coverage-guided version).
#include <random>
#include <sstream>

#include "host_test_support.hpp"

namespace foxhost {
namespace {

// clang-format off
const char *const kPieces[] = {
    "?", "??", "=", "==", "<>", "#", "<", ">=", "+", "-", "*", "/", "%", "(", ")", ",", ".", "!",
    "'a'", "\"b c\"", "[d]", "'", "[", "{^2024-02-29}", "{^1-1-1}", "{", "}", "{}", "0", "1",
    "2.50", "99999999999999999999", ".T.", ".f.", ".AND.", ".OR.", ".NOT.", "x", "o", "f",
    "o.VALUE", "o.SELSTART", "f.CAPTION", "VALUE", "STR(", "LTRIM(", "VAL(", "CHR(", "ASC(",
    "LEN(", "CTOD(", "DTOC(", "SET(", "UPPER(", "DATE()", "CREATEOBJECT(", "'textbox'", "WAIT",
    "WINDOW", "NOWAIT", "CLEAR", "SET", "DATE", "TO", "GERMAN", "ymd", "STORE", "NOSUCH(", "&&",
    ";", "*", "NOTE", "\n", " ", "\t", "\x01", "\xff", "\r",
};
// clang-format on

std::string randomCommand(std::mt19937 &rng) {
  std::uniform_int_distribution<size_t> count(1, 14);
  std::uniform_int_distribution<size_t> pick(0, std::size(kPieces) - 1);
  std::bernoulli_distribution space(0.6);
  std::string out;
  const size_t n = count(rng);
  for (size_t i = 0; i < n; ++i) {
    out += kPieces[pick(rng)];
    if (space(rng)) out += ' ';
  }
  return out;
}

template <typename F>
void survives(F &&f, const std::string &input) {
  try {
    f();
  } catch (const HostError &) {
  } catch (const std::exception &e) {
    ADD_FAILURE() << "input <" << input << "> threw " << e.what();
  }
}

TEST(LanguageRobustness, RandomCommandsOnlyEverRaiseHostErrors) {
  Host host;
  host.execute("x = 1");
  host.execute("o = CREATEOBJECT('textbox')");
  host.execute("f = CREATEOBJECT('form')");
  std::mt19937 rng(20240506);
  for (int i = 0; i < 20000; ++i) {
    const std::string input = randomCommand(rng);
    survives([&] { host.executeInteractive(input); }, input);
    survives([&] { host.evaluate(input); }, input);
    std::istringstream script(input);
    survives([&] { host.runScript(script, "random.prg"); }, input);
    if (::testing::Test::HasFailure()) break;
  }
  host.takeOutput();
  EXPECT_EQ(host.evaluate("1 + 1").number, 2);
  EXPECT_EQ(host.handleCounters().live, 0u);
}

}  // namespace
}  // namespace foxhost
