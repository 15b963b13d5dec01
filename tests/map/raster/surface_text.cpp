#include "surface_text.hpp"

namespace orbelle::raster::testing {

std::string picture(const Surface& surface, Rgb ink) {
  std::string text;
  for (int y = 0; y < surface.height(); ++y) {
    if (y > 0) text += '\n';
    for (int x = 0; x < surface.width(); ++x) text += surface.pixel(x, y) == ink ? '#' : '.';
  }
  return text;
}

std::string rows(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) {
    if (!text.empty()) text += '\n';
    text += line;
  }
  return text;
}

}  // namespace orbelle::raster::testing
