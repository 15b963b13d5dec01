#pragma once

// Checks the headers of a BMP file before any pixel is decoded, so that truncated and malformed
// files are refused with a reason instead of being half-read.

#include <cstddef>
#include <cstdint>
#include <string>

namespace orbelle::raster::detail {

struct BmpLayout {
  int width = 0;
  int height = 0;  // rows, always positive
  int bitsPerPixel = 0;
  std::uint64_t pixelOffset = 0;
  std::uint64_t requiredBytes = 0;  // bytes from the start of the file the pixels need
};

// Bytes enough to hold the file header and the largest info header.
inline constexpr std::size_t kBmpHeaderBytes = 14 + 124;

// Parses the headers in the first `available` bytes of a file of fileSize bytes. Returns an
// empty string and fills layout when the file is acceptable, otherwise the fault.
std::string checkBmpHeader(const unsigned char* data, std::size_t available, std::uint64_t fileSize,
                           int maxSide, BmpLayout& layout);

}  // namespace orbelle::raster::detail
