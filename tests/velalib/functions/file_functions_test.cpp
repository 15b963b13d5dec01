// VER_GETFILEVERSIONINFO through foxhost, on PE files the tests write themselves.
#include <sys/stat.h>

#include <filesystem>

#include "host_fixture.hpp"
#include "pe_builder.hpp"

namespace velalib::testing {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

class VersionStrings : public VelalibHost {
 protected:
  void SetUp() override {
    VelalibHost::SetUp();
    dir_ = fs::temp_directory_path() /
           ("velalib-version-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    VelalibHost::TearDown();
  }

  std::string write(const std::string &name, const std::vector<uint8_t> &bytes) {
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(writeFile(path, bytes)) << path;
    return path;
  }

  std::string version(const std::string &path, int32_t index) {
    return text("VER_GETFILEVERSIONINFO", {T(path), I(index)});
  }

  static PeOptions options(const std::string &table, bool pe32Plus) {
    PeOptions o;
    o.pe32Plus = pe32Plus;
    o.version.tables = {{table,
                         {{"ProductName", "Logbook"},
                          {"FileVersion", "5.0.2.11"},
                          {"CompanyName", "Example \xC3\x9C"},
                          {"Comments", "de"}}}};
    return o;
  }

  fs::path dir_;
};

TEST_F(VersionStrings, ReadsNamedStringsOfBothFormats) {
  for (bool plus : {false, true}) {
    const std::string path =
        write(plus ? "a64.dll" : "a32.dll", buildPe(options("040904E4", plus)).bytes);
    EXPECT_EQ(version(path, 5), "5.0.2.11") << path;
    EXPECT_EQ(version(path, 1), "Logbook");
    EXPECT_EQ(version(path, 6), "Example \xC3\x9C");
    EXPECT_EQ(version(path, 12), "de");
    EXPECT_EQ(version(path, 2), "");  // ProductVersion is not in this file
    EXPECT_EQ(version(path, 0), "");
    EXPECT_EQ(version(path, 13), "");
    EXPECT_EQ(version(path, -5), "");
  }
}

TEST_F(VersionStrings, OtherLanguageGivesEmptyText) {
  const std::string path = write("de.dll", buildPe(options("040704B0", false)).bytes);
  EXPECT_EQ(version(path, 5), "");
}

TEST_F(VersionStrings, BrokenAndMissingFilesGiveEmptyText) {
  const PeLayout pe = buildPe(options("040904E4", true));
  const std::vector<uint8_t> cut(pe.bytes.begin(), pe.bytes.begin() + pe.versionData + 20);
  EXPECT_EQ(version(write("cut.dll", cut), 5), "");
  std::vector<uint8_t> broken = pe.bytes;
  put32(broken, pe.versionDataEntry, 0xFFFFFF00u);
  EXPECT_EQ(version(write("broken.dll", broken), 5), "");
  EXPECT_EQ(version(write("text.txt", {'h', 'i'}), 5), "");
  EXPECT_EQ(version(write("empty.dll", {}), 5), "");
  EXPECT_EQ(version((dir_ / "missing.dll").string(), 5), "");
  EXPECT_EQ(version(dir_.string(), 5), "");
  EXPECT_EQ(version("", 5), "");
  EXPECT_EQ(version("/dev/zero", 5), "");
}

TEST_F(VersionStrings, FifoDoesNotBlock) {
  const fs::path fifo = dir_ / "pipe";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(version(fifo.string(), 5), "");
}

TEST_F(VersionStrings, NameEndsAtItsFirstNul) {
  const std::string path = write("nul.dll", buildPe(options("040904E4", false)).bytes);
  EXPECT_EQ(version(path + "\0ignored"s, 5), "5.0.2.11");
}

TEST_F(VersionStrings, OutOfMemoryRaisesHostError182) {
  const std::string path = write("big.dll", buildPe(options("040904E4", false)).bytes);
  // Room for the arguments and the name's NUL, not for the version data.
  host_.setHandleLimit(path.size() + 1 + 64);
  const foxhost::HostError e = errorOf("VER_GETFILEVERSIONINFO", {T(path), I(5)});
  EXPECT_EQ(e.number(), 182) << e.what();
  host_.setHandleLimit(path.size());
  EXPECT_EQ(errorOf("VER_GETFILEVERSIONINFO", {T(path), I(5)}).number(), 182);
}

}  // namespace
}  // namespace velalib::testing
