// mapdata_convert: builds the map's outline files from GMT's shoreline, border and river output,
// checks outline files, and packs land/water masks. See tools/mapdata/README.md.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "convert.hpp"
#include "file_io.hpp"
#include "gmt_text.hpp"
#include "land_mask.hpp"
#include "outline_check.hpp"
#include "outline_records.hpp"
#include "river_chains.hpp"

namespace {

using namespace mapdata;

constexpr double kDefaultMaxSegmentDeg = 0.15;  // densified 0.1 degree steps, plus rounding

const char* const kUsage =
    "usage:\n"
    "  mapdata_convert shores LEVEL1.txt LEVEL2.txt LEVEL3.txt LEVEL4.txt OUTDIR\n"
    "                  [--step DEG] [--continental KM2]\n"
    "      writes OUTDIR/coast.velapnt, OUTDIR/island.pnt, OUTDIR/lake.pnt\n"
    "  mapdata_convert lines IN.txt OUT.pnt [--step DEG] [--chains LAKE.pnt]\n"
    "  mapdata_convert check [--rings] [--max-segment DEG] FILE...\n"
    "  mapdata_convert mask CELLS.raw COLUMNS ROWS CELL_ARCSEC OUT.mask\n";

struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

double number(const std::string& text) {
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || !(value > 0)) throw UsageError("not a positive number: " + text);
  return value;
}

// Splits "--name value" options off the positional arguments.
struct Args {
  std::vector<std::string> positional;
  double step = kDefaultStepDeg;
  double continental = kDefaultContinentalKm2;
  double maxSegment = kDefaultMaxSegmentDeg;
  bool rings = false;
  std::string chains;  // lake file: mark each line's river chain length in its start code
};

Args parse(int argc, char** argv) {
  Args args;
  for (int i = 2; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw UsageError(a + " needs a value");
      return argv[++i];
    };
    if (a == "--step")
      args.step = number(value());
    else if (a == "--continental")
      args.continental = number(value());
    else if (a == "--max-segment")
      args.maxSegment = number(value());
    else if (a == "--chains")
      args.chains = value();
    else if (a == "--rings")
      args.rings = true;
    else if (a.starts_with("--"))
      throw UsageError("unknown option " + a);
    else
      args.positional.push_back(a);
  }
  return args;
}

std::vector<Polyline> readPieces(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw std::runtime_error(path + ": cannot open for reading");
  std::vector<Polyline> lines;
  for (Piece& piece : readGmtSegments(in, path)) lines.push_back(std::move(piece.points));
  return lines;
}

void writeOutline(const std::string& path, const std::vector<MinuteLine>& lines,
                  const std::vector<std::int16_t>& startCodes = {}) {
  const std::vector<Record> records =
      startCodes.empty() ? encodeOutline(lines) : encodeOutline(lines, startCodes);
  writeFileAtomically(path, toBytes(records));
  std::size_t vertices = 0;
  for (const MinuteLine& line : lines) vertices += line.size();
  std::printf("%-16s %8zu polylines %9zu vertices %9zu records %10zu bytes\n",
              path.substr(path.find_last_of('/') + 1).c_str(), lines.size(), vertices,
              records.size(), records.size() * kRecordBytes);
}

int runShores(const Args& args) {
  if (args.positional.size() != 5) throw UsageError("shores needs four level files and OUTDIR");
  std::array<std::vector<Polyline>, 4> levels;
  for (std::size_t i = 0; i < 4; ++i) levels[i] = readPieces(args.positional[i]);
  const ShoreOutput out = convertShores(levels, {args.step, args.continental});
  for (std::size_t i = 0; i < 4; ++i) {
    const LevelStats& s = out.levels[i];
    std::printf(
        "level %zu: %zu pieces (%zu repeated, %zu degenerate), %zu rings, "
        "%zu below the minute grid, %zu kept\n",
        i + 1, s.pieces, s.repeatedPieces, s.degeneratePieces, s.rings, s.ringsBelowGrid,
        s.ringsKept);
  }
  const std::string dir = args.positional[4] + "/";
  writeOutline(dir + "coast.velapnt", out.coast);
  writeOutline(dir + "island.pnt", out.island);
  writeOutline(dir + "lake.pnt", out.lake);
  return 0;
}

int runLines(const Args& args) {
  if (args.positional.size() != 2) throw UsageError("lines needs IN.txt and OUT.pnt");
  const LineOutput out = convertLines(readPieces(args.positional[0]), args.step);
  std::printf("%s: %zu pieces, %zu repeated segments dropped\n", args.positional[0].c_str(),
              out.pieces, out.repeatedSegments);
  std::vector<std::int16_t> startCodes;
  if (!args.chains.empty()) {
    std::size_t trailing = 0;
    const DecodedOutline lakes = decodeOutline(fromBytes(readFileBytes(args.chains), trailing));
    if (!lakes.problems.empty()) throw std::runtime_error(args.chains + ": " + lakes.problems[0]);
    for (const double km : chainLengthsKm(out.lines, lakes.lines))
      startCodes.push_back(chainStartCode(km));
  }
  writeOutline(args.positional[1], out.lines, startCodes);
  return 0;
}

int runCheck(const Args& args) {
  if (args.positional.empty()) throw UsageError("check needs at least one file");
  int status = 0;
  for (const std::string& path : args.positional) {
    std::size_t trailing = 0;
    const auto records = fromBytes(readFileBytes(path), trailing);
    OutlineStats stats = checkOutline(decodeOutline(records), args.rings, args.maxSegment);
    if (trailing != 0)
      stats.problems.push_back(std::to_string(trailing) + " bytes after the last whole record");
    std::printf(
        "%s: %zu records, %zu polylines (%zu closed), %zu vertices, "
        "longest segment %.4f deg: %s\n",
        path.c_str(), stats.records, stats.polylines, stats.closedPolylines, stats.vertices,
        stats.longestSegmentDeg, stats.problems.empty() ? "ok" : "FAILED");
    for (std::size_t i = 0; i < stats.problems.size() && i < 20; ++i)
      std::printf("  %s\n", stats.problems[i].c_str());
    if (stats.problems.size() > 20) std::printf("  ... %zu more\n", stats.problems.size() - 20);
    if (!stats.problems.empty()) status = 1;
  }
  return status;
}

std::uint32_t count(const std::string& text) {
  const double v = number(text);
  if (v != static_cast<double>(static_cast<std::uint32_t>(v)))
    throw UsageError("not a whole number: " + text);
  return static_cast<std::uint32_t>(v);
}

int runMask(const Args& args) {
  if (args.positional.size() != 5) throw UsageError("mask needs CELLS COLUMNS ROWS CELL OUT");
  const auto cells = readFileBytes(args.positional[0]);
  writeFileAtomically(args.positional[4],
                      encodeMask(cells, count(args.positional[1]), count(args.positional[2]),
                                 count(args.positional[3])));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  try {
    const Args args = parse(argc, argv);
    if (command == "shores") return runShores(args);
    if (command == "lines") return runLines(args);
    if (command == "check") return runCheck(args);
    if (command == "mask") return runMask(args);
    throw UsageError("unknown command " + command);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "mapdata_convert: %s\n%s", e.what(), kUsage);
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mapdata_convert: %s\n", e.what());
    return 1;
  }
}
