// The record format: byte layout, pen-code classes, the end of the data and short files.

#include "render/outline_records.hpp"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

#include "test_support.hpp"

namespace orbelle::render {
namespace {

std::vector<std::byte> bytesOf(std::initializer_list<int> values) {
  std::vector<std::byte> bytes;
  for (int v : values) bytes.push_back(static_cast<std::byte>(v));
  return bytes;
}

TEST(OutlineRecords, SixBytesLittleEndianSigned) {
  // code 1001 (0x03E9), latitude −5400 (0xEAE8), longitude 10800 (0x2A30).
  const auto records = parseOutlineRecords(bytesOf({0xE9, 0x03, 0xE8, 0xEA, 0x30, 0x2A}));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0], (OutlineRecord{1001, -5400, 10800}));
  EXPECT_DOUBLE_EQ(records[0].latDegrees(), -90.0);
  EXPECT_DOUBLE_EQ(records[0].lonDegrees(), 180.0);
}

TEST(OutlineRecords, EncodeIsTheInverseOfParse) {
  const std::vector<OutlineRecord> records{
      {1001, 5400, -10800}, {1, -1, 1}, {-32768, 32767, -32768}, {0, 0, 0}, {1000, 123, -4567}};
  const std::vector<std::byte> bytes = encodeOutlineRecords(records);
  ASSERT_EQ(bytes.size(), records.size() * kOutlineRecordBytes);
  EXPECT_EQ(parseOutlineRecords(bytes), records);
  EXPECT_EQ(bytes[0], std::byte{0xE9});
  EXPECT_EQ(bytes[1], std::byte{0x03});
}

TEST(OutlineRecords, TrailingPieceShorterThanARecordIsNotARecord) {
  std::vector<std::byte> bytes = encodeOutlineRecords(std::vector<OutlineRecord>{{1001, 60, 60}});
  for (int extra = 1; extra < 6; ++extra) {
    bytes.push_back(std::byte{0x07});
    EXPECT_EQ(parseOutlineRecords(bytes).size(), 1u) << extra << " extra bytes";
  }
  EXPECT_TRUE(parseOutlineRecords(std::vector<std::byte>{}).empty());
}

TEST(OutlineRecords, PenCodeClasses) {
  EXPECT_EQ(penAction(0), PenAction::End);
  EXPECT_EQ(penAction(1), PenAction::Line);
  EXPECT_EQ(penAction(1000), PenAction::Line);
  EXPECT_EQ(penAction(1001), PenAction::Start);
  EXPECT_EQ(penAction(32767), PenAction::Start);
  EXPECT_EQ(penAction(-1), PenAction::Ignore);
  EXPECT_EQ(penAction(-32768), PenAction::Ignore);
}

TEST(OutlineRecords, DataEndsAtTheFirstZeroCodeOrTheLastRecord) {
  const std::vector<OutlineRecord> withEnd{{1001, 0, 0}, {1, 1, 1}, {0, 5, 5}, {1, 2, 2}};
  EXPECT_EQ(recordsBeforeEnd(withEnd), 2u);
  const std::vector<OutlineRecord> withoutEnd{{1001, 0, 0}, {-5, 1, 1}, {1, 2, 2}};
  EXPECT_EQ(recordsBeforeEnd(withoutEnd), 3u);
  const std::vector<OutlineRecord> endFirst{{0, 0, 0}, {1001, 1, 1}};
  EXPECT_EQ(recordsBeforeEnd(endFirst), 0u);
}

TEST(OutlineRecords, ReadWholeFileTellsMissingFromEmpty) {
  test::ProgramFolder folder;
  EXPECT_FALSE(readWholeFile(folder.mapDataPath("none.pnt")).has_value());
  // A folder of that name is not a file either.
  EXPECT_FALSE(readWholeFile((folder.path() / "mapdata").string()).has_value());
  folder.writeBytes("empty.pnt", {});
  const auto empty = readWholeFile(folder.mapDataPath("empty.pnt"));
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());

  std::vector<std::byte> big(200000);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::byte>(i * 7);
  folder.writeBytes("big.pnt", big);
  EXPECT_EQ(readWholeFile(folder.mapDataPath("big.pnt")), big);
}

}  // namespace
}  // namespace orbelle::render
