#include "core/band.hpp"

#include <algorithm>
#include <array>

namespace orbelle::station {
namespace {

// Colours are saturated and far apart in hue so that neighbouring bands stay distinct on the
// map's land and water colours.
constexpr std::array<Band, 16> kBands{{
    {"2200m", 135.7, 137.8, rgb(96, 96, 96)},
    {"630m", 472.0, 479.0, rgb(128, 64, 0)},
    {"160m", 1800.0, 2000.0, rgb(128, 0, 0)},
    {"80m", 3500.0, 4000.0, rgb(255, 0, 0)},
    {"60m", 5060.0, 5450.0, rgb(255, 96, 96)},
    {"40m", 7000.0, 7300.0, rgb(255, 128, 0)},
    {"30m", 10100.0, 10150.0, rgb(224, 192, 0)},
    {"20m", 14000.0, 14350.0, rgb(0, 160, 0)},
    {"17m", 18068.0, 18168.0, rgb(0, 192, 160)},
    {"15m", 21000.0, 21450.0, rgb(0, 128, 255)},
    {"12m", 24890.0, 24990.0, rgb(96, 0, 255)},
    {"10m", 28000.0, 29700.0, rgb(192, 0, 192)},
    {"6m", 50000.0, 54000.0, rgb(255, 0, 128)},
    {"4m", 70000.0, 71000.0, rgb(128, 128, 0)},
    {"2m", 144000.0, 148000.0, rgb(0, 0, 128)},
    {"70cm", 420000.0, 450000.0, rgb(64, 64, 64)},
}};

}  // namespace

const Band* bandOf(double kHz) {
  for (const Band& band : kBands) {
    // Comparisons with NaN are false, so NaN finds no band.
    if (kHz >= band.lowKHz && kHz <= band.highKHz) return &band;
  }
  return nullptr;
}

const Band* bandNamed(std::string_view name) {
  for (const Band& band : kBands) {
    if (band.name.size() == name.size() &&
        std::equal(name.begin(), name.end(), band.name.begin(), [](char a, char b) {
          return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 32) : a) == b;
        })) {
      return &band;
    }
  }
  return nullptr;
}

std::int32_t bandColor(double kHz) {
  const Band* band = bandOf(kHz);
  return band ? band->color : kOutOfBandColor;
}

}  // namespace orbelle::station
