#include "outline_records.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>

#include "render/outline_records.hpp"

namespace mapdata {
namespace {

bool inRange(int lat, int lon) {
  return std::abs(lat) <= kMaxLatMinutes && std::abs(lon) <= kMaxLonMinutes;
}

void putLe16(std::vector<std::uint8_t>& out, std::int16_t v) {
  const auto u = static_cast<std::uint16_t>(v);
  out.push_back(static_cast<std::uint8_t>(u & 0xFFu));
  out.push_back(static_cast<std::uint8_t>(u >> 8));
}

std::int16_t getLe16(const std::uint8_t* p) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

}  // namespace

std::vector<Record> encodeOutline(const std::vector<MinuteLine>& lines) {
  return encodeOutline(lines, std::vector<std::int16_t>(lines.size(), kStartCode));
}

std::vector<Record> encodeOutline(const std::vector<MinuteLine>& lines,
                                  const std::vector<std::int16_t>& startCodes) {
  if (startCodes.size() != lines.size()) throw std::invalid_argument("one start code per line");
  std::vector<Record> records;
  for (std::size_t n = 0; n < lines.size(); ++n) {
    const MinuteLine& line = lines[n];
    if (startCodes[n] < kStartCode) throw std::invalid_argument("start code below 1001");
    if (line.size() < 2) throw std::invalid_argument("polyline with fewer than two vertices");
    for (std::size_t i = 0; i < line.size(); ++i) {
      const MinutePoint p = line[i];
      if (!inRange(p.lat, p.lon))
        throw std::invalid_argument("vertex out of range: " + std::to_string(p.lat) + " " +
                                    std::to_string(p.lon));
      records.push_back(Record{i == 0 ? startCodes[n] : kLineCode, static_cast<std::int16_t>(p.lat),
                               static_cast<std::int16_t>(p.lon)});
    }
  }
  records.push_back(Record{kEndCode, 0, 0});
  return records;
}

std::int16_t chainStartCode(double km) {
  const double steps = std::floor(std::max(km, 0.0) / orbelle::render::kChainStepKm);
  const double code = orbelle::render::kFirstChainCode + steps;
  return static_cast<std::int16_t>(
      std::min<double>(code, std::numeric_limits<std::int16_t>::max()));
}

std::vector<std::uint8_t> toBytes(const std::vector<Record>& records) {
  std::vector<std::uint8_t> out;
  out.reserve(records.size() * kRecordBytes);
  for (const Record& r : records) {
    putLe16(out, r.code);
    putLe16(out, r.lat);
    putLe16(out, r.lon);
  }
  return out;
}

std::vector<Record> fromBytes(const std::vector<std::uint8_t>& bytes, std::size_t& trailingBytes) {
  const std::size_t count = bytes.size() / kRecordBytes;
  trailingBytes = bytes.size() % kRecordBytes;
  std::vector<Record> records(count);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* p = bytes.data() + i * kRecordBytes;
    records[i] = Record{getLe16(p), getLe16(p + 2), getLe16(p + 4)};
  }
  return records;
}

DecodedOutline decodeOutline(const std::vector<Record>& records) {
  DecodedOutline out;
  auto problem = [&](std::size_t index, const std::string& what) {
    out.problems.push_back("record " + std::to_string(index + 1) + ": " + what);
  };
  bool ended = false;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Record& r = records[i];
    if (r.code == kEndCode) {
      out.records = i + 1;
      ended = true;
      if (i + 1 < records.size())
        problem(i + 1, std::to_string(records.size() - i - 1) + " records after the end record");
      break;
    }
    if (r.code < 0) {
      problem(i, "negative pen code " + std::to_string(r.code));
      continue;
    }
    if (!inRange(r.lat, r.lon))
      problem(i, "position out of range: " + std::to_string(r.lat) + " " + std::to_string(r.lon));
    const MinutePoint p{r.lat, r.lon};
    if (r.code >= kStartCode) {
      out.lines.push_back(MinuteLine{p});
    } else if (out.lines.empty()) {
      problem(i, "line record before the first start record");
    } else {
      out.lines.back().push_back(p);
    }
  }
  if (!ended) {
    out.records = records.size();
    out.problems.push_back("no end record");
  }
  for (std::size_t k = 0; k < out.lines.size(); ++k)
    if (out.lines[k].size() < 2)
      out.problems.push_back("polyline " + std::to_string(k + 1) + " has a single vertex");
  return out;
}

}  // namespace mapdata
