// The foxhost program run as a subprocess: -e commands, a script, the prompt fed by a pipe, and
// bad usage.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

std::string tempFile(const std::string &contents) {
  char name[] = "/tmp/foxhost_test_XXXXXX";
  const int fd = mkstemp(name);
  EXPECT_GE(fd, 0);
  if (fd >= 0) {
    EXPECT_EQ(write(fd, contents.data(), contents.size()), static_cast<ssize_t>(contents.size()));
    close(fd);
  }
  return name;
}

// The file's text; the file is removed.
std::string take(const std::string &path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  unlink(path.c_str());
  return s.str();
}

// Runs foxhost with `args`, standard input from `input`, and collects what it writes.
Outcome foxhost(const std::vector<std::string> &args, const std::string &input = "") {
  const std::string in = tempFile(input), out = tempFile(""), err = tempFile("");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(open(in.c_str(), O_RDONLY), 0);
    dup2(open(out.c_str(), O_WRONLY | O_TRUNC), 1);
    dup2(open(err.c_str(), O_WRONLY | O_TRUNC), 2);
    std::vector<char *> argv{const_cast<char *>(FOXHOST_PATH)};
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(FOXHOST_PATH, argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  take(in);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, take(out), take(err)};
}

const std::string kLib = std::string(FOXTEST_LIB_DIR) + "/foxtestlib.so";

TEST(Program, RunsCommandsScriptsAndThePrompt) {
  const std::string good =
      tempFile("SET LIBRARY TO " + kLib + "\n? REENTER(4)\nx = 'a' + ;\n 'b'\n? x\n");
  const std::string bad = tempFile("? 'one'\n\n? 1 +\n? 'never'\n");
  const struct {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string out, err;
  } cases[] = {
      {{"--library", kLib, "-e", "ECHO_C('hi') + '!'", "-e", "? 1 + 2, .T."},
       "",
       0,
       "hi!\n         3 .T.\n",
       ""},
      {{"-e", "? 1", "-e", "NOSUCH()", "-e", "? 2"},
       "",
       1,
       "         1\n",
       "Error: Function NOSUCH is not found\n"},
      {{"--library", "/nonexistent/lib.so", "-e", "? 1"},
       "",
       1,
       "",
       "Error: Library file /nonexistent/lib.so does not exist\n"},
      {{"--virtual-clock", "--library", kLib, "-e", "? CLOCKMS() < 5"}, "", 0, ".T.\n", ""},
      {{good}, "", 0, "        10\nab\n", ""},
      {{bad}, "", 1, "one\n", bad + ", line 3: Syntax error: unexpected end of command\n"},
      // No prompt text when the input is not a terminal; the prompt goes on after errors.
      {{"--library", kLib},
       "x = 2\nx * 3\nbad(\n? 'after'\nRET_NOTHING()\nUSERERR('boom')\nQUIT\n? 'gone'\n",
       0,
       "         6\nafter\n",
       "Error: Syntax error: unexpected end of command\nError: boom\n"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.args.back());
    const Outcome r = foxhost(c.args, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.err);
  }
  unlink(good.c_str());
  unlink(bad.c_str());
}

TEST(Program, BadUsage) {
  const Outcome r = foxhost({"--frobnicate"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown option --frobnicate"), std::string::npos);
  EXPECT_NE(r.err.find("usage: foxhost"), std::string::npos);
  const std::pair<std::vector<std::string>, int> others[] = {
      {{"-e"}, 2}, {{"a.prg", "b.prg"}, 2}, {{"/nonexistent/script.prg"}, 1}};
  for (const auto &[args, status] : others) EXPECT_EQ(foxhost(args).status, status) << args[0];
  const Outcome help = foxhost({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: foxhost"), std::string::npos);
}

}  // namespace
