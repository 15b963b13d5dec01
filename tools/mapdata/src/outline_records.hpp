// The 6-byte outline record: signed 16-bit pen code, latitude and longitude in minutes of arc,
// little-endian, no header. The map's reader stops at code 0 (or the end of the file), draws a
// line to a vertex of code 1..1000, starts a new polyline at a vertex of code 1001 or more, and
// skips a negative code.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "minute_grid.hpp"

namespace mapdata {

constexpr std::size_t kRecordBytes = 6;
constexpr std::int16_t kEndCode = 0;
constexpr std::int16_t kLineCode = 1;      // any of 1..1000 draws; the files use 1
constexpr std::int16_t kStartCode = 1001;  // any value >= 1001 moves; the files use 1001

struct Record {
  std::int16_t code = 0;
  std::int16_t lat = 0;
  std::int16_t lon = 0;
};

// One start record per polyline, one line record per further vertex, one end record (0, 0, 0).
// Throws std::invalid_argument for a polyline of fewer than two vertices (the reader would not
// draw it) or a vertex outside +-5400 / +-10800 minutes.
std::vector<Record> encodeOutline(const std::vector<MinuteLine>& lines);
// The same with the start code of each line given (startCodes[i] for lines[i], each >= 1001).
std::vector<Record> encodeOutline(const std::vector<MinuteLine>& lines,
                                  const std::vector<std::int16_t>& startCodes);

// The start code that marks a river chain of km as the map reads it (render/outline_records.hpp:
// rounded down to whole kChainStepKm, saturated at the largest code).
std::int16_t chainStartCode(double km);

std::vector<std::uint8_t> toBytes(const std::vector<Record>& records);

// Splits bytes into records; a trailing fragment shorter than a record is reported through
// trailingBytes and otherwise ignored, as the map's reader ignores it.
std::vector<Record> fromBytes(const std::vector<std::uint8_t>& bytes, std::size_t& trailingBytes);

// Reads records the way the map draws them and returns the polylines that would be drawn
// (a polyline of one vertex is a dot). Every deviation from the files this converter writes is
// listed in problems: a line record before any start, negative codes, records after the end
// record, a missing end record, single-vertex polylines, positions out of range.
struct DecodedOutline {
  std::vector<MinuteLine> lines;
  std::size_t records = 0;  // records up to and including the end record
  std::vector<std::string> problems;
};
DecodedOutline decodeOutline(const std::vector<Record>& records);

}  // namespace mapdata
