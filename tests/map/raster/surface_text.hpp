#pragma once

// Small surfaces as text pictures, top row first: '#' is the ink colour, '.' any other.

#include <initializer_list>
#include <string>

#include "raster/surface.hpp"

namespace orbelle::raster::testing {

inline std::string picture(const Surface& surface, Rgb ink) {
  std::string text;
  for (int y = 0; y < surface.height(); ++y) {
    if (y > 0) text += '\n';
    for (int x = 0; x < surface.width(); ++x) text += surface.pixel(x, y) == ink ? '#' : '.';
  }
  return text;
}

// The literal pictures of the tests, one string per row.
inline std::string rows(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += (text.empty() ? "" : "\n") + std::string(line);
  return text;
}

// A white surface with a black pen.
inline Surface blank(int width, int height) {
  Surface s(width, height, kWhite);
  s.setColor(kBlack);
  return s;
}

}  // namespace orbelle::raster::testing
