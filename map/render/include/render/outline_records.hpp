#pragma once

// The record format of the outline data files: a flat sequence of 6-byte little-endian records,
// no header. Each record is a signed 16-bit pen code, latitude and longitude, both signed 16-bit
// minutes of arc (north and east positive; degrees = minutes / 60).
//
// Pen codes: 0 ends the data; 1..1000 draw a line to the vertex; 1001 and above start a new
// polyline at the vertex; negative codes are ignored.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orbelle::render {

inline constexpr std::size_t kOutlineRecordBytes = 6;
inline constexpr std::int16_t kEndOfDataCode = 0;
inline constexpr std::int16_t kLastLineCode = 1000;
inline constexpr std::int16_t kFirstStartCode = 1001;
inline constexpr double kMinutesPerDegree = 60.0;

// A river file's start code may also carry the length of the river chain the polyline belongs
// to (its pieces joined through junctions and lakes; tools/mapdata/src/river_chains.hpp): code
// kFirstChainCode + n marks a chain at least n × kChainStepKm long. kFirstStartCode marks none.
inline constexpr std::int16_t kFirstChainCode = kFirstStartCode + 1;
inline constexpr double kChainStepKm = 10.0;

// The chain length a start code marks, in km (precision kChainStepKm, rounded down); negative
// when it marks none.
constexpr double chainKmOf(std::int16_t startCode) noexcept {
  return startCode < kFirstChainCode ? -1.0 : (startCode - kFirstChainCode) * kChainStepKm;
}

enum class PenAction { End, Line, Start, Ignore };

constexpr PenAction penAction(std::int16_t code) noexcept {
  if (code == kEndOfDataCode) return PenAction::End;
  if (code < 0) return PenAction::Ignore;
  return code <= kLastLineCode ? PenAction::Line : PenAction::Start;
}

struct OutlineRecord {
  std::int16_t code = 0;
  std::int16_t latMinutes = 0;
  std::int16_t lonMinutes = 0;

  double latDegrees() const noexcept { return latMinutes / kMinutesPerDegree; }
  double lonDegrees() const noexcept { return lonMinutes / kMinutesPerDegree; }
  friend bool operator==(const OutlineRecord&, const OutlineRecord&) = default;
};

// The records of a file's bytes, in file order. A trailing piece shorter than a record is not a
// record: reading past the physical end of the file ends the data as a code 0 would.
std::vector<OutlineRecord> parseOutlineRecords(std::span<const std::byte> bytes);
void parseOutlineRecords(std::span<const std::byte> bytes, std::vector<OutlineRecord>& out);

// The records up to the first end-of-data record (exclusive), or all of them when there is none.
std::size_t recordsBeforeEnd(std::span<const OutlineRecord> records) noexcept;

// The bytes of records as the files hold them (for tools and tests that write outline files).
std::vector<std::byte> encodeOutlineRecords(std::span<const OutlineRecord> records);

// Reads a whole file into bytes. Nothing when no regular file exists at path; throws
// std::runtime_error ("File <path> cannot be read: <reason>") when one exists but cannot be
// opened or read.
std::optional<std::vector<std::byte>> readWholeFile(const std::string& path);

}  // namespace orbelle::render
