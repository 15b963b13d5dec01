#include "core/option_values.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>

#include "core/band.hpp"
#include "core/spot_filter.hpp"
#include "core/text.hpp"

namespace orbelle::station {

bool readBoolean(std::string_view text, bool& value) {
  const std::string word = upperAscii(trimBlanks(text));
  if (word == "YES" || word == "TRUE" || word == "ON" || word == "1") {
    value = true;
    return true;
  }
  if (word == "NO" || word == "FALSE" || word == "OFF" || word == "0") {
    value = false;
    return true;
  }
  return false;
}

bool readDegrees(std::string_view text, double limit, std::optional<double>& out) {
  double value = 0.0;
  if (!parseDecimal(trimBlanks(text), value) || value < -limit || value > limit) return false;
  out = value;
  return true;
}

bool readWhole(std::string_view text, int min, int max, std::optional<int>& out) {
  long long value = 0;
  if (!parseInteger(trimBlanks(text), min, max, value)) return false;
  out = static_cast<int>(value);
  return true;
}

bool readDuration(std::string_view text, std::int64_t& ms) {
  std::string_view number = trimBlanks(text);
  std::int64_t unit = 60'000;
  if (!number.empty() && isAsciiAlpha(number.back())) {
    const char suffix = static_cast<char>(number.back() | 0x20);
    unit = suffix == 's' ? 1000 : suffix == 'm' ? 60'000 : suffix == 'h' ? 3'600'000 : 0;
    number.remove_suffix(1);
  }
  double value = 0.0;
  if (unit == 0 || !parseDecimal(trimBlanks(number), value) || value < 0.0 ||
      value * static_cast<double>(unit) > static_cast<double>(kMaxSpotWindowMs)) {
    return false;
  }
  ms = static_cast<std::int64_t>(value * static_cast<double>(unit) + 0.5);
  return true;
}

bool readList(std::string_view text, std::vector<std::string>& out,
              const std::function<std::string(std::string_view)>& check) {
  std::string spaced(text);
  std::replace(spaced.begin(), spaced.end(), ',', ' ');
  std::vector<std::string> items;
  const std::vector<std::string_view> list = words(spaced);
  if (!(list.size() == 1 && upperAscii(list[0]) == "ALL")) {
    for (std::string_view item : list) {
      std::string value = check(item);
      if (value.empty()) return false;
      items.push_back(std::move(value));
    }
  }
  out = std::move(items);
  return true;
}

std::string bandItem(std::string_view item) {
  const Band* band = bandNamed(item);
  return band ? std::string(band->name) : std::string();
}

std::string modeItem(std::string_view item) {
  const bool word = std::all_of(item.begin(), item.end(), isAsciiAlnum);
  return word ? upperAscii(item) : std::string();
}

std::string continentItem(std::string_view item) {
  const std::string upper = upperAscii(item);
  return std::find(kContinents.begin(), kContinents.end(), upper) != kContinents.end()
             ? upper
             : std::string();
}

std::vector<std::string> splitCommands(std::string_view text) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t end = text.find(';', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view command = trimBlanks(text.substr(start, end - start));
    if (!command.empty()) out.emplace_back(command);
    start = end + 1;
  }
  return out;
}

std::string Endpoint::text() const {
  const bool v6 = host.find(':') != std::string::npos;
  return (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

std::optional<Endpoint> parseEndpoint(std::string_view text, int defaultPort) {
  std::string_view host = text;
  std::string_view port;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    host = text.substr(1, close - 1);
    const std::string_view after = text.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return std::nullopt;
      port = after.substr(1);
      if (port.empty()) return std::nullopt;
    }
  } else if (std::count(text.begin(), text.end(), ':') == 1) {
    const std::size_t colon = text.find(':');
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    if (port.empty()) return std::nullopt;
  }
  if (host.empty() || std::any_of(host.begin(), host.end(), isBlank)) return std::nullopt;
  long long number = defaultPort;
  if (!port.empty() && (!isAsciiDigit(port.front()) || !parseInteger(port, 1, 65535, number))) {
    return std::nullopt;
  }
  return Endpoint{std::string(host), static_cast<int>(number)};
}

std::optional<Endpoint> parseListenAddress(std::string_view text) {
  if (!text.empty() && std::all_of(text.begin(), text.end(), isAsciiDigit)) {
    long long port = 0;
    if (!parseInteger(text, 1, 65535, port)) return std::nullopt;
    return Endpoint{std::string(kDefaultWsjtxHost), static_cast<int>(port)};
  }
  std::optional<Endpoint> endpoint = parseEndpoint(text, 0);
  if (!endpoint || endpoint->port == 0) return std::nullopt;
  unsigned char address[sizeof(in6_addr)];
  const int family = endpoint->host.find(':') != std::string::npos ? AF_INET6 : AF_INET;
  if (::inet_pton(family, endpoint->host.c_str(), address) != 1) return std::nullopt;
  return endpoint;
}

}  // namespace orbelle::station
