// WSJT-X datagrams of any content: read or refused with a reason; decodes become spots or not.

#include <cmath>

#include "core/band.hpp"
#include "core/call_sign.hpp"
#include "core/wsjtx_spots.hpp"
#include "fuzz/fuzz_support.hpp"
#include "peers/cty_excerpt.hpp"

using namespace orbelle::station;
using fuzz::check;

constexpr std::int64_t kArrivalMs = 1'700'000'000'000;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const CtyDat cty = CtyDat::parse(kCtyExcerpt).table;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const wsjtx::ParseResult parsed = wsjtx::parseDatagram(input);
  check(parsed.message.has_value() == parsed.error.empty());
  if (const auto text = readDecodeText(input)) check(isCallSignWord(text->call));
  if (!parsed.message) return 0;

  WsjtxSpots spots(cty, {std::nullopt, std::nullopt, "DL1ABC"});
  wsjtx::Message status{3, wsjtx::kStatus, parsed.message->id, wsjtx::Status{}};
  std::get<wsjtx::Status>(status.body).dialHz = 14'074'000;
  spots.take(status, kArrivalMs);
  const WsjtxSpots::Result result = spots.take(*parsed.message, kArrivalMs);
  if (!result.spot) return 0;
  check(result.skipped.empty());
  const AddSpotFields& f = result.spot->fields;
  check(std::abs(f.LatDeg) <= 90.0 && std::abs(f.LonDeg) <= 180.0 && isCallSignWord(f.SpotCall));
  check(f.Color == bandColor(14074.0) && f.SpotTime.size() == 5);
  check(result.spot->madeAtMs <= kArrivalMs && result.spot->madeAtMs > kArrivalMs - 86'400'000);
  return 0;
}
