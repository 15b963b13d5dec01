#include "core/hamlib.hpp"

#include <array>
#include <cfenv>
#include <cmath>
#include <cstdio>

#include "core/text.hpp"

namespace orbelle::station::hamlib {
namespace {

// Hamlib's error codes, negated, from RIG_EINVAL (1) on.
constexpr std::array<std::string_view, 20> kErrorTexts{
    "invalid parameter",            // -1
    "invalid configuration",        // -2
    "out of memory",                // -3
    "function not implemented",     // -4
    "communication timed out",      // -5
    "input/output error",           // -6
    "internal Hamlib error",        // -7
    "protocol error",               // -8
    "command rejected by the rig",  // -9
    "argument truncated",           // -10
    "function not available",       // -11
    "VFO not targetable",           // -12
    "bus error",                    // -13
    "bus busy",                     // -14
    "invalid argument",             // -15
    "invalid VFO",                  // -16
    "argument out of domain",       // -17
    "function deprecated",          // -18
    "security error",               // -19
    "rig not powered on",           // -20
};

}  // namespace

std::string setPosition(double azimuth) {
  char text[48];
  std::snprintf(text, sizeof text, "P %.1f 0", azimuth);
  return text;
}

std::string setFrequency(std::int64_t hz) { return "F " + std::to_string(hz); }

std::string setMode(std::string_view mode) { return "M " + std::string(mode) + " 0"; }

std::string setSplit(bool on) { return on ? "S 1 VFOB" : "S 0 VFOA"; }

std::string setSplitFrequency(std::int64_t hz) { return "I " + std::to_string(hz); }

std::optional<std::int64_t> kHzToHz(double kHz) {
  if (!std::isfinite(kHz) || !(kHz > 0.0)) return std::nullopt;
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const double hz = std::nearbyint(kHz * 1000.0);
  std::fesetround(saved);
  if (hz < 1.0 || hz > static_cast<double>(kMaxHz)) return std::nullopt;
  return static_cast<std::int64_t>(hz);
}

std::optional<int> reportCode(std::string_view line) {
  const std::vector<std::string_view> list = words(line);
  if (list.size() != 2 || list[0] != "RPRT") return std::nullopt;
  long long code = 0;
  if (!parseInteger(list[1], -1'000'000, 1'000'000, code)) return std::nullopt;
  return static_cast<int>(code);
}

std::string_view errorText(int code) {
  if (code < 0 && -code <= static_cast<int>(kErrorTexts.size())) return kErrorTexts[-code - 1];
  return "error";
}

}  // namespace orbelle::station::hamlib
