#pragma once

#include <string>
#include <string_view>

// The spot lines a DX cluster sends its users:
//
//   DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    1359Z FN20
//   DX de EA5WU-#:   7023.1  JA1ABC       CW 12 dB 25 WPM CQ             2342Z
//
// "DX de", the spotter's call ended by ":", the frequency in kHz, the spotted call, a free
// comment, the time "HHMMZ" and an optional Maidenhead locator of the spotter. Clusters pad to
// fixed columns, but a long call or frequency shifts the columns, so the line is read by words.

namespace orbelle::station {

struct DxSpot {
  std::string spotter;  // as sent, upper-cased, without ":" ("EA5WU-#", "W3LPL")
  double frequencyKHz = 0.0;
  std::string call;     // the spotted station, upper-cased
  std::string comment;  // blanks at either end removed
  std::string time;     // "HHMMZ" as sent
  std::string locator;  // the spotter's locator when the line ends with one, else ""
};

enum class LineKind {
  Spot,       // a spot line, read into `spot`
  NotASpot,   // any other cluster output (prompts, announcements, WWV, talk)
  Malformed,  // starts as a spot line but cannot be read; `fault` says why
};

struct ClusterLine {
  LineKind kind = LineKind::NotASpot;
  DxSpot spot;
  std::string fault;
};

// Highest frequency taken as a spot frequency (kHz); beyond it a spot is malformed.
inline constexpr double kMaxSpotKHz = 300'000'000.0;

// Reads one line (without or with its line end). Control characters (bells, CR) are ignored.
ClusterLine parseClusterLine(std::string_view line);

}  // namespace orbelle::station
