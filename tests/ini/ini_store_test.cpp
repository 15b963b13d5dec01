#include "ini/ini_store.hpp"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
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
  }
  void TearDown() override { fs::remove_all(dir_); }

  void writeFile(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }
  std::string readFile() const {
    std::stringstream s;
    s << std::ifstream(file_, std::ios::binary).rdbuf();
    return s.str();
  }
  Variant get(std::string_view key, const Variant& def) {
    return GET_INI(file_, "Settings", key, def, true, say_);
  }
  bool put(std::string_view key, const Variant& value) {
    return PUT_INI(file_, "Settings", key, value, say_);
  }

  fs::path dir_;
  std::string file_;
  std::vector<std::string> messages_;
  MessageSink say_ = [this](const std::string& text) { messages_.push_back(text); };
};

// Each type: an absent key gives the default, a written one its stored form, read back as the
// default's type (a different default, so a stored value is told from the default); names
// differing in case are one entry.
TEST_F(IniStoreTest, EachTypeIsStoredInItsFormAndReadsBackAsTheDefaultsType) {
  const std::tuple<const char*, Variant, Variant, const char*> cases[] = {
      {"LatHere", 33.9, 0.0, "LatHere= 33.9"},
      {"MaxDx", std::int16_t{600}, std::int16_t{1}, "MaxDx= 700"},
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
  EXPECT_TRUE(PUT_INI(file_, "SETTINGS", "maxdx", std::int16_t{700}, say_));
  EXPECT_EQ(readFile(), text);
  EXPECT_EQ(GET_INI(file_, "settings", "LEFT", 0.0f, true, say_), Variant(14360.0f));
  EXPECT_EQ(GET_INI(file_, "Settings", "Name", "", false, say_), Variant("MIXED CASE"));
  EXPECT_EQ(get("Precise", 12437.565315561978), Variant(12437.565315562));
  EXPECT_EQ(get("Nothing", Variant::null()), Variant::null());
  // Texts, stored ones and the default alike, are cut to 2999 characters.
  EXPECT_TRUE(put("Long", std::string(5000, 'x')));
  EXPECT_EQ(get("Long", ""), Variant(std::string(2999, 'x')));
  EXPECT_EQ(get("Absent", std::string(5000, 'y')), Variant(std::string(2999, 'y')));
  EXPECT_TRUE(messages_.empty());
}

// Entries that would break the layout are refused alone; a write that fails (a file-size limit
// below the new contents) writes none, keeps the old file whole and leaves no temporary.
TEST_F(IniStoreTest, SeveralEntriesGoInOneWriteOrNotAtAll) {
  writeFile("; mine\n[Settings]\nMaxDx= 600\n[Zed]\nq=r\n");
  const std::vector<std::pair<std::string, Variant>> entries{{"LatHere", Variant(33.9)},
                                                             {"bad=key", Variant(1.0)},
                                                             {"Name", Variant(std::string("a\nb"))},
                                                             {"ShowSun", Variant(true)},
                                                             {"MaxDx", Variant(std::int16_t{700})}};
  EXPECT_EQ(putIniEntries(file_, "Settings", entries, say_), 2);
  const std::string before = readFile();
  EXPECT_EQ(before, "; mine\n[Settings]\nMaxDx= 700\nLatHere= 33.9\nShowSun=Yes\n[Zed]\nq=r\n");
  EXPECT_EQ(putIniEntries(file_, "", {{"a", Variant(1.0)}}, say_), 1);

  struct rlimit old {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old;
  small.rlim_cur = 8;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const int failed =
      putIniEntries(file_, "Settings", {{"LatHere", Variant(1.0)}, {"a", Variant(2.0)}}, say_);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_EQ(failed, 2);
  EXPECT_EQ(readFile(), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1);
}

// Only temporaries of this file whose writer has gone and that are old enough not to belong to a
// write still going on.
TEST_F(IniStoreTest, WritesRemoveOldTemporariesOfWritersThatAreGone) {
  writeFile("[Settings]\n");
  const pid_t child = ::fork();  // exited, so its pid is free (until the system reuses it)
  if (child == 0) ::_exit(0);
  ::waitpid(child, nullptr, 0);
  const std::string gone = std::to_string(child), tmp = ".orbelle.ini.tmp";
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

// Writes that cannot be done or would break the layout change nothing; odd paths work.
TEST_F(IniStoreTest, ImpossibleWritesChangeNothingAndOddPathsWork) {
  EXPECT_FALSE(PUT_INI((dir_ / "no" / "orbelle.ini").string(), "Settings", "a", 1.0, say_));
  writeFile("[Settings]\nName=ok\n");
  EXPECT_FALSE(put("Name", "x\n[Evil]\nk=v"));
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
  fs::remove(file_);
  // A Windows-style path, a link (kept, its file written) and the file's permissions (kept).
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

// An Empty default has no default text, and Null or Empty cannot be returned or stored.
TEST_F(IniStoreTest, UnsupportedTypesSayTheirMessages) {
  const std::string noDefault(kGetIniDefaultTypeMessage), noReturn(kGetIniReturnTypeMessage);
  const std::tuple<const char*, Variant, std::vector<std::string>> cases[] = {
      {"Absent", Variant(), {noDefault}},
      {"Stored", Variant(), {noDefault, noReturn}},
      {"Stored", Variant::null(), {noReturn}}};
  writeFile("[Settings]\nStored=abc\n");
  for (const auto& [key, def, said] : cases) {
    messages_.clear();
    EXPECT_EQ(get(key, def), Variant()) << key;
    EXPECT_EQ(messages_, said) << key;
  }
  messages_.clear();
  EXPECT_EQ(INI_VAL(Variant::null(), say_), "");
  EXPECT_TRUE(put("Stored", Variant()));
  EXPECT_EQ(messages_, (std::vector<std::string>(2, std::string(kIniValTypeMessage))));
  EXPECT_EQ(readFile(), "[Settings]\nStored=\n");
}

}  // namespace
}  // namespace orbelle
