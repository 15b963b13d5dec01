// A cluster's byte stream in reads of varying size, through everything a spot is turned into.

#include "core/line_buffer.hpp"
#include "core/rig_plan.hpp"
#include "core/spot_fields.hpp"
#include "core/telnet_filter.hpp"
#include "fuzz/fuzz_support.hpp"
#include "peers/cty_excerpt.hpp"

using namespace orbelle::station;
using fuzz::check;

constexpr std::int64_t kArrivalMs = 1'700'000'000'000;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const CtyDat cty = CtyDat::parse(kCtyExcerpt).table;
  TelnetFilter telnet;
  LineBuffer lines(256);
  std::string replies;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  for (std::size_t at = 0, length = 0; at < input.size(); at += 1 + length) {
    length = 1 + std::uint8_t(input[at]) % 64;  // from the byte before the read
    lines.append(telnet.feed(input.substr(at + 1, length), replies));
    check(lines.pending().size() <= 256);
    while (const auto line = lines.next()) {
      check(line->text.size() <= 256);
      const ClusterLine parsed = parseClusterLine(line->text);
      if (parsed.kind != LineKind::Spot) continue;
      check(parsed.spot.frequencyKHz > 0.0 && parsed.spot.frequencyKHz <= kMaxSpotKHz);
      check(!parsed.spot.call.empty() && parsed.spot.time.size() == 5);
      if (const auto placed = placeSpot(parsed.spot, cty, kArrivalMs)) {
        const AddSpotFields& f = placed->fields;
        check(f.SpotByLat >= -99.0 && f.LatDeg >= -90.0 && f.LatDeg <= 90.0);
        check(placed->madeAtMs <= kArrivalMs && placed->madeAtMs > kArrivalMs - 86'400'000);
        check(!planRig({f.SpotFreq, f.SpotFreqTX, f.Mode}).commands.empty());
      }
    }
  }
  // Refusals are three bytes each.
  check(replies.size() % 3 == 0);
  return 0;
}
