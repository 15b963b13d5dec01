// The command language: what expressions print or raise, statements, date settings and objects.
#include "host_call_checks.hpp"

namespace foxhost {
namespace {

using testing::errorOf;

std::string printed(Host &host, const std::string &line) {
  host.takeOutput();
  host.execute(line);
  return host.takeOutput();
}

int32_t errorNumber(Host &host, const std::string &line, std::string *message = nullptr) {
  const HostError e = errorOf([&] { host.execute(line); });
  if (message) *message = e.what();
  return e.number();
}

// Lines run in order on one host: what each prints, or the error it raises.
TEST(Language, LinesPrintOrRaise) {
  const struct {
    const char *line;
    const char *printed;
    int32_t error;
  } lines[] = {
      {"? 1 + 2 * 3", "         7\n", 0},  // a literal without decimals is ten wide
      {"? 10 / 4", "      2.50\n", 0},
      {"? 1.5 * 1.25", "        1.875\n", 0},
      {"? -3 + 7 % 3", "        -2\n", 0},
      {"? 'ab' + \"cd\" + [ef]", "abcdef\n", 0},
      {"? STR(2.675, 5, 2), STR(-2.5), STR(123456, 3)", " 2.68         -3 ***\n", 0},
      {"? RTRIM('ab  ') + '|' + ALLTRIM('  c  ') + '|'", "ab|c|\n", 0},
      {"? VAL('  12.50abc') * 2", "        25.00\n", 0},
      {"? LEN('hello'), ASC('a')", "         5         97\n", 0},
      {"? CHR(65) + UPPER('b') + LOWER('C')", "ABc\n", 0},
      {"? 'abc' = 'ab', 'abc' == 'ab', 'ab' = 'abc'", ".T. .F. .F.\n", 0},
      {"? 2 # 2, 2 != 3, 'a' <> 'b', +1.5 = 1.5", ".F. .T. .T. .T.\n", 0},
      {"? 1 < 2, 2 <= 1, 'b' > 'a', 'ab' <= 'ab'", ".T. .F. .T. .T.\n", 0},
      {"? .T. .AND. .F., .F. .OR. .t., .NOT. .F., !.T., .T. = .F.", ".F. .T. .T. .F. .F.\n", 0},
      {"? {^2024-02-28} + 2, DTOC({^1999-12-31})", "03/01/2024 12/31/1999\n", 0},
      {"? {^2024-03-01} - {^2024-02-28}, {^2024-03-01} > {^2024-02-28}", "         2 .T.\n", 0},
      {"? CTOD('02/29/2023'), {}", "  /  /       /  /    \n", 0},
      {"? DTOC({^2024-01-01} + 9999999999), {^2024-01-01} - 99999999", "  /  /       /  /    \n",
       0},
      {"? SET('DATE'), DATE() > {^2024-01-01}", "AMERICAN .T.\n", 0},
      {"? 1 + 'a'", nullptr, 9},
      {"? {} - 'a'", nullptr, 9},
      {"? 1 / 0", nullptr, 1307},
      {"? nosuch", nullptr, 12},
      {"? CHR(256)", nullptr, 11},
      {"? LEN()", nullptr, 1229},
      {"? LEN('a', 'b')", nullptr, 1230},
      {"x = 2", "", 0},
      {"STORE x * 3 TO a, B", "", 0},
      {"name = 'fox' && a comment", "", 0},
      {"?? B + x, NAME", "         8 fox", 0},
      {"?", "\n", 0},
      {"= LEN('abc')", "", 0},
      {"NOTE another", "", 0},
      {"", "", 0},
      {"1 + 2", nullptr, 10},
      {"WAIT", nullptr, 10},
      {"SET DATE", nullptr, 10},
      {"SET NOSUCH ON", nullptr, 10},
      {"o = CREATEOBJECT('TextBox')", "", 0},
      {"o.Value = 'hello'", "", 0},
      {"o.SELSTART = 9999", "", 0},  // stays within the text
      {"? o.value, o.selstart", "hello          5\n", 0},
      {"o.VALUE = 'hi'", "", 0},
      {"? o.SELSTART", "         2\n", 0},  // a shorter text pulls SELSTART back
      {"o.SELSTART = -1", nullptr, 11},
      {"o.SELSTART = 'a'", nullptr, 9},
      {"? CREATEOBJECT('nosuch')", nullptr, 1733},
      {"? x.VALUE", nullptr, 1924},
      {"d = {^2024-05-06}", "", 0},
      {"SET DATE BRITISH", "", 0},
      {"? d, CTOD('01/02/2003') = {^2003-02-01}", "06/05/2024 .T.\n", 0},
      {"set date to german", "", 0},
      {"? d, SET('date')", "06.05.2024 GERMAN\n", 0},
      {"saved = [SET DATE ] + SET([DATE])", "", 0},  // as libraries save the setting
      {"SET DATE ANSI", "", 0},
      {"? DTOC(d), saved", "2024.05.06 SET DATE GERMAN\n", 0},
      // Two-digit years fall in 1950 to 2049; a field too long for a year is no date.
      {"? CTOD('49.1.2'), CTOD('50.1.2'), CTOD('0049.1.2'), CTOD('99999999999.1.1')",
       "2049.01.02 1950.01.02 0049.01.02     .  .  \n", 0},
  };
  Host host;
  for (const auto &l : lines) {
    SCOPED_TRACE(l.line);
    if (l.error) {
      EXPECT_EQ(errorNumber(host, l.line), l.error);
      continue;
    }
    host.execute(l.line);
    EXPECT_EQ(host.takeOutput(), l.printed);
  }
  std::string message;
  for (const char *bad : {"1 +", "(1", "'open", "1 2", "{^2024-13-01}", "{2024}", "a.", "@"}) {
    EXPECT_EQ(errorNumber(host, std::string("? ") + bad, &message), 10) << bad;
    EXPECT_EQ(message.rfind("Syntax error", 0), 0u) << bad;
  }
  // Deep nesting is an error, not a stack overflow.
  for (const char deep : {'(', '-'}) {
    EXPECT_EQ(errorOf([&] { host.evaluate(std::string(100000, deep) + "1"); }).number(), 10);
  }
  EXPECT_EQ(host.evaluate(std::string(50, '(') + "1" + std::string(50, ')')).number, 1);
}

// What the API adds to the language: variables and properties set from outside, and the wait
// window.
TEST(Language, TheApiBesideTheLanguage) {
  Host host;
  host.setVariable("given", Value::Integer(7));
  EXPECT_EQ(printed(host, "? GIVEN + 1"), "         8\n");
  EXPECT_EQ(errorOf([&] { host.variable("none"); }).number(), 12);
  host.execute("o = CREATEOBJECT('TextBox')");
  const uint32_t id = host.variable("o").object;
  host.setProperty(id, "Extra", Value::Logical(true));  // the API adds
  EXPECT_EQ(printed(host, "? o.extra"), ".T.\n");
  EXPECT_EQ(errorOf([&] { host.property(999, "VALUE"); }).number(), 1924);

  host.execute("wait window ltrim(str(25)) + ' WPM' nowait");
  EXPECT_EQ(host.waitWindowText(), "25 WPM");
  EXPECT_EQ(host.takeOutput(), "25 WPM\n");
  host.execute("WAIT CLEAR");
  EXPECT_EQ(host.waitWindowText(), "");
  host.execute("WAIT WINDOW NOWAIT");
  EXPECT_EQ(host.waitWindowText(), "Press any key to continue...");
  host.execute("WAIT WINDOW 'x'");  // no key can come: it does not block
  EXPECT_EQ(host.waitWindowText(), "");
  host.execute("SET DATE BRITISH");
  EXPECT_EQ(host.dateFormat(), "BRITISH");
}

}  // namespace
}  // namespace foxhost
