#include "core/wsjtx_spots.hpp"

#include <cstdio>
#include <vector>

#include "core/band.hpp"
#include "core/call_sign.hpp"
#include "core/locator.hpp"
#include "core/spot_time.hpp"
#include "core/text.hpp"

namespace orbelle::station {
namespace {

// A call as decodes show it: plain, or in "<>" when it was sent as a hash; "<...>" is a hash
// that was not resolved and names nobody.
std::optional<std::string> callOf(std::string_view word) {
  if (word.size() > 2 && word.front() == '<' && word.back() == '>') {
    word = word.substr(1, word.size() - 2);
  }
  if (!isCallSignWord(word)) return std::nullopt;
  return std::string(word);
}

// A locator word; "RR73" has a locator's shape but is a sign-off.
std::string locatorOf(const std::vector<std::string_view>& w, std::size_t i) {
  if (i < w.size() && w[i] == "R") ++i;
  if (i < w.size() && w[i].size() == 4 && isLocatorWord(w[i]) && w[i] != "RR73") {
    return std::string(w[i]);
  }
  return {};
}

std::string clockText(std::int64_t ms) {
  const std::int64_t minutes = (ms % kMsPerDay + kMsPerDay) % kMsPerDay / kMsPerMinute;
  char text[8];
  std::snprintf(text, sizeof text, "%02d%02dZ", static_cast<int>(minutes / 60),
                static_cast<int>(minutes % 60));
  return text;
}

}  // namespace

std::optional<DecodeText> readDecodeText(std::string_view text) {
  const std::string upper = upperAscii(text);
  std::vector<std::string_view> w = words(upper);
  if (!w.empty() && w.front() == "TU;") w.erase(w.begin());
  if (w.size() < 2) return std::nullopt;
  if (w[0] == "CQ" || w[0] == "QRZ" || w[0] == "DE") {
    // "CQ DX", "CQ POTA", "CQ 290": one word that is not a call may name whom the call is for.
    for (std::size_t i = 1; i < w.size() && i <= 2; ++i) {
      if (const auto call = callOf(w[i])) return DecodeText{*call, locatorOf(w, i + 1)};
    }
    return std::nullopt;
  }
  if (!callOf(w[0]) && w[0] != "<...>") return std::nullopt;
  const auto call = callOf(w[1]);
  if (!call) return std::nullopt;
  return DecodeText{*call, locatorOf(w, 2)};
}

WsjtxSpots::Result WsjtxSpots::take(const wsjtx::Message& message, std::int64_t arrivalMs) {
  if (const auto* status = std::get_if<wsjtx::Status>(&message.body)) {
    if (status_.size() >= kMaxSenders && !status_.count(message.id)) status_.erase(status_.begin());
    status_[message.id] = *status;
    return {};
  }
  if (const auto* decode = std::get_if<wsjtx::Decode>(&message.body)) {
    return spotOf(message.id, *decode, arrivalMs);
  }
  return {};
}

WsjtxSpots::Result WsjtxSpots::spotOf(const std::string& id, const wsjtx::Decode& decode,
                                      std::int64_t arrivalMs) const {
  const auto status = status_.find(id);
  if (status == status_.end()) return {std::nullopt, "no Status from it yet: dial unknown"};
  if (decode.lowConfidence) return {std::nullopt, "low-confidence decode"};
  if (decode.offAir) return {std::nullopt, "decoded from a recording"};
  const std::optional<DecodeText> sender = readDecodeText(decode.text);
  if (!sender) return {std::nullopt, "the text names no station"};
  const std::optional<CtyLocation> dx = cty_.locate(sender->call);
  const std::optional<Position> square = locatorCentre(sender->locator);
  if (!square && !dx) return {std::nullopt, sender->call + " cannot be placed"};

  const wsjtx::Status& s = status->second;
  PlacedSpot placed;
  AddSpotFields& f = placed.fields;
  f.LatDeg = square ? square->latitude : dx->latitude;
  f.LonDeg = square ? square->longitude : dx->longitude;
  f.SpotFreq = static_cast<double>(s.dialHz) / 1000.0;
  f.Color = bandColor(f.SpotFreq);
  f.Mode = !s.mode.empty() ? s.mode : wsjtx::decodeModeName(decode.mode);
  f.SpotCall = sender->call;
  placed.madeAtMs = decode.msOfDay ? spotMadeAt(arrivalMs, *decode.msOfDay, 1) : arrivalMs;
  f.SpotTime = clockText(placed.madeAtMs);
  f.SpotBy = upperAscii(!s.deCall.empty() ? s.deCall : !spotter_.call.empty() ? spotter_.call : id);
  f.SpotComment = std::to_string(decode.snr) + " dB " + std::to_string(decode.deltaHz) +
                  " Hz: " + std::string(trimBlanks(decode.text));
  f.SpotLoc = dx ? dx->entity->name : sender->locator;
  placed.dxContinent = dx ? dx->continent : std::string();

  const std::optional<CtyLocation> by = cty_.locate(f.SpotBy);
  const std::optional<Position> deSquare = locatorCentre(s.deGrid);
  if (spotter_.latitude && spotter_.longitude) {
    f.SpotByLat = *spotter_.latitude;
    f.SpotByLon = *spotter_.longitude;
  } else if (deSquare) {
    f.SpotByLat = deSquare->latitude;
    f.SpotByLon = deSquare->longitude;
  } else if (by) {
    f.SpotByLat = by->latitude;
    f.SpotByLon = by->longitude;
  }
  f.SpotByLoc = by ? by->entity->name : s.deGrid;
  placed.spotterContinent = by ? by->continent : std::string();
  return {std::move(placed), {}};
}

}  // namespace orbelle::station
