#include "core/dx_spot_line.hpp"

#include <vector>

#include "core/call_sign.hpp"
#include "core/locator.hpp"
#include "core/spot_time.hpp"
#include "core/text.hpp"

namespace orbelle::station {
namespace {

constexpr std::string_view kSpotStart = "DX de ";

// The line without control characters: clusters ring bells and end lines with CR LF.
std::string printable(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  for (char c : line) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '\t') {
      out.push_back(' ');
    } else if (u >= 0x20 && u != 0x7f) {
      out.push_back(c);
    }
  }
  return out;
}

bool isTimeWord(std::string_view w) { return minutesOfClusterTime(w).has_value(); }

ClusterLine malformed(std::string fault) {
  ClusterLine out;
  out.kind = LineKind::Malformed;
  out.fault = std::move(fault);
  return out;
}

}  // namespace

ClusterLine parseClusterLine(std::string_view raw) {
  const std::string clean = printable(raw);
  const std::string_view line = trimBlanks(clean);
  if (!startsWithNoCase(line, kSpotStart)) return {};

  // The spotter runs up to ":"; some clusters put the frequency right after it.
  const std::string_view afterDe = trimBlanks(line.substr(kSpotStart.size()));
  const std::size_t colon = afterDe.find(':');
  if (colon == std::string_view::npos) return malformed("no \":\" after the spotter");
  const std::string spotter = upperAscii(trimBlanks(afterDe.substr(0, colon)));
  if (!isSpotterWord(spotter)) return malformed("spotter is not a call sign");

  const std::string_view rest = afterDe.substr(colon + 1);
  std::vector<std::string_view> list = words(rest);
  if (list.size() < 3) return malformed("too few fields");

  double kHz = 0.0;
  if (!parseDecimal(list[0], kHz) || !(kHz > 0.0) || kHz > kMaxSpotKHz) {
    return malformed("frequency is not a number of kHz");
  }
  const std::string call = upperAscii(list[1]);
  if (!isCallSignWord(call)) return malformed("spotted station is not a call sign");

  // From the end: an optional locator, then the time.
  std::size_t last = list.size() - 1;
  std::string locator;
  if (last >= 3 && isLocatorWord(list[last]) && isTimeWord(list[last - 1])) {
    locator = std::string(list[last]);
    --last;
  }
  if (last < 2 || !isTimeWord(list[last])) return malformed("no time HHMMZ");

  ClusterLine out;
  out.kind = LineKind::Spot;
  out.spot.spotter = spotter;
  out.spot.frequencyKHz = kHz;
  out.spot.call = call;
  out.spot.time = upperAscii(list[last]);
  out.spot.locator = locator;
  // The comment keeps its own spacing: it runs from after the call to before the time.
  const char* commentBegin = list[1].data() + list[1].size();
  const char* commentEnd = list[last].data();
  out.spot.comment =
      std::string(trimBlanks(std::string_view(commentBegin, commentEnd - commentBegin)));
  return out;
}

}  // namespace orbelle::station
