#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/cty_dat.hpp"
#include "core/spot_fields.hpp"
#include "core/wsjtx_message.hpp"

// WSJT-X decodes as spots. Each sender's Status gives the dial frequency and the mode of its
// decodes; a Decode names the transmitting station in its text. The spot is placed at the
// locator the text carries, else by the call's cty.dat entry; its frequency is the dial
// frequency (a click on it tunes the rig where WSJT-X listens), its comment the report, the
// audio offset and the text. The spotter is this station: at the configured position, else at
// the sender's own locator, else by the sender's call.

namespace orbelle::station {

struct DecodeText {
  std::string call;     // the transmitting station, upper-cased, without "<>"
  std::string locator;  // its locator when the message carries one, else ""
};

// The station that sends `text` and its locator: "CQ [DX] K1ABC FN42", "W9XYZ K1ABC [R] EN37",
// "W9XYZ K1ABC -12", "TU; W9XYZ K1ABC 599 NJ". nullopt for text that names no sender (free text,
// a hashed call "<...>").
std::optional<DecodeText> readDecodeText(std::string_view text);

// This station, as the spotter of its own decodes.
struct Spotter {
  std::optional<double> latitude;
  std::optional<double> longitude;
  std::string call;  // used when the sender gives no call of its own
};

class WsjtxSpots {
 public:
  // Senders whose Status is kept; a new one beyond them replaces the first by id.
  static constexpr std::size_t kMaxSenders = 16;

  WsjtxSpots(const CtyDat& cty, Spotter spotter) : cty_(cty), spotter_(std::move(spotter)) {}

  struct Result {
    std::optional<PlacedSpot> spot;
    std::string skipped;  // for a Decode that gives no spot: why
  };
  // Takes one message received at `arrivalMs`: a Status is kept, a Decode gives a spot or the
  // reason why not; other messages give neither.
  Result take(const wsjtx::Message& message, std::int64_t arrivalMs);

 private:
  Result spotOf(const std::string& id, const wsjtx::Decode& decode, std::int64_t arrivalMs) const;

  const CtyDat& cty_;
  Spotter spotter_;
  std::map<std::string, wsjtx::Status> status_;
};

}  // namespace orbelle::station
