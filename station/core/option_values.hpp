#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The values of the station's options, each read from its text as a whole. A reader returns
// false, leaving its result untouched, when the text is not such a value.

namespace orbelle::station {

// WSJT-X sends to this loopback address unless told otherwise.
inline constexpr std::string_view kDefaultWsjtxHost = "127.0.0.1";
// The longest age limit and de-duplication window: spot times carry no date.
inline constexpr std::int64_t kMaxSpotWindowMs = 24 * 3'600'000;

struct Endpoint {
  std::string host;
  int port = 0;
  std::string text() const;  // "host:port", brackets around IPv6 addresses
  friend bool operator==(const Endpoint&, const Endpoint&) = default;
};

// "host", "host:port", "[::1]:port"; a host without a port gets `defaultPort`. An address with
// more than one ":" and no brackets is an IPv6 address without a port.
std::optional<Endpoint> parseEndpoint(std::string_view text, int defaultPort);

// Where to listen for datagrams: "PORT" (on kDefaultWsjtxHost), "ADDRESS:PORT", "[IPv6]:PORT";
// the address is numeric (a multicast group, a local address, 0.0.0.0 for every address).
std::optional<Endpoint> parseListenAddress(std::string_view text);

// yes/no, true/false, on/off, 1/0, without regard to case.
bool readBoolean(std::string_view text, bool& value);
// A decimal number of degrees from -limit to limit.
bool readDegrees(std::string_view text, double limit, std::optional<double>& out);
bool readWhole(std::string_view text, int min, int max, std::optional<int>& out);
// A time as minutes, or a number with "s", "m" or "h", from 0 up to kMaxSpotWindowMs.
bool readDuration(std::string_view text, std::int64_t& ms);

// A list separated by commas or blanks, each item checked and written as `check` returns it
// ("" refuses it); "" or "all" is the empty list, which takes everything.
bool readList(std::string_view text, std::vector<std::string>& out,
              const std::function<std::string(std::string_view)>& check);
// Checks for readList: a band's name as the band table has it ("20M" → "20m"), a mode of
// letters and digits upper-cased, a continent's two letters upper-cased.
std::string bandItem(std::string_view item);
std::string modeItem(std::string_view item);
std::string continentItem(std::string_view item);

// Commands separated by ";", without blanks around them; empty ones left out.
std::vector<std::string> splitCommands(std::string_view text);

}  // namespace orbelle::station
