// The PE version reader on files built by the test generator: good files of both formats,
// other string tables, and truncated or corrupted files, which must give nothing.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "byte_source.hpp"
#include "pe_builder.hpp"
#include "pe_image.hpp"
#include "version_info.hpp"

namespace velalib {
namespace {

using testing::buildPe;
using testing::PeLayout;
using testing::PeOptions;
using testing::put16;
using testing::put32;

PeOptions standardOptions(bool pe32Plus = false) {
  PeOptions options;
  options.pe32Plus = pe32Plus;
  options.version.tables = {{"040904E4",
                             {{"ProductName", "Station Helper"},
                              {"ProductVersion", "2.1"},
                              {"OriginalFilename", "helper.dll"},
                              {"FileDescription", "Helper library"},
                              {"FileVersion", "2.1.0.17"},
                              {"CompanyName", "Example Radio Works"},
                              {"LegalCopyright", "\xC2\xA9 2024 Example"},
                              {"LegalTrademarks", ""},
                              {"InternalName", "helper"},
                              {"PrivateBuild", "pb"},
                              {"SpecialBuild", "sb"},
                              {"Comments", "73 \xF0\x9F\x93\xBB"}}}};
  return options;
}

// What the reader finds for one name, or "<none>".
std::string read(const std::vector<uint8_t> &file, std::string_view name,
                 std::string_view table = kVersionStringTable) {
  const SpanSource source(file);
  const VersionLookup lookup = locateVersionResource(source);
  if (!lookup.location) return "<none: " + lookup.error + ">";
  std::vector<uint8_t> info(lookup.location->size);
  if (!source.read(lookup.location->fileOffset, info.data(), info.size())) return "<unread>";
  const auto value = queryVersionString(info, table, name);
  return value ? *value : "<none>";
}

class VersionReaderFormats : public ::testing::TestWithParam<bool> {};

TEST_P(VersionReaderFormats, ReadsEveryNamedString) {
  const PeLayout pe = buildPe(standardOptions(GetParam()));
  const std::pair<int, const char *> expected[] = {{1, "Station Helper"},
                                                   {2, "2.1"},
                                                   {3, "helper.dll"},
                                                   {4, "Helper library"},
                                                   {5, "2.1.0.17"},
                                                   {6, "Example Radio Works"},
                                                   {7, "\xC2\xA9 2024 Example"},
                                                   {8, ""},
                                                   {9, "helper"},
                                                   {10, "pb"},
                                                   {11, "sb"},
                                                   {12, "73 \xF0\x9F\x93\xBB"}};
  for (const auto &[index, text] : expected) {
    const auto name = versionStringName(index);
    ASSERT_TRUE(name);
    EXPECT_EQ(read(pe.bytes, *name), text) << *name;
  }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, VersionReaderFormats, ::testing::Bool());

TEST(VersionStringName, OnlyOneThroughTwelve) {
  EXPECT_EQ(versionStringName(1), "ProductName");
  EXPECT_EQ(versionStringName(5), "FileVersion");
  EXPECT_EQ(versionStringName(12), "Comments");
  EXPECT_FALSE(versionStringName(0));
  EXPECT_FALSE(versionStringName(13));
  EXPECT_FALSE(versionStringName(-1));
}

TEST(VersionReader, OtherStringTableGivesNothing) {
  PeOptions options = standardOptions();
  options.version.tables[0].key = "040704B0";
  const PeLayout pe = buildPe(options);
  EXPECT_EQ(read(pe.bytes, "FileVersion"), "<none>");
  EXPECT_EQ(read(pe.bytes, "FileVersion", "040704B0"), "2.1.0.17");
}

TEST(VersionReader, FindsTheTableAmongSeveralAndIgnoresKeyCase) {
  PeOptions options;
  options.version.tables = {{"040704B0", {{"FileVersion", "de"}}},
                            {"040904e4", {{"fileversion", "en"}}}};
  options.version.varFileInfoFirst = true;
  const PeLayout pe = buildPe(options);
  EXPECT_EQ(read(pe.bytes, "FileVersion"), "en");
  EXPECT_EQ(read(pe.bytes, "ProductName"), "<none>");
}

TEST(VersionReader, ValueLengthCountedInBytesStillEndsAtNul) {
  PeOptions options = standardOptions();
  options.version.lengthInBytes = true;
  const PeLayout pe = buildPe(options);
  EXPECT_EQ(read(pe.bytes, "FileVersion"), "2.1.0.17");
  EXPECT_EQ(read(pe.bytes, "Comments"), "73 \xF0\x9F\x93\xBB");
}

TEST(VersionReader, FileWithoutVersionResource) {
  PeOptions options = standardOptions();
  options.withVersion = false;
  EXPECT_EQ(read(buildPe(options).bytes, "FileVersion"),
            "<none: PE resources: no version resource>");
  options = standardOptions();
  options.versionNameId = 2;
  EXPECT_EQ(read(buildPe(options).bytes, "FileVersion"),
            "<none: PE resources: no version resource named 1>");
}

TEST(VersionReader, NotPeFiles) {
  EXPECT_EQ(read({}, "FileVersion"), "<none: PE file: truncated DOS header>");
  std::vector<uint8_t> text(200, 'a');
  EXPECT_EQ(read(text, "FileVersion"), "<none: PE file: no MZ signature>");
  PeLayout pe = buildPe(standardOptions());
  pe.bytes[pe.peHeader] = 'N';
  EXPECT_EQ(read(pe.bytes, "FileVersion"), "<none: PE file: no PE signature>");
}

// Every truncation of a good file gives nothing or the right string, never anything else.
TEST(VersionReader, EveryTruncationIsRefusedOrRight) {
  const PeLayout pe = buildPe(standardOptions(true));
  for (size_t length = 0; length < pe.bytes.size(); length += 7) {
    const std::vector<uint8_t> cut(pe.bytes.begin(), pe.bytes.begin() + length);
    const std::string got = read(cut, "FileVersion");
    if (length < pe.versionData + pe.versionSize) {
      EXPECT_EQ(got.rfind("<none", 0), 0u) << "length " << length << ": " << got;
    } else {
      EXPECT_EQ(got, "2.1.0.17");
    }
  }
}

struct Corruption {
  const char *name;
  void (*apply)(PeLayout &);
  const char *expected;
};

class CorruptedFiles : public ::testing::TestWithParam<Corruption> {};

TEST_P(CorruptedFiles, AreRefusedWithTheirReason) {
  PeLayout pe = buildPe(standardOptions());
  GetParam().apply(pe);
  EXPECT_EQ(read(pe.bytes, "FileVersion"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CorruptedFiles,
    ::testing::Values(
        Corruption{"PeOffsetBeyondFile", [](PeLayout &pe) { put32(pe.bytes, 0x3C, 0xFFFFFFF0u); },
                   "<none: PE file: truncated file header>"},
        Corruption{"UnknownMagic", [](PeLayout &pe) { put16(pe.bytes, pe.optionalHeader, 0x107); },
                   "<none: PE file: unknown optional header magic>"},
        Corruption{"OptionalHeaderTooSmall",
                   [](PeLayout &pe) { put16(pe.bytes, pe.peHeader + 20, 100); },
                   "<none: PE file: no resource directory entry>"},
        Corruption{"TooFewDirectories",
                   [](PeLayout &pe) { put32(pe.bytes, pe.optionalHeader + 92, 2); },
                   "<none: PE file: no resource directory>"},
        Corruption{"ResourceRvaZero",
                   [](PeLayout &pe) { put32(pe.bytes, pe.optionalHeader + 96 + 16, 0); },
                   "<none: PE file: no resource directory>"},
        Corruption{"HugeSectionCount",
                   [](PeLayout &pe) { put16(pe.bytes, pe.peHeader + 6, 0xFFFF); },
                   "<none: PE file: section table beyond the end of the file>"},
        Corruption{"ResourceRvaInNoSection",
                   [](PeLayout &pe) { put32(pe.bytes, pe.optionalHeader + 96 + 16, 0x900000); },
                   "<none: PE resources: directory outside the file's sections>"},
        Corruption{"SectionRawDataBeyondFile",
                   [](PeLayout &pe) { put32(pe.bytes, pe.sectionTable + 40 + 20, 0x7FFFFFF0); },
                   "<none: PE resources: directory outside the file's sections>"},
        Corruption{"HugeEntryCount",
                   [](PeLayout &pe) {
                     put16(pe.bytes, pe.resourceSection + 12, 0xFFFF);
                     put16(pe.bytes, pe.resourceSection + 14, 0xFFFF);
                   },
                   "<none: PE resources: directory entries outside the file's sections>"},
        Corruption{"VersionTypePointsAtData",
                   [](PeLayout &pe) {
                     // The third root entry (after a named and an icon type) is the version.
                     const size_t entry = pe.resourceSection + 16 + 2 * 8;
                     put32(pe.bytes, entry + 4, 0x48);
                   },
                   "<none: PE resources: expected a subdirectory, found data>"},
        Corruption{"SubdirectoryOffsetWild",
                   [](PeLayout &pe) {
                     const size_t entry = pe.resourceSection + 16 + 2 * 8;
                     put32(pe.bytes, entry + 4, 0xFFFFFFFFu);
                   },
                   "<none: PE resources: directory outside the file's sections>"},
        Corruption{"DataRvaWild",
                   [](PeLayout &pe) { put32(pe.bytes, pe.versionDataEntry, 0xFFFFFFF0u); },
                   "<none: PE resources: version data outside the file's sections>"},
        Corruption{"RootLengthTooLarge",
                   [](PeLayout &pe) { put16(pe.bytes, pe.versionData, 0xFFFF); }, "<none>"},
        Corruption{"RootLengthTooSmall", [](PeLayout &pe) { put16(pe.bytes, pe.versionData, 3); },
                   "<none>"},
        Corruption{"RootKeyWrong", [](PeLayout &pe) { pe.bytes[pe.versionData + 6] = 'W'; },
                   "<none>"},
        Corruption{"ChildLengthZero",
                   [](PeLayout &pe) {
                     // The first child (StringFileInfo) starts after the root's header, key
                     // and 52-byte fixed information.
                     put16(pe.bytes, pe.versionData + 40 + 52, 0);
                   },
                   "<none>"},
        Corruption{"StringsWithoutTerminators",
                   [](PeLayout &pe) {
                     for (size_t i = pe.versionData + 40 + 52 + 6;
                          i < pe.versionData + pe.versionSize; ++i) {
                       if (pe.bytes[i] == 0) pe.bytes[i] = 'Z';
                     }
                   },
                   "<none>"},
        Corruption{"DataSizeSmallerThanVersion",
                   [](PeLayout &pe) { put32(pe.bytes, pe.versionDataEntry + 4, 64); }, "<none>"}),
    [](const auto &info) { return info.param.name; });

TEST(VersionReader, DataSizeLargerThanTheSectionIsClamped) {
  PeLayout pe = buildPe(standardOptions());
  put32(pe.bytes, pe.versionDataEntry + 4, 0x7FFFFFFF);
  EXPECT_EQ(read(pe.bytes, "FileVersion"), "2.1.0.17");
}

TEST(VersionInfo, OddAndShortBuffersGiveNothing) {
  const std::vector<uint8_t> info = testing::buildVersionInfo(standardOptions().version);
  for (size_t length = 0; length < info.size(); ++length) {
    const std::span<const uint8_t> cut(info.data(), length);
    EXPECT_FALSE(queryVersionString(cut, kVersionStringTable, "Comments")) << "length " << length;
  }
  EXPECT_EQ(queryVersionString(info, kVersionStringTable, "Comments"),
            std::optional<std::string>("73 \xF0\x9F\x93\xBB"));
}

TEST(VersionInfo, UnpairedSurrogatesBecomeReplacementCharacters) {
  std::vector<uint8_t> info =
      testing::buildVersionInfo({{{"040904E4", {{"Comments", "ab"}}}}, false, false});
  // A low surrogate with no high one before it, then a high one followed by the NUL.
  for (size_t i = 0; i + 1 < info.size(); i += 2) {
    if (info[i] == 'a' && info[i + 1] == 0 && info[i + 2] == 'b') {
      put16(info, i, 0xDC00);
      put16(info, i + 2, 0xD800);
      break;
    }
  }
  EXPECT_EQ(queryVersionString(info, kVersionStringTable, "Comments"),
            std::optional<std::string>("\xEF\xBF\xBD\xEF\xBF\xBD"));
}

}  // namespace
}  // namespace velalib
