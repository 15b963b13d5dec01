#pragma once

// Small surfaces as text pictures for pixel-exact tests: '#' is a pixel of the ink colour, '.'
// any other.

#include <string>

#include "raster/surface.hpp"

namespace orbelle::raster::testing {

// Rows separated by '\n', top row first.
std::string picture(const Surface& surface, Rgb ink);

// Joins rows with '\n' (the literal pictures in the tests are written one row per string).
std::string rows(std::initializer_list<const char*> lines);

}  // namespace orbelle::raster::testing
