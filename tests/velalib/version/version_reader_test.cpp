// The PE version reader on generated files: good ones, and truncated or corrupted ones.
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

// Every named string, in the order of their indexes.
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

// What the reader finds for one name, "<none>", or "<none: why>" when there is no resource.
std::string read(const std::vector<uint8_t> &file, std::string_view name = "FileVersion",
                 std::string_view table = kVersionStringTable) {
  const SpanSource source(file);
  const VersionLookup lookup = locateVersionResource(source);
  if (!lookup.location) return "<none: " + lookup.error + ">";
  std::vector<uint8_t> info(lookup.location->size);
  if (!source.read(lookup.location->fileOffset, info.data(), info.size())) return "<unread>";
  const auto value = queryVersionString(info, table, name);
  return value ? *value : "<none>";
}

// Every named string in both formats; tables by key (case ignored) among several; no resource.
TEST(VersionReader, NamedStringsAndStringTables) {
  for (const bool pe32Plus : {false, true}) {
    const PeOptions options = standardOptions(pe32Plus);
    const PeLayout pe = buildPe(options);
    for (int32_t index = 1; index <= 12; ++index) {
      const auto &[key, value] = options.version.tables[0].strings[index - 1];
      ASSERT_EQ(versionStringName(index), key) << index;
      EXPECT_EQ(read(pe.bytes, key), value) << key << (pe32Plus ? " PE32+" : " PE32");
    }
  }
  EXPECT_FALSE(versionStringName(0));
  EXPECT_FALSE(versionStringName(13));
  PeOptions several;
  several.version.tables = {{"040704B0", {{"FileVersion", "de"}}},
                            {"040904e4", {{"fileversion", "en"}}}};
  several.version.varFileInfoFirst = true;
  EXPECT_EQ(read(buildPe(several).bytes), "en");
  EXPECT_EQ(read(buildPe(several).bytes, "FileVersion", "040704B0"), "de");
  EXPECT_EQ(read(buildPe(several).bytes, "ProductName"), "<none>");
  EXPECT_EQ(read(buildPe(several).bytes, "FileVersion", "041104B0"), "<none>");
  PeOptions inBytes = standardOptions();  // value lengths counted in bytes still end at the NUL
  inBytes.version.lengthInBytes = true;
  EXPECT_EQ(read(buildPe(inBytes).bytes, "Comments"), "73 \xF0\x9F\x93\xBB");
  PeOptions none = standardOptions();
  none.withVersion = false;
  EXPECT_EQ(read(buildPe(none).bytes), "<none: PE resources: no version resource>");
  none.withVersion = true;
  none.versionNameId = 2;
  EXPECT_EQ(read(buildPe(none).bytes), "<none: PE resources: no version resource named 1>");
}

// Every truncation of a good file gives nothing or the right string, never anything else.
TEST(VersionReader, EveryTruncationIsRefusedOrRight) {
  const PeLayout pe = buildPe(standardOptions(true));
  for (size_t length = 0; length < pe.bytes.size(); length += 7) {
    const std::string got = read({pe.bytes.begin(), pe.bytes.begin() + length});
    if (length < pe.versionData + pe.versionSize) {
      EXPECT_EQ(got.rfind("<none", 0), 0u) << "length " << length << ": " << got;
    } else {
      EXPECT_EQ(got, "2.1.0.17");
    }
  }
  EXPECT_EQ(read({}), "<none: PE file: truncated DOS header>");
  EXPECT_EQ(read(std::vector<uint8_t>(200, 'a')), "<none: PE file: no MZ signature>");
}

// One little-endian field overwritten at a layout place (none: the file's start) + offset.
TEST(VersionReader, CorruptedFilesAreRefusedWithTheirReason) {
  const struct {
    size_t PeLayout::*place;
    size_t offset;
    int bytes;
    uint32_t value;
    const char *expected;
  } cases[] = {
      {&PeLayout::peHeader, 0, 1, 'N', "<none: PE file: no PE signature>"},
      {nullptr, 0x3C, 4, 0xFFFFFFF0u, "<none: PE file: truncated file header>"},
      {&PeLayout::optionalHeader, 0, 2, 0x107, "<none: PE file: unknown optional header magic>"},
      {&PeLayout::peHeader, 20, 2, 100, "<none: PE file: no resource directory entry>"},
      {&PeLayout::optionalHeader, 92, 4, 2, "<none: PE file: no resource directory>"},
      {&PeLayout::optionalHeader, 96 + 16, 4, 0, "<none: PE file: no resource directory>"},
      {&PeLayout::peHeader, 6, 2, 0xFFFF,
       "<none: PE file: section table beyond the end of the file>"},
      {&PeLayout::optionalHeader, 96 + 16, 4, 0x900000,
       "<none: PE resources: directory outside the file's sections>"},
      {&PeLayout::resourceSection, 12, 4, 0xFFFFFFFFu,
       "<none: PE resources: directory entries outside the file's sections>"},
      // The third root entry (after a named and an icon type) is the version's.
      {&PeLayout::resourceSection, 16 + 2 * 8 + 4, 4, 0x48,
       "<none: PE resources: expected a subdirectory, found data>"},
      {&PeLayout::versionDataEntry, 0, 4, 0xFFFFFFF0u,
       "<none: PE resources: version data outside the file's sections>"},
      {&PeLayout::versionDataEntry, 4, 4, 0x7FFFFFFF, "2.1.0.17"},  // clamped to the section
      {&PeLayout::versionData, 6, 1, 'W', "<none>"},
      // The first child (StringFileInfo) follows the root's header, key and fixed information.
      {&PeLayout::versionData, 40 + 52, 2, 0, "<none>"},
  };
  for (const auto &c : cases) {
    PeLayout pe = buildPe(standardOptions());
    const size_t at = (c.place ? pe.*c.place : 0) + c.offset;
    for (int i = 0; i < c.bytes; ++i) pe.bytes[at + i] = static_cast<uint8_t>(c.value >> (8 * i));
    EXPECT_EQ(read(pe.bytes), c.expected) << "at " << at;
  }
  PeLayout pe = buildPe(standardOptions());  // strings without terminators
  for (size_t i = pe.versionData + 40 + 52 + 6; i < pe.versionData + pe.versionSize; ++i) {
    if (pe.bytes[i] == 0) pe.bytes[i] = 'Z';
  }
  EXPECT_EQ(read(pe.bytes), "<none>");
}

TEST(VersionInfo, ShortBuffersGiveNothingAndUnpairedSurrogatesAreReplaced) {
  std::vector<uint8_t> info =
      testing::buildVersionInfo({{{"040904E4", {{"Comments", "ab"}}}}, false, false});
  for (size_t length = 0; length < info.size(); ++length) {
    EXPECT_FALSE(queryVersionString({info.data(), length}, kVersionStringTable, "Comments"))
        << "length " << length;
  }
  EXPECT_EQ(queryVersionString(info, kVersionStringTable, "Comments"),
            std::optional<std::string>("ab"));
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
