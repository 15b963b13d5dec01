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
  // clang-format off
  const std::pair<int, const char *> expected[] = {
      {1, "Station Helper"}, {2, "2.1"}, {3, "helper.dll"}, {4, "Helper library"}, {5, "2.1.0.17"},
      {6, "Example Radio Works"}, {7, "\xC2\xA9 2024 Example"}, {8, ""}, {9, "helper"}, {10, "pb"},
      {11, "sb"}, {12, "73 \xF0\x9F\x93\xBB"}};
  // clang-format on
  for (const auto &[index, text] : expected) {
    const auto name = versionStringName(index);
    ASSERT_TRUE(name);
    EXPECT_EQ(read(pe.bytes, *name), text) << *name;
  }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, VersionReaderFormats, ::testing::Bool());

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

// One field of a good file overwritten (`bytes` of `value`, little-endian, at `offset` from a
// place of the layout; no place: from the file's start), and the reason the reader gives.
TEST(VersionReader, CorruptedFilesAreRefusedWithTheirReason) {
  const struct {
    const char *name;
    size_t PeLayout::*place;
    size_t offset;
    int bytes;
    uint32_t value;
    const char *expected;
  } cases[] = {
      {"PeOffsetBeyondFile", nullptr, 0x3C, 4, 0xFFFFFFF0u,
       "<none: PE file: truncated file header>"},
      {"UnknownMagic", &PeLayout::optionalHeader, 0, 2, 0x107,
       "<none: PE file: unknown optional header magic>"},
      {"OptionalHeaderTooSmall", &PeLayout::peHeader, 20, 2, 100,
       "<none: PE file: no resource directory entry>"},
      {"TooFewDirectories", &PeLayout::optionalHeader, 92, 4, 2,
       "<none: PE file: no resource directory>"},
      {"ResourceRvaZero", &PeLayout::optionalHeader, 96 + 16, 4, 0,
       "<none: PE file: no resource directory>"},
      {"HugeSectionCount", &PeLayout::peHeader, 6, 2, 0xFFFF,
       "<none: PE file: section table beyond the end of the file>"},
      {"ResourceRvaInNoSection", &PeLayout::optionalHeader, 96 + 16, 4, 0x900000,
       "<none: PE resources: directory outside the file's sections>"},
      {"SectionRawDataBeyondFile", &PeLayout::sectionTable, 40 + 20, 4, 0x7FFFFFF0,
       "<none: PE resources: directory outside the file's sections>"},
      {"HugeEntryCounts", &PeLayout::resourceSection, 12, 4, 0xFFFFFFFFu,
       "<none: PE resources: directory entries outside the file's sections>"},
      // The third root entry (after a named and an icon type) is the version's.
      {"VersionTypePointsAtData", &PeLayout::resourceSection, 16 + 2 * 8 + 4, 4, 0x48,
       "<none: PE resources: expected a subdirectory, found data>"},
      {"SubdirectoryOffsetWild", &PeLayout::resourceSection, 16 + 2 * 8 + 4, 4, 0xFFFFFFFFu,
       "<none: PE resources: directory outside the file's sections>"},
      {"DataRvaWild", &PeLayout::versionDataEntry, 0, 4, 0xFFFFFFF0u,
       "<none: PE resources: version data outside the file's sections>"},
      {"DataSizeSmallerThanVersion", &PeLayout::versionDataEntry, 4, 4, 64, "<none>"},
      {"RootLengthTooLarge", &PeLayout::versionData, 0, 2, 0xFFFF, "<none>"},
      {"RootLengthTooSmall", &PeLayout::versionData, 0, 2, 3, "<none>"},
      {"RootKeyWrong", &PeLayout::versionData, 6, 1, 'W', "<none>"},
      // The first child (StringFileInfo) follows the root's header, key and fixed information.
      {"ChildLengthZero", &PeLayout::versionData, 40 + 52, 2, 0, "<none>"},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    PeLayout pe = buildPe(standardOptions());
    const size_t at = (c.place ? pe.*c.place : 0) + c.offset;
    for (int i = 0; i < c.bytes; ++i) pe.bytes[at + i] = static_cast<uint8_t>(c.value >> (8 * i));
    EXPECT_EQ(read(pe.bytes, "FileVersion"), c.expected);
  }
}

TEST(VersionReader, StringsWithoutTerminatorsAreRefused) {
  PeLayout pe = buildPe(standardOptions());
  for (size_t i = pe.versionData + 40 + 52 + 6; i < pe.versionData + pe.versionSize; ++i) {
    if (pe.bytes[i] == 0) pe.bytes[i] = 'Z';
  }
  EXPECT_EQ(read(pe.bytes, "FileVersion"), "<none>");
}

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
      testing::put16(info, i, 0xDC00);
      testing::put16(info, i + 2, 0xD800);
      break;
    }
  }
  EXPECT_EQ(queryVersionString(info, kVersionStringTable, "Comments"),
            std::optional<std::string>("\xEF\xBF\xBD\xEF\xBF\xBD"));
}

}  // namespace
}  // namespace velalib
