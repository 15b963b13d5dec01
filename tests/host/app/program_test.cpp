// The foxhost program run as a subprocess: -e commands, a script, the prompt fed by a pipe, and
// bad usage.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Files of this test process, apart from those of tests running beside it.
const std::string kDir = ::testing::TempDir() + "foxhost_test_" + std::to_string(getpid()) + "_";
const std::string kLib = std::string(FOXTEST_LIB_DIR) + "/foxtestlib.so";

std::string contents(const std::string &path) {
  std::stringstream s;
  s << std::ifstream(path).rdbuf();
  return s.str();
}

// Runs foxhost with `args`, each quoted for the shell, and standard input from `input`.
Outcome foxhost(const std::vector<std::string> &args, const std::string &input = "") {
  std::ofstream(kDir + "in") << input;
  std::string command = FOXHOST_PATH;
  for (std::string a : args) {
    for (size_t at = 0; (at = a.find('\'', at)) != std::string::npos; at += 4) {
      a.replace(at, 1, "'\\''");
    }
    command += " '" + a + "'";
  }
  const int status =
      std::system((command + " <" + kDir + "in >" + kDir + "out 2>" + kDir + "err").c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, contents(kDir + "out"),
          contents(kDir + "err")};
}

// Each run: exit status, standard output and standard error; errors go on to the next command at
// the prompt, not in a script or -e.
TEST(Program, RunsCommandsScriptsThePromptAndRefusesBadUsage) {
  const std::string good = kDir + "good.prg", bad = kDir + "bad.prg";
  // A comment's ";" or "&&" does not continue a line; "&&" in a string is text; NOTES is a name;
  // an error names the line its command starts on; QUIT ends a script.
  std::ofstream(good) << "* loads;\nSET LIBRARY TO " + kLib +
                             "\n? REENTER(4)\nnotes = 'a' + ;\n 'b' && ;\n? notes, '&&' && it\n"
                             "QUIT\n? 'gone'\n";
  std::ofstream(bad) << "? 'one'\n\ny = ;\n (1 +\n? 'never'\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out, err, input = "";
  } cases[] = {
      {{"--library", kLib, "-e", "ECHO_C('hi') + '!'", "-e", "? 1 + 2, .T."},
       0,
       "hi!\n         3 .T.\n",
       ""},
      {{"-e", "? 1", "-e", "NOSUCH()", "-e", "? 2"},  // a failing command ends the run
       1,
       "         1\n",
       "Error: Function NOSUCH is not found\n"},
      {{"--virtual-clock", "--library", kLib, "-e", "? CLOCKMS() < 5"}, 0, ".T.\n", ""},
      {{good}, 0, "        10\nab &&\n", ""},
      {{bad}, 1, "one\n", bad + ", line 3: Syntax error: unexpected end of command\n"},
      // No prompt text when the input is not a terminal.
      {{"--library", kLib},
       0,
       "         6\nafter!\n",
       "Error: Syntax error: unexpected end of command\nError: boom\n",
       "x = 2\nx * 3\nbad(\n? 'after' ;\n + '!'\nRET_NOTHING()\nUSERERR('boom')\nQUIT\n? 'gone'\n"},
      {{"/nonexistent/script.prg"},
       1,
       "",
       "Error: script file /nonexistent/script.prg cannot be read\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.args.back());
    const Outcome r = foxhost(c.args, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }
  // Bad usage says what is wrong, then the usage that --help prints.
  const Outcome r = foxhost({"--frobnicate"}), help = foxhost({"--help"});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(r.err, "foxhost: unknown option --frobnicate\n" + help.out);
  EXPECT_EQ(help.out.rfind("usage: foxhost", 0), 0u);
  for (const std::vector<std::string> &args :
       {std::vector<std::string>{"-e"}, {"a.prg", "b.prg"}}) {
    EXPECT_EQ(foxhost(args).status, 2) << args[0];
  }
  for (const char *file : {"in", "out", "err", "good.prg", "bad.prg"})
    unlink((kDir + file).c_str());
}

}  // namespace
