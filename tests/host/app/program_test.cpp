// The foxhost program run as a subprocess: -e commands, a script, and the prompt fed by a pipe.
#include <fcntl.h>
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

std::string slurp(const std::string &path) {
  std::ifstream in(path);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Runs foxhost with `args`, standard input from `input`, and collects what it writes.
Outcome foxhost(const std::vector<std::string> &args, const std::string &input = "") {
  const std::string in = tempFile(input), out = tempFile(""), err = tempFile("");
  const pid_t pid = fork();
  if (pid == 0) {
    const int fin = open(in.c_str(), O_RDONLY), fout = open(out.c_str(), O_WRONLY | O_TRUNC),
              ferr = open(err.c_str(), O_WRONLY | O_TRUNC);
    dup2(fin, 0);
    dup2(fout, 1);
    dup2(ferr, 2);
    std::vector<char *> argv{const_cast<char *>(FOXHOST_PATH)};
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    execv(FOXHOST_PATH, argv.data());
    _exit(127);
  }
  Outcome r;
  int status = 0;
  waitpid(pid, &status, 0);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  r.out = slurp(out);
  r.err = slurp(err);
  unlink(in.c_str());
  unlink(out.c_str());
  unlink(err.c_str());
  return r;
}

const std::string kLib = std::string(FOXTEST_LIB_DIR) + "/foxtestlib.so";

TEST(Program, ExpressionsCallALibraryAndPrint) {
  const Outcome r = foxhost({"--library", kLib, "-e", "ECHO_C('hi') + '!'", "-e", "? 1 + 2, .T."});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "hi!\n         3 .T.\n");
  EXPECT_EQ(r.err, "");
}

TEST(Program, AnErrorInAnExpressionStopsWithItsMessage) {
  const Outcome r = foxhost({"-e", "? 1", "-e", "NOSUCH()", "-e", "? 2"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "         1\n");
  EXPECT_EQ(r.err, "Error: Function NOSUCH is not found\n");
}

TEST(Program, MissingLibrary) {
  const Outcome r = foxhost({"--library", "/nonexistent/lib.so", "-e", "? 1"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "Error: Library file /nonexistent/lib.so does not exist\n");
  EXPECT_EQ(r.out, "");
}

TEST(Program, ScriptRunsAndStopsAtItsFirstError) {
  const std::string good =
      tempFile("SET LIBRARY TO " + kLib + "\n? REENTER(4)\nx = 'a' + ;\n 'b'\n? x\n");
  Outcome r = foxhost({good});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "        10\nab\n");
  const std::string bad = tempFile("? 'one'\n\n? 1 +\n? 'never'\n");
  r = foxhost({bad});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "one\n");
  EXPECT_EQ(r.err, bad + ", line 3: Syntax error: unexpected end of command\n");
  unlink(good.c_str());
  unlink(bad.c_str());
  EXPECT_EQ(foxhost({"/nonexistent/script.prg"}).status, 1);
}

TEST(Program, PromptFromAPipe) {
  const Outcome r =
      foxhost({"--library", kLib},
              "x = 2\nx * 3\nbad(\n? 'after'\nRET_NOTHING()\nUSERERR('boom')\nQUIT\n? 'gone'\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "         6\nafter\n");  // no prompt text when the input is not a terminal
  EXPECT_EQ(r.err, "Error: Syntax error: unexpected end of command\nError: boom\n");
}

TEST(Program, VirtualClock) {
  const Outcome r = foxhost({"--virtual-clock", "--library", kLib, "-e", "? CLOCKMS() < 5"});
  EXPECT_EQ(r.out, ".T.\n") << r.err;
}

TEST(Program, BadUsage) {
  Outcome r = foxhost({"--frobnicate"});
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("unknown option --frobnicate"), std::string::npos);
  EXPECT_NE(r.err.find("usage: foxhost"), std::string::npos);
  EXPECT_EQ(foxhost({"-e"}).status, 2);
  EXPECT_EQ(foxhost({"a.prg", "b.prg"}).status, 2);
  r = foxhost({"--help"});
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("usage: foxhost"), std::string::npos);
}

}  // namespace
