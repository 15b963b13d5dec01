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

TEST_F(IniStoreTest, MissingFileGivesEachDefaultThroughItsText) {
  EXPECT_EQ(get("LatHere", 33.9), Variant(33.9));
  EXPECT_EQ(get("LonHere", -84.179), Variant(-84.179));
  EXPECT_EQ(get("UTCOffset", std::int16_t{5}), Variant(std::int16_t{5}));
  EXPECT_EQ(get("MaxDx", 12437.565315561978), Variant(12437.565315562));
  EXPECT_EQ(get("ShowSun", true), Variant(true));
  EXPECT_EQ(get("ShowRivers", false), Variant(false));
  EXPECT_EQ(get("Top", 1234.5f), Variant(1234.5f));
  EXPECT_EQ(get("Born", DateSerial(2000, 7, 5)), Variant(DateSerial(2000, 7, 5)));
  EXPECT_EQ(get("Name", "Mixed Case"), Variant("Mixed Case"));
  EXPECT_EQ(GET_INI(file_, "Settings", "Name", "Mixed Case", false, say_), Variant("MIXED CASE"));
  EXPECT_EQ(get("Nothing", Variant::null()), Variant::null());
  EXPECT_TRUE(messages_.empty());
  EXPECT_FALSE(fs::exists(file_));
}

TEST_F(IniStoreTest, WrittenValuesReadBackWithTheirTypes) {
  EXPECT_TRUE(put("LatHere", 33.9));
  EXPECT_TRUE(put("LonHere", -84.179));
  EXPECT_TRUE(put("MaxDx", std::int16_t{600}));
  EXPECT_TRUE(put("ShowSun", false));
  EXPECT_TRUE(put("Left", 14360.0f));
  EXPECT_TRUE(put("Serial", std::int32_t{-70000}));
  EXPECT_TRUE(put("Born", DateSerial(2000, 7, 5)));
  EXPECT_TRUE(put("Name", "Mixed Case"));
  EXPECT_EQ(readFile(),
            "[Settings]\nLatHere= 33.9\nLonHere=-84.179\nMaxDx= 600\nShowSun=No\nLeft= 14360\n"
            "Serial=-70000\nBorn=20000705\nName=Mixed Case\n");
  EXPECT_EQ(get("LatHere", 0.0), Variant(33.9));
  EXPECT_EQ(get("MaxDx", std::int16_t{1}), Variant(std::int16_t{600}));
  EXPECT_EQ(get("ShowSun", true), Variant(false));
  EXPECT_EQ(get("left", 0.0f), Variant(14360.0f));
  EXPECT_EQ(get("Serial", std::int32_t{0}), Variant(std::int32_t{-70000}));
  EXPECT_EQ(get("Born", DateTime{}), Variant(DateSerial(2000, 7, 5)));
  EXPECT_EQ(GET_INI(file_, "Settings", "Name", "", false, say_), Variant("MIXED CASE"));
  EXPECT_TRUE(messages_.empty());
}

