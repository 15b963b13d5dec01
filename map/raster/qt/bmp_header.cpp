#include "bmp_header.hpp"

#include <cstdlib>

namespace orbelle::raster::detail {

namespace {

std::uint32_t u16(const unsigned char* p) { return p[0] | (p[1] << 8); }
std::uint32_t u32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t s32(const unsigned char* p) { return static_cast<std::int32_t>(u32(p)); }

constexpr std::uint32_t kCoreHeader = 12;
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionBitFields = 3;

}  // namespace

std::string checkBmpHeader(const unsigned char* data, std::size_t available, std::uint64_t fileSize,
                           int maxSide, BmpLayout& layout) {
  if (available < 18 || fileSize < 18) return "too short for a BMP header";
  if (data[0] != 'B' || data[1] != 'M') return "not a BMP file (no BM signature)";
  const std::uint32_t offset = u32(data + 10);
  const std::uint32_t infoSize = u32(data + 14);
  if (infoSize != kCoreHeader && (infoSize < 40 || infoSize > 124)) {
    return "unsupported BMP info header size " + std::to_string(infoSize);
  }
  if (14 + std::uint64_t{infoSize} > available) return "truncated BMP info header";

  const unsigned char* info = data + 14;
  std::int64_t width = 0, height = 0;
  std::uint32_t planes = 0, bits = 0, compression = kCompressionNone;
  if (infoSize == kCoreHeader) {
    width = u16(info + 4);
    height = u16(info + 6);
    planes = u16(info + 8);
    bits = u16(info + 10);
  } else {
    width = s32(info + 4);
    height = s32(info + 8);
    planes = u16(info + 12);
    bits = u16(info + 14);
    compression = u32(info + 16);
  }
  if (height < 0) height = -height;  // top-down rows
  if (width < 1 || height < 1 || width > maxSide || height > maxSide) {
    return "unsupported picture size " + std::to_string(width) + " x " + std::to_string(height);
  }
  if (planes != 1) return "invalid plane count " + std::to_string(planes);
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return "unsupported bit depth " + std::to_string(bits);
  }
  if (compression != kCompressionNone &&
      !(compression == kCompressionBitFields && (bits == 16 || bits == 32))) {
    return "unsupported BMP compression " + std::to_string(compression);
  }
  if (offset < 14 + std::uint64_t{infoSize} || offset >= fileSize) {
    return "pixel data offset " + std::to_string(offset) + " outside the file";
  }
  const std::uint64_t rowBytes = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  const std::uint64_t required = offset + rowBytes * static_cast<std::uint64_t>(height);
  if (required > fileSize) {
    return "truncated pixel data (needs " + std::to_string(required) + " bytes, has " +
           std::to_string(fileSize) + ")";
  }
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);
  layout.bitsPerPixel = static_cast<int>(bits);
  layout.pixelOffset = offset;
  layout.requiredBytes = required;
  return {};
}

}  // namespace orbelle::raster::detail
