#include "ini/ini_store.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <span>
#include <sstream>
#include <tuple>
#include <vector>

namespace orbelle {
namespace {

namespace fs = std::filesystem;

class IniStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "ini_store_XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    file_ = (dir_ / "orbelle.ini").string();
    say_ = [this](const std::string& text) { messages_.push_back(text); };
  }
  void TearDown() override { fs::remove_all(dir_); }

  void writeFile(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }
  std::string readFile() const {
    std::ifstream in(file_, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  Variant get(std::string_view key, const Variant& def) {
    return GET_INI(file_, "Settings", key, def, true, say_);
  }
  bool put(std::string_view key, const Variant& value) {
    return PUT_INI(file_, "Settings", key, value, say_);
  }

  // Runs `write` with files of this process limited to `bytes` (writes beyond fail).
  template <class Write>
  static void withFileSizeLimit(rlim_t bytes, Write write) {
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = bytes;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    write();
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
  }

  fs::path dir_;
  std::string file_;
  std::vector<std::string> messages_;
  MessageSink say_;
};

// Each type: an absent key gives the default (through its text), a written one its stored form,
// read back as the default's type.
TEST_F(IniStoreTest, EachTypeIsStoredInItsFormAndReadsBackAsTheDefaultsType) {
  const std::tuple<const char*, Variant, Variant, const char*> cases[] = {
      {"LatHere", 33.9, 0.0, "LatHere= 33.9"},
      {"LonHere", -84.179, 0.0, "LonHere=-84.179"},
      {"MaxDx", std::int16_t{600}, std::int16_t{1}, "MaxDx= 600"},
      {"ShowSun", false, true, "ShowSun=No"},
      {"Left", 14360.0f, 0.0f, "Left= 14360"},
      {"Serial", std::int32_t{-70000}, std::int32_t{0}, "Serial=-70000"},
      {"Born", DateSerial(2000, 7, 5), DateTime{}, "Born=20000705"},
      {"Name", "Mixed Case", "", "Name=Mixed Case"}};
  std::string text = "[Settings]\n";
  for (const auto& [key, value, other, line] : cases) {
    EXPECT_EQ(get(key, value), value) << key;
    EXPECT_TRUE(put(key, value)) << key;
    EXPECT_EQ(get(key, other), value) << key;
    text += std::string(line) + "\n";
  }
  EXPECT_EQ(readFile(), text);
  EXPECT_EQ(GET_INI(file_, "Settings", "Name", "", false, say_), Variant("MIXED CASE"));
  EXPECT_EQ(get("Precise", 12437.565315561978), Variant(12437.565315562));
  EXPECT_EQ(get("Nothing", Variant::null()), Variant::null());
  EXPECT_TRUE(messages_.empty());
}

// Stored texts as the default's type (the conversions' own rules are the text tests'); an empty
// value gives the default itself.
TEST_F(IniStoreTest, StoredTextsReadAsTheDefaultsType) {
  using I16 = std::int16_t;
  const std::tuple<const char*, Variant, Variant> cases[] = {
      {"y", false, true},          {"", true, true},
      {"abc", 7.0, 0.0},           {"1e999", 7.0, 7.0},
      {" 12.5 mi", 0.0f, 12.5f},   {"5.5", I16{0}, I16{6}},
      {"70000", I16{25}, I16{25}}, {"70000", std::int32_t{25}, std::int32_t{70000}},
      {"   ", I16{25}, I16{25}},   {"", Variant::null(), Variant::null()}};
  for (const auto& [text, def, read] : cases) {
    writeFile(std::string("[Settings]\nKey=") + text + "\n");
    EXPECT_EQ(get("Key", def), read) << '"' << text << '"';
  }
  EXPECT_TRUE(messages_.empty());
}

TEST_F(IniStoreTest, NamesDifferingInCaseAreOneEntry) {
  EXPECT_TRUE(put("PixelWidth", std::int16_t{640}));
  EXPECT_TRUE(put("pixelwidth", std::int16_t{700}));
  EXPECT_TRUE(PUT_INI(file_, "SETTINGS", "Left", 10.0f, say_));
  EXPECT_EQ(get("Pixelwidth", std::int16_t{600}), Variant(std::int16_t{700}));
  EXPECT_EQ(GET_INI(file_, "settings", "LEFT", 0.0f, true, say_), Variant(10.0f));
  EXPECT_EQ(readFile(), "[Settings]\nPixelWidth= 700\nLeft= 10\n");
}

TEST_F(IniStoreTest, LongValuesAreCutTo2999Characters) {
  const std::string longText(5000, 'x');
  EXPECT_TRUE(put("Long", longText));
  const Variant back = get("Long", "");
  ASSERT_NE(back.getIf<std::string>(), nullptr);
  EXPECT_EQ(*back.getIf<std::string>(), std::string(2999, 'x'));
  // The default text passes through the same buffer.
  const Variant absent = get("Absent", longText);
  EXPECT_EQ(absent.getIf<std::string>()->size(), 2999u);
}

TEST_F(IniStoreTest, SeveralEntriesGoInOneWriteOrNotAtAll) {
  writeFile("; mine\n[Settings]\nMaxDx= 600\n[Zed]\nq=r\n");
  const std::vector<std::pair<std::string, Variant>> entries{{"LatHere", Variant(33.9)},
                                                             {"bad=key", Variant(1.0)},
                                                             {"Name", Variant(std::string("a\nb"))},
                                                             {"ShowSun", Variant(true)},
                                                             {"MaxDx", Variant(std::int16_t{700})}};
  EXPECT_EQ(putIniEntries(file_, "Settings", entries, say_), 2);  // the two that would break it
  EXPECT_EQ(readFile(), "; mine\n[Settings]\nMaxDx= 700\nLatHere= 33.9\nShowSun=Yes\n[Zed]\nq=r\n");

  // A write that fails (a file-size limit below the new contents) writes none of them, keeps the
  // old file whole and leaves no temporary.
  const std::string before = readFile();
  int failed = 0;
  withFileSizeLimit(8, [&] {
    failed =
        putIniEntries(file_, "Settings", {{"LatHere", Variant(1.0)}, {"a", Variant(2.0)}}, say_);
  });
  EXPECT_EQ(failed, 2);
  EXPECT_EQ(readFile(), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1);
  EXPECT_EQ(putIniEntries(file_, "", {{"a", Variant(1.0)}}, say_), 1);
  EXPECT_EQ(readFile(), before);
}

// A process that has exited, whose pid is therefore free (until the system reuses it).
pid_t exitedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

// Only temporaries of this file whose writer has gone and that are old enough not to belong to a
// write still going on.
TEST_F(IniStoreTest, WritesRemoveOldTemporariesOfWritersThatAreGone) {
  writeFile("[Settings]\n");
  const std::string gone = std::to_string(exitedProcess());
  const std::string tmp = ".orbelle.ini.tmp";
  const std::tuple<std::string, std::time_t, bool> files[] = {
      {tmp + gone + ".0.1", 3600, false},
      {tmp + gone + ".0.2", 60, true},
      {tmp + std::to_string(::getppid()) + ".0.3", 3600, true},
      {".other.ini.tmp" + gone + ".0.4", 3600, true},
      {tmp + "abc.0.5", 3600, true}};
  for (const auto& [name, age, kept] : files) {
    std::ofstream(dir_ / name) << "[Settings]\nhalf";
    const struct timespec times[2] = {{std::time(nullptr) - age, 0}, {std::time(nullptr) - age, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (dir_ / name).c_str(), times, 0), 0);
  }
  ASSERT_TRUE(put("LatHere", 1.0));
  for (const auto& [name, age, kept] : files) EXPECT_EQ(fs::exists(dir_ / name), kept) << name;
  EXPECT_EQ(readFile(), "[Settings]\nLatHere= 1\n");
}

TEST_F(IniStoreTest, WritesThatCannotBeDoneOrWouldBreakTheLayoutChangeNothing) {
  EXPECT_FALSE(PUT_INI((dir_ / "no" / "orbelle.ini").string(), "Settings", "a", 1.0, say_));
  writeFile("[Settings]\nName=ok\n");
  EXPECT_FALSE(put("Name", "x\n[Evil]\nk=v"));
  EXPECT_FALSE(put("a=b", "x"));
  EXPECT_FALSE(PUT_INI(file_, "", "a", "x", say_));
  EXPECT_EQ(readFile(), "[Settings]\nName=ok\n");
  // A folder or a pipe where the file should be: defaults, and never overwritten or blocking.
  fs::remove(file_);
  fs::create_directory(file_);
  EXPECT_EQ(get("LatHere", 33.9), Variant(33.9));
  EXPECT_FALSE(put("LatHere", 1.0));
  EXPECT_TRUE(fs::is_directory(file_));
  fs::remove(file_);
  ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(get("LatHere", 33.9), Variant(33.9));
  EXPECT_FALSE(put("LatHere", 1.0));
}

TEST_F(IniStoreTest, WindowsStylePathsLinksAndPermissions) {
  EXPECT_TRUE(PUT_INI(dir_.string() + "\\orbelle.ini", "Settings", "LatHere", 2.5, say_));
  EXPECT_EQ(get("LatHere", 0.0), Variant(2.5));
  writeFile("[Settings]\n");
  ::chmod(file_.c_str(), 0640);
  const std::string link = (dir_ / "link.ini").string();
  fs::create_symlink(file_, link);
  EXPECT_TRUE(PUT_INI(link, "Settings", "a", "b", say_));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readFile(), "[Settings]\na=b\n");
  EXPECT_EQ(fs::status(file_).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(IniStoreTest, UnsupportedTypesSayTheirMessages) {
  // An Empty default has no default text; with nothing stored it comes back as it is.
  EXPECT_EQ(get("Absent", Variant()), Variant());
  EXPECT_EQ(messages_, (std::vector<std::string>{std::string(kGetIniDefaultTypeMessage)}));

  messages_.clear();
  writeFile("[Settings]\nStored=abc\n");
  EXPECT_EQ(get("Stored", Variant()), Variant());
  EXPECT_EQ(messages_, (std::vector<std::string>{std::string(kGetIniDefaultTypeMessage),
                                                 std::string(kGetIniReturnTypeMessage)}));

  messages_.clear();
  EXPECT_EQ(get("Stored", Variant::null()), Variant());
  EXPECT_EQ(messages_, (std::vector<std::string>{std::string(kGetIniReturnTypeMessage)}));

  messages_.clear();
  EXPECT_EQ(INI_VAL(Variant::null(), say_), "");
  EXPECT_TRUE(put("Stored", Variant()));
  EXPECT_EQ(messages_, (std::vector<std::string>(2, std::string(kIniValTypeMessage))));
  EXPECT_EQ(readFile(), "[Settings]\nStored=\n");
}

}  // namespace
}  // namespace orbelle
