// A cluster's byte stream, cut into reads of varying size, through the telnet filter, the line
// buffer, the spot-line parser and everything a spot is turned into.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/line_buffer.hpp"
#include "core/rig_plan.hpp"
#include "core/spot_fields.hpp"
#include "core/telnet_filter.hpp"
#include "peers/cty_excerpt.hpp"

using namespace orbelle::station;

namespace {

constexpr std::int64_t kArrivalMs = 1'700'000'000'000;

void check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const CtyDat cty = CtyDat::parse(kCtyExcerpt).table;
  TelnetFilter telnet;
  LineBuffer lines(256);
  std::string replies;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::size_t at = 0;
  while (at < input.size()) {
    // Each read's length comes from the byte before it.
    const std::size_t length = 1 + static_cast<unsigned char>(input[at]) % 64;
    const std::string_view chunk = input.substr(at + 1, length);
    at += 1 + length;
    lines.append(telnet.feed(chunk, replies));
    check(lines.pending().size() <= 256);
    while (const auto line = lines.next()) {
      check(line->text.size() <= 256);
      const ClusterLine parsed = parseClusterLine(line->text);
      if (parsed.kind != LineKind::Spot) continue;
      const DxSpot& spot = parsed.spot;
      check(spot.frequencyKHz > 0.0 && spot.frequencyKHz <= kMaxSpotKHz);
      check(!spot.call.empty() && spot.time.size() == 5);
      if (const auto placed = placeSpot(spot, cty, kArrivalMs)) {
        const AddSpotFields* fields = &placed->fields;
        check(fields->SpotByLat >= -99.0 && fields->LatDeg >= -90.0 && fields->LatDeg <= 90.0);
        check(placed->madeAtMs <= kArrivalMs && placed->madeAtMs > kArrivalMs - 86'400'000);
        const RigPlan plan = planRig({fields->SpotFreq, fields->SpotFreqTX, fields->Mode});
        check(!plan.commands.empty());
      }
    }
  }
  // Refusals are three bytes each.
  check(replies.size() % 3 == 0);
  return 0;
}
