#include "core/locator.hpp"

#include "core/text.hpp"

namespace orbelle::station {
namespace {

int letter(char c) { return (c >= 'a' && c <= 'z') ? c - 'a' : c - 'A'; }
bool isField(char c) { return (c >= 'A' && c <= 'R') || (c >= 'a' && c <= 'r'); }
bool isSubsquare(char c) { return (c >= 'A' && c <= 'X') || (c >= 'a' && c <= 'x'); }

}  // namespace

bool isLocatorWord(std::string_view w) {
  if (w.size() != 4 && w.size() != 6) return false;
  if (!isField(w[0]) || !isField(w[1]) || !isAsciiDigit(w[2]) || !isAsciiDigit(w[3])) return false;
  return w.size() == 4 || (isSubsquare(w[4]) && isSubsquare(w[5]));
}

std::optional<Position> locatorCentre(std::string_view w) {
  if (!isLocatorWord(w)) return std::nullopt;
  double longitude = -180.0 + letter(w[0]) * 20.0 + (w[2] - '0') * 2.0;
  double latitude = -90.0 + letter(w[1]) * 10.0 + (w[3] - '0') * 1.0;
  if (w.size() == 4) return Position{latitude + 0.5, longitude + 1.0};
  longitude += letter(w[4]) * (2.0 / 24.0) + 1.0 / 24.0;
  latitude += letter(w[5]) * (1.0 / 24.0) + 0.5 / 24.0;
  return Position{latitude, longitude};
}

}  // namespace orbelle::station