// How stored texts read for each type of default: booleans; integers rounding half to even and
// refusing what is not a 16-bit decimal number; reals taking the leading number; and an empty
// value yielding the default itself.
TEST_F(IniStoreTest, StoredTextsReadAsTheDefaultsType) {
  using I16 = std::int16_t;
  using I32 = std::int32_t;
  using Case = std::tuple<const char*, Variant, Variant>;
  const Case cases[] = {{"ON", false, true}, {"on", false, true},     {"Yes", false, true},
                        {"y", false, true},  {"True", false, true},   {"1", false, true},
                        {"O", true, false},  {"No", true, false},     {"0", true, false},
                        {"-1", true, false}, {"", true, true},        {"abc", 7.0, 0.0},
                        {"1e999", 7.0, 7.0}, {" 12.5 mi", 0.0, 12.5}, {" 12.5 mi", 0.0f, 12.5f}};
  const Case integers[] = {{"5.5", I16{0}, I16{6}},        {"4.5", I16{0}, I16{4}},
                           {" -2.5", I32{0}, I32{-2}},     {"abc", I16{25}, I16{25}},
                           {"12abc", I16{25}, I16{25}},    {"70000", I16{25}, I16{25}},
                           {"70000", I32{25}, I32{70000}}, {"1e3", I16{0}, I16{1000}},
                           {"   ", I16{25}, I16{25}},      {"", Variant::null(), Variant::null()}};
  for (const std::span<const Case> table :
       {std::span<const Case>(cases), std::span<const Case>(integers)}) {
    for (const auto& [text, def, read] : table) {
      writeFile(std::string("[Settings]\nKey=") + text + "\n");
      EXPECT_EQ(get("Key", def), read) << '"' << text << '"';
    }
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

TEST_F(IniStoreTest, WritesKeepOtherSectionsCommentsAndSpacing) {
  const std::string before =
      "; written by hand\n[Radio]\n  Port = /dev/ttyS0\n\n[Settings]\nLatHere  =  1\n"
      "# keep me\nShowSun=No\n\n[Zed]\nq=r\n";
  writeFile(before);
  EXPECT_TRUE(put("LatHere", 33.9));
  EXPECT_TRUE(put("MaxDx", std::int16_t{600}));
  EXPECT_EQ(readFile(),
            "; written by hand\n[Radio]\n  Port = /dev/ttyS0\n\n[Settings]\nLatHere  = 33.9\n"
            "# keep me\nShowSun=No\nMaxDx= 600\n\n[Zed]\nq=r\n");
}

TEST_F(IniStoreTest, FailedWriteLeavesTheOldFileWholeAndNoTemporary) {
  const std::string before = "[Settings]\nLatHere= 1\n" + std::string(1000, ';') + "\n";
  writeFile(before);
  // A file-size limit below the new contents makes the temporary file's write fail.
  bool written = true;
  withFileSizeLimit(512, [&] { written = put("LatHere", 33.9); });
  EXPECT_FALSE(written);
  EXPECT_EQ(readFile(), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 1);
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

  // A write that fails writes none of them.
  const std::string before = readFile();
  int failed = 0;
  withFileSizeLimit(8, [&] {
    failed = putIniEntries(file_, "Settings", {{"LatHere", Variant(1.0)}}, say_);
  });
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(readFile(), before);
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

TEST_F(IniStoreTest, WritesRemoveOldTemporariesOfWritersThatAreGone) {
  writeFile("[Settings]\n");
  const pid_t gone = exitedProcess();
  const auto temporary = [&](pid_t pid, const std::string& tail) {
    const fs::path path = dir_ / (".orbelle.ini.tmp" + std::to_string(pid) + tail);
    std::ofstream(path) << "[Settings]\nhalf";
    return path;
  };
  const auto age = [](const fs::path& path, std::time_t seconds) {
    const struct timespec times[2] = {{std::time(nullptr) - seconds, 0},
                                      {std::time(nullptr) - seconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  };
  const fs::path stale = temporary(gone, ".0.1");
  age(stale, 3600);
  const fs::path recent = temporary(gone, ".0.2");  // may belong to a write still going on
  age(recent, 60);
  const fs::path live = temporary(::getppid(), ".0.3");
  age(live, 3600);
  const fs::path otherFile = dir_ / (".other.ini.tmp" + std::to_string(gone) + ".0.4");
  std::ofstream(otherFile) << "x";
  age(otherFile, 3600);
  const fs::path unparsed = dir_ / ".orbelle.ini.tmpabc.0.5";
  std::ofstream(unparsed) << "x";
  age(unparsed, 3600);

  ASSERT_TRUE(put("LatHere", 1.0));
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_TRUE(fs::exists(recent));
  EXPECT_TRUE(fs::exists(live));
  EXPECT_TRUE(fs::exists(otherFile));
  EXPECT_TRUE(fs::exists(unparsed));
  EXPECT_EQ(readFile(), "[Settings]\nLatHere= 1\n");
}

TEST_F(IniStoreTest, WriteIntoMissingFolderFails) {
  EXPECT_FALSE(PUT_INI((dir_ / "no" / "orbelle.ini").string(), "Settings", "a", 1.0, say_));
}

TEST_F(IniStoreTest, UnreadableFileGivesDefaultsAndIsNotOverwritten) {
  fs::create_directory(file_);
  EXPECT_EQ(get("LatHere", 33.9), Variant(33.9));
  EXPECT_FALSE(put("LatHere", 1.0));
  EXPECT_TRUE(fs::is_directory(file_));
  fs::remove(file_);
  ASSERT_EQ(::mkfifo(file_.c_str(), 0600), 0);
  EXPECT_EQ(get("LatHere", 33.9), Variant(33.9));  // must not block on the pipe
  EXPECT_FALSE(put("LatHere", 1.0));
}

TEST_F(IniStoreTest, ValuesThatWouldBreakTheLayoutAreRefused) {
  writeFile("[Settings]\nName=ok\n");
  EXPECT_FALSE(put("Name", "x\n[Evil]\nk=v"));
  EXPECT_FALSE(put("a=b", "x"));
  EXPECT_FALSE(PUT_INI(file_, "", "a", "x", say_));
  EXPECT_EQ(readFile(), "[Settings]\nName=ok\n");
}

TEST_F(IniStoreTest, WindowsStylePathNamesTheSameFile) {
  const std::string windowsStyle = dir_.string() + "\\orbelle.ini";
  EXPECT_TRUE(PUT_INI(windowsStyle, "Settings", "LatHere", 2.5, say_));
  EXPECT_EQ(get("LatHere", 0.0), Variant(2.5));
}

TEST_F(IniStoreTest, KeepsPermissionsAndFollowsLinks) {
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
