#include "gmt_text.hpp"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace mapdata {
namespace {

int levelOf(const std::string& header) {
  const auto at = header.find("Level");
  if (at == std::string::npos) return 0;
  return std::atoi(header.c_str() + at + 5);
}

[[noreturn]] void fail(const std::string& source, long lineNo, const std::string& what) {
  throw std::runtime_error(source + ":" + std::to_string(lineNo) + ": " + what);
}

// Parses one number at p, skipping leading blanks, tabs and commas; advances p past it.
bool parseNumber(const char*& p, double& out) {
  while (*p == ' ' || *p == '\t' || *p == ',') ++p;
  char* end = nullptr;
  out = std::strtod(p, &end);
  if (end == p) return false;
  p = end;
  return true;
}

}  // namespace

std::vector<Piece> readGmtSegments(std::istream& in, const std::string& sourceName) {
  std::vector<Piece> pieces;
  std::string line;
  long lineNo = 0;
  bool open = false;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    if (line[first] == '>') {
      pieces.push_back(Piece{levelOf(line), {}});
      open = true;
      continue;
    }
    const char* p = line.c_str() + first;
    LonLat point;
    if (!parseNumber(p, point.lon) || !parseNumber(p, point.lat))
      fail(sourceName, lineNo, "expected \"lon lat\", got \"" + line + "\"");
    if (!std::isfinite(point.lon) || !std::isfinite(point.lat) || std::fabs(point.lon) > 180.0 ||
        std::fabs(point.lat) > 90.0)
      fail(sourceName, lineNo, "position out of range: \"" + line + "\"");
    if (!open) {
      pieces.push_back(Piece{});
      open = true;
    }
    pieces.back().points.push_back(point);
  }
  if (in.bad()) throw std::runtime_error(sourceName + ": read error");
  std::erase_if(pieces, [](const Piece& piece) { return piece.points.empty(); });
  return pieces;
}

}  // namespace mapdata
