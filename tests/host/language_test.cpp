// The command language: expressions and what `?` prints, statements, date settings, objects,
// scripts and their errors.
#include <sstream>

#include "host_test_support.hpp"

namespace foxhost {
namespace {

using testing::errorOf;

std::string printed(Host &host, const std::string &expression) {
  host.takeOutput();
  host.execute("? " + expression);
  return host.takeOutput();
}

struct Case {
  const char *expression;
  const char *display;
};

TEST(Language, ExpressionsAndWhatTheyPrint) {
  const Case cases[] = {
      // clang-format off
      {"1 + 2", "         3"},  // a literal without decimals is ten wide
      {"1 + 2 * 3", "         7"}, {"(1 + 2) * 3", "         9"}, {"-3 + 1", "        -2"},
      {"10 / 4", "      2.50"}, {"1.5 * 1.25", "        1.875"}, {"7 % 3", "         1"},
      {"'ab' + \"cd\" + [ef]", "abcdef"}, {"\"it's\"", "it's"}, {"STR(3.14159, 8, 2)", "    3.14"},
      {"STR(2.675, 5, 2)", " 2.68"}, {"STR(-2.5)", "        -3"}, {"STR(123456, 3)", "***"},
      {"LTRIM(STR(20)) + ' WPM'", "20 WPM"}, {"RTRIM('ab  ') + '|'", "ab|"},
      {"'|' + ALLTRIM('  ab  ') + '|'", "|ab|"}, {"VAL('  12.50abc') * 2", "        25.00"},
      {"LEN('hello')", "         5"}, {"CHR(65) + CHR(66)", "AB"}, {"ASC('a')", "        97"},
      {"UPPER('aBc') + LOWER('DeF')", "ABCdef"}, {"'abc' = 'ab'", ".T."}, {"'abc' == 'ab'", ".F."},
      {"'ab' = 'abc'", ".F."}, {"'a' <> 'b'", ".T."}, {"2 # 2", ".F."}, {"2 != 3", ".T."},
      {"1 < 2", ".T."}, {"2 <= 1", ".F."}, {"'b' > 'a'", ".T."}, {"'ab' <= 'ab'", ".T."},
      {".T. = .F.", ".F."}, {"+1.5 = 1.5", ".T."}, {".T. .AND. .F.", ".F."},
      {".F. .OR. .t.", ".T."}, {".NOT. .F.", ".T."}, {"!.T.", ".F."},
      {"{^2024-02-28} + 2", "03/01/2024"},
      {"{^2024-03-01} - {^2024-02-28}", "         2"},
      {"{^2024-03-01} > {^2024-02-28}", ".T."},
      {"DTOC({^1999-12-31})", "12/31/1999"},
      {"CTOD('02/29/2023')", "  /  /    "},
      {"{}", "  /  /    "},
      {"DTOC({^2024-01-01} + 9999999999), {^2024-01-01} - 99999999",
       "  /  /    "
       " "
       "  /  /    "},  // out of the calendar: empty dates
      {"SET('DATE')", "AMERICAN"}, {"1, 'a', .F.", "         1 a .F."},
      // clang-format on
  };
  Host host;
  for (const Case &c : cases) {
    EXPECT_EQ(printed(host, c.expression), std::string(c.display) + "\n") << c.expression;
  }
}

TEST(Language, EvaluateKeepsTypesAndDecimals) {
  Host host;
  const Value n = host.evaluate("1.50");
  EXPECT_EQ(n.type, 'N');
  EXPECT_EQ(n.decimals, 2u);
  EXPECT_DOUBLE_EQ(n.number, 1.5);
  EXPECT_EQ(host.evaluate("{^2000-01-01}").number, 2451545);
  EXPECT_EQ(host.evaluate("DATE()").type, 'D');
  EXPECT_EQ(host.evaluate("'x'").text, "x");
}

TEST(Language, ErrorsOfExpressions) {
  Host host;
  std::string message;
  EXPECT_EQ(errorOf([&] { host.evaluate("1 + 'a'"); }), 9);
  EXPECT_EQ(errorOf([&] { host.evaluate("1 / 0"); }), 1307);
  EXPECT_EQ(errorOf([&] { host.evaluate("nosuch"); }, &message), 12);
  EXPECT_EQ(message, "Variable 'NOSUCH' is not found");
  EXPECT_EQ(errorOf([&] { host.evaluate("NOSUCH(1)"); }, &message), 1231);
  EXPECT_EQ(message, "Function NOSUCH is not found");
  EXPECT_EQ(errorOf([&] { host.evaluate("CHR(256)"); }), 11);
  EXPECT_EQ(errorOf([&] { host.evaluate("LEN()"); }), 1229);
  EXPECT_EQ(errorOf([&] { host.evaluate("LEN('a', 'b')"); }), 1230);
  EXPECT_EQ(errorOf([&] { host.evaluate("SET('NOSUCH')"); }), 11);
  for (const char *mismatch : {"1 .AND. .T.", "'a' = 1", "{^2024-01-01} = 1", ".T. = 1", "'a' + 1",
                               "{^2024-01-01} + 'a'", "'a' - 1", "{} - 'a'"}) {
    EXPECT_EQ(errorOf([&] { host.evaluate(mismatch); }), 9) << mismatch;
  }
  for (const char *bad : {"1 +", "(1", "'open", "1 2", "{^2024-13-01}", "{2024}", "a.", "@"}) {
    EXPECT_EQ(errorOf([&] { host.evaluate(bad); }, &message), 10) << bad;
    EXPECT_EQ(message.rfind("Syntax error", 0), 0u) << bad;
  }
}

TEST(Language, DeepNestingIsAnErrorNotACrash) {
  Host host;
  EXPECT_EQ(errorOf([&] { host.evaluate(std::string(100000, '(') + "1"); }), 10);
  EXPECT_EQ(errorOf([&] { host.evaluate(std::string(100000, '-') + "1"); }), 10);
  EXPECT_EQ(host.evaluate(std::string(50, '(') + "1" + std::string(50, ')')).number, 1);
}

TEST(Language, AssignmentStoreAndVariables) {
  Host host;
  host.execute("x = 2");
  host.execute("STORE x * 3 TO a, B");
  host.execute("name = 'fox' && a comment");
  EXPECT_EQ(host.variable("A").number, 6);
  EXPECT_EQ(host.variable("b").number, 6);
  EXPECT_EQ(host.variable("NAME").text, "fox");
  host.setVariable("given", Value::Integer(7));
  EXPECT_EQ(printed(host, "GIVEN + 1"), "         8\n");
  EXPECT_EQ(errorOf([] {
              Host h;
              h.variable("none");
            }),
            12);
}

TEST(Language, PrintWithoutNewlineAndEmptyPrint) {
  Host host;
  host.execute("?? 'a'");
  host.execute("?? 'b'");
  host.execute("?");
  EXPECT_EQ(host.takeOutput(), "ab\n");
}

TEST(Language, CommandsNeedAVerb) {
  Host host;
  EXPECT_EQ(errorOf([&] { host.execute("1 + 2"); }), 10);
  EXPECT_EQ(errorOf([&] { host.execute("x"); }), 10);
  host.execute("= LEN('abc')");  // evaluated and dropped
  host.execute("* a comment");
  host.execute("NOTE another");
  host.execute("");
  EXPECT_EQ(host.takeOutput(), "");
}

TEST(Language, InteractiveLinesPrintBareExpressions) {
  Host host;
  host.executeInteractive("x = 4");
  host.executeInteractive("x * 2");
  host.executeInteractive("= x");
  EXPECT_EQ(host.takeOutput(), "         8\n");
}

TEST(Language, WaitWindowAndWaitClear) {
  Host host;
  host.execute("WAIT WINDOW 'Pause...' NOWAIT");
  EXPECT_EQ(host.waitWindowText(), "Pause...");
  EXPECT_EQ(host.takeOutput(), "Pause...\n");
  host.execute("wait window ltrim(str(25)) + ' WPM' nowait");
  EXPECT_EQ(host.waitWindowText(), "25 WPM");
  host.execute("WAIT CLEAR");
  EXPECT_EQ(host.waitWindowText(), "");
  host.execute("WAIT WINDOW NOWAIT");
  EXPECT_EQ(host.waitWindowText(), "Press any key to continue...");
  // Without NOWAIT and without any key to wait for, the host does not block.
  host.execute("WAIT WINDOW 'x'");
  EXPECT_EQ(host.waitWindowText(), "");
  EXPECT_EQ(errorOf([&] { host.execute("WAIT"); }), 10);
}

TEST(Language, SetDateChangesDisplayAndReading) {
  Host host;
  host.execute("d = {^2024-05-06}");
  host.execute("SET DATE BRITISH");
  EXPECT_EQ(host.dateFormat(), "BRITISH");
  EXPECT_EQ(printed(host, "d, CTOD('01/02/2003') = {^2003-02-01}"), "06/05/2024 .T.\n");
  host.execute("set date to german");
  EXPECT_EQ(printed(host, "d, SET('date')"), "06.05.2024 GERMAN\n");
  host.execute("SET DATE ANSI");
  EXPECT_EQ(printed(host, "DTOC(d)"), "2024.05.06\n");
  // Saving and restoring the setting the way libraries do.
  host.execute("saved = [SET DATE ] + SET([DATE])");
  host.execute("SET DATE MDY");
  EXPECT_EQ(printed(host, "d"), "05/06/2024\n");
  host.execute(host.variable("saved").text);
  EXPECT_EQ(host.dateFormat(), "ANSI");
  EXPECT_EQ(errorOf([&] { host.execute("SET DATE LONGISH"); }), 10);
  EXPECT_EQ(errorOf([&] { host.execute("SET DATE"); }), 10);
  EXPECT_EQ(errorOf([&] { host.execute("SET NOSUCH ON"); }), 10);
  EXPECT_EQ(host.dateFormat(), "ANSI");
}

TEST(Language, ObjectsAndProperties) {
  Host host;
  host.execute("o = CREATEOBJECT('TextBox')");
  host.execute("o.Value = 'hello'");
  host.execute("o.SELSTART = 9999");  // stays within the text
  EXPECT_EQ(printed(host, "o.value, o.selstart"), "hello          5\n");
  const uint32_t id = host.variable("o").object;
  EXPECT_EQ(host.property(id, "VALUE").text, "hello");
  host.setProperty(id, "Extra", Value::Logical(true));  // the API adds
  EXPECT_EQ(printed(host, "o.extra"), ".T.\n");
  host.execute("o.VALUE = 'hi'");  // a shorter text pulls SELSTART back
  EXPECT_EQ(host.property(id, "SELSTART").integer, 2);
  EXPECT_EQ(errorOf([&] { host.execute("o.NOSUCH = 1"); }), 1734);
  EXPECT_EQ(errorOf([&] { host.evaluate("o.NOSUCH"); }), 1734);
  EXPECT_EQ(errorOf([&] { host.execute("o.SELSTART = -1"); }), 11);
  EXPECT_EQ(errorOf([&] { host.execute("o.SELSTART = 'a'"); }), 9);
  EXPECT_EQ(errorOf([&] { host.evaluate("CREATEOBJECT('nosuch')"); }), 1733);
  host.execute("n = 5");
  EXPECT_EQ(errorOf([&] { host.evaluate("n.VALUE"); }), 1924);
  EXPECT_EQ(errorOf([&] { host.property(999, "VALUE"); }), 1924);
  host.execute("f = CREATEOBJECT('form')");
  EXPECT_NE(host.objectWindow(host.variable("f").object, false), 0);
  EXPECT_EQ(host.objectWindow(id, false), 0);
}

TEST(Language, ScriptsRunAndErrorsNameTheLine) {
  Host host;
  std::istringstream ok(
      "* greeting\n"
      "x = 'hello' + ;\n"
      "    ' world'\n"
      "? x  && shows it\n");
  host.runScript(ok, "ok.prg");
  EXPECT_EQ(host.takeOutput(), "hello world\n");

  std::istringstream bad("? 1\n\ny = ;\n  (2 +\n? 'never'\n");
  std::string message;
  EXPECT_EQ(errorOf([&] { host.runScript(bad, "bad.prg"); }, &message), 10);
  EXPECT_EQ(message, "bad.prg, line 3: Syntax error: unexpected end of command");
  EXPECT_EQ(host.takeOutput(), "         1\n");

  std::istringstream runtime("a = 1\n? nosuch\n");
  EXPECT_EQ(errorOf([&] { host.runScript(runtime, "r.prg"); }, &message), 12);
  EXPECT_EQ(message, "r.prg, line 2: Variable 'NOSUCH' is not found");
}

TEST(Language, QuitEndsAScript) {
  Host host;
  std::istringstream in("? 1\nQUIT\n? 2\n");
  host.runScript(in, "q.prg");
  EXPECT_TRUE(host.quitRequested());
  EXPECT_EQ(host.takeOutput(), "         1\n");
}

TEST(Language, PromptGoesOnAfterErrors) {
  std::ostringstream out;
  Host::Options options;
  options.out = &out;
  Host host(options);
  std::istringstream in("x = 3\nx * 2\nbad(\n? 'after' ;\n + '!'\n");
  std::ostringstream errors, prompt;
  host.runPrompt(in, errors, &prompt);
  EXPECT_EQ(out.str(), "         6\nafter!\n");
  EXPECT_EQ(errors.str(), "Error: Syntax error: unexpected end of command\n");
  EXPECT_EQ(prompt.str(), "> > > > > \n");
}

}  // namespace
}  // namespace foxhost
