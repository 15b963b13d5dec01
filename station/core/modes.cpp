#include "core/modes.hpp"

#include <algorithm>
#include <array>
#include <cctype>

#include "core/band.hpp"
#include "core/text.hpp"

namespace orbelle::station {
namespace {

// Words that name a mode as they are; digital families with a rate or variant suffix
// (PSK31, OLIVIA8-250 → "OLIVIA8") are matched by their stem below.
constexpr std::array<std::string_view, 9> kVoiceAndKeyedModes{"CW", "SSB",  "USB",  "LSB", "FM",
                                                              "AM", "RTTY", "SSTV", "DV"};

// "DATA" is left out: as a comment word it means too many other things.
constexpr std::array<std::string_view, 21> kDigitalModes{
    "FT8", "FT4",    "JT65", "JT9",    "JT4",  "JS8",  "Q65",  "MSK144", "WSPR",  "FST4",  "FST4W",
    "ROS", "FSK441", "PKT",  "PACKET", "DIGI", "HELL", "THOR", "VARA",   "ARDOP", "PACTOR"};

// Families whose names carry a suffix: PSK31, BPSK63, QPSK125, MFSK16, OLIVIA, CONTESTIA, DOMINO.
constexpr std::array<std::string_view, 7> kDigitalStems{"PSK",       "BPSK",   "QPSK",  "MFSK",
                                                        "CONTESTIA", "OLIVIA", "DOMINO"};

bool isDigitalStemWord(std::string_view word) {
  for (std::string_view stem : kDigitalStems) {
    if (word.substr(0, stem.size()) != stem) continue;
    const std::string_view rest = word.substr(stem.size());
    // The stem alone, or followed by a number (PSK31, MFSK16).
    if (std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; })) {
      return true;
    }
  }
  return false;
}

bool isModeWord(std::string_view word) {
  return std::find(kVoiceAndKeyedModes.begin(), kVoiceAndKeyedModes.end(), word) !=
             kVoiceAndKeyedModes.end() ||
         isDigitalMode(word);
}

// FT8 and FT4 dial frequencies (kHz); their signals sit up to 3 kHz above the dial.
constexpr std::array<double, 12> kFt8Dials{1840,  3573,  5357,  7074,  10136, 14074,
                                           18100, 21074, 24915, 28074, 50313, 144174};
constexpr std::array<double, 10> kFt4Dials{3575.5, 7047.5, 10140, 14080, 18104,
                                           21140,  24919,  28180, 50318, 144170};
constexpr double kDigitalWindowKHz = 3.0;

bool nearDial(double kHz, const auto& dials) {
  return std::any_of(dials.begin(), dials.end(),
                     [kHz](double dial) { return kHz >= dial && kHz <= dial + kDigitalWindowKHz; });
}

// A band's segments: frequencies below `below` use `mode`; the last segment of a band has
// `below` at or above the band's top.
struct Segment {
  double below;
  std::string_view mode;
};
struct BandPlan {
  std::string_view band;
  std::array<Segment, 4> segments;
  std::size_t count;
};

constexpr std::array<BandPlan, 15> kPlans{{
    {"2200m", {{{1e9, "CW"}}}, 1},
    {"630m", {{{1e9, "CW"}}}, 1},
    {"160m", {{{1840, "CW"}, {1e9, "SSB"}}}, 2},
    {"80m", {{{3600, "CW"}, {1e9, "SSB"}}}, 2},
    {"60m", {{{1e9, "SSB"}}}, 1},
    {"40m", {{{7050, "CW"}, {1e9, "SSB"}}}, 2},
    {"30m", {{{1e9, "CW"}}}, 1},
    {"20m", {{{14100, "CW"}, {1e9, "SSB"}}}, 2},
    {"17m", {{{18110, "CW"}, {1e9, "SSB"}}}, 2},
    {"15m", {{{21150, "CW"}, {1e9, "SSB"}}}, 2},
    {"12m", {{{24930, "CW"}, {1e9, "SSB"}}}, 2},
    {"10m", {{{28300, "CW"}, {29000, "SSB"}, {29200, "AM"}, {1e9, "FM"}}}, 4},
    {"6m", {{{50100, "CW"}, {51000, "SSB"}, {1e9, "FM"}}}, 3},
    {"2m", {{{144150, "CW"}, {144500, "SSB"}, {1e9, "FM"}}}, 3},
    {"70cm", {{{432100, "CW"}, {432500, "SSB"}, {1e9, "FM"}}}, 3},
}};

// Bands whose plan is not listed (4 m) are SSB throughout.
constexpr std::string_view kUnplannedBandMode = "SSB";

// Below this frequency SSB uses the lower sideband by convention (60 m excepted).
constexpr double kUpperSidebandFromKHz = 10000.0;

}  // namespace

bool isDigitalMode(std::string_view mode) {
  const std::string word = upperAscii(mode);
  return std::find(kDigitalModes.begin(), kDigitalModes.end(), word) != kDigitalModes.end() ||
         isDigitalStemWord(word);
}

std::string modeInComment(std::string_view comment) {
  std::size_t i = 0;
  while (i < comment.size()) {
    while (i < comment.size() && !isAsciiAlnum(comment[i])) ++i;
    const std::size_t start = i;
    while (i < comment.size() && isAsciiAlnum(comment[i])) ++i;
    if (i == start) break;
    const std::string word = upperAscii(comment.substr(start, i - start));
    if (isModeWord(word)) return word;
  }
  return {};
}

std::string modeByBandPlan(double kHz) {
  const Band* band = bandOf(kHz);
  if (!band) return {};
  if (nearDial(kHz, kFt8Dials)) return "FT8";
  if (nearDial(kHz, kFt4Dials)) return "FT4";
  for (const BandPlan& plan : kPlans) {
    if (plan.band != band->name) continue;
    for (std::size_t s = 0; s < plan.count; ++s) {
      if (kHz < plan.segments[s].below) return std::string(plan.segments[s].mode);
    }
  }
  return std::string(kUnplannedBandMode);
}

std::string spotMode(double kHz, std::string_view comment) {
  std::string mode = modeInComment(comment);
  return mode.empty() ? modeByBandPlan(kHz) : mode;
}

std::optional<std::string> hamlibMode(std::string_view mode, double kHz) {
  const std::string word = upperAscii(trimBlanks(mode));
  if (word == "CW" || word == "USB" || word == "LSB" || word == "FM" || word == "AM" ||
      word == "RTTY") {
    return word;
  }
  if (word == "SSB" || word == "SSTV") {
    const Band* band = bandOf(kHz);
    const bool upper = kHz >= kUpperSidebandFromKHz || (band && band->name == "60m");
    return std::string(upper ? "USB" : "LSB");
  }
  if (isDigitalMode(word)) return std::string("PKTUSB");
  return std::nullopt;
}

}  // namespace orbelle::station
