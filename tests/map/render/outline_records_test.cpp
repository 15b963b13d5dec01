// The record format: byte layout, pen-code classes, the end of the data and short or missing files.

#include "render/outline_records.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "test_support.hpp"

namespace orbelle::render {
namespace {

TEST(OutlineRecords, SixBytesLittleEndianSignedAndEncodeIsTheInverse) {
  // code 1001 (0x03E9), latitude −5400 (0xEAE8), longitude 10800 (0x2A30).
  std::vector<std::byte> bytes;
  for (int b : {0xE9, 0x03, 0xE8, 0xEA, 0x30, 0x2A}) bytes.push_back(std::byte(b));
  const std::vector<OutlineRecord> one{{1001, -5400, 10800}};
  EXPECT_EQ(parseOutlineRecords(bytes), one);
  EXPECT_EQ(encodeOutlineRecords(one), bytes);
  EXPECT_DOUBLE_EQ(one[0].latDegrees(), -90.0);
  EXPECT_DOUBLE_EQ(one[0].lonDegrees(), 180.0);
  const std::vector<OutlineRecord> extremes{{-32768, 32767, -32768}, {0, 0, 0}, {1, -1, 1}};
  EXPECT_EQ(parseOutlineRecords(encodeOutlineRecords(extremes)), extremes);
  // A trailing piece shorter than a record is not a record.
  for (int extra = 1; extra < 6; ++extra) {
    bytes.push_back(std::byte{0x07});
    EXPECT_EQ(parseOutlineRecords(bytes), one) << extra << " extra bytes";
  }
  EXPECT_TRUE(parseOutlineRecords(std::vector<std::byte>{}).empty());
}

TEST(OutlineRecords, PenCodeClassesAndTheEndOfTheData) {
  const std::pair<std::int16_t, PenAction> classes[] = {
      {0, PenAction::End},        {1, PenAction::Line},      {1000, PenAction::Line},
      {1001, PenAction::Start},   {32767, PenAction::Start}, {-1, PenAction::Ignore},
      {-32768, PenAction::Ignore}};
  for (auto [code, action] : classes) EXPECT_EQ(penAction(code), action) << code;
  const std::vector<OutlineRecord> withEnd{{1001, 0, 0}, {1, 1, 1}, {0, 5, 5}, {1, 2, 2}};
  EXPECT_EQ(recordsBeforeEnd(withEnd), 2u);
  EXPECT_EQ(recordsBeforeEnd(std::vector<OutlineRecord>{{1001, 0, 0}, {-5, 1, 1}}), 2u);
  EXPECT_EQ(recordsBeforeEnd(std::vector<OutlineRecord>{{0, 0, 0}, {1001, 1, 1}}), 0u);
}

TEST(OutlineRecords, ReadWholeFileTellsMissingFromEmpty) {
  test::ProgramFolder folder;
  EXPECT_FALSE(readWholeFile(folder.mapDataPath("none.pnt")).has_value());
  EXPECT_FALSE(readWholeFile((folder.path() / "mapdata").string()).has_value());  // a folder
  folder.writeBytes("empty.pnt", {});
  EXPECT_EQ(readWholeFile(folder.mapDataPath("empty.pnt")), std::vector<std::byte>{});
  std::vector<std::byte> big(200000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::byte>(i * 7);
  folder.writeBytes("big.pnt", big);
  EXPECT_EQ(readWholeFile(folder.mapDataPath("big.pnt")), big);
}

}  // namespace
}  // namespace orbelle::render
