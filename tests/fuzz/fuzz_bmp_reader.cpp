// Fuzz target for the BMP reader behind the map cache and LoadImage. Any input is either refused
// with a PictureError or decoded into a surface of the size its header gives; a decoded surface
// written as BMP the way the cache is written reads back pixel for pixel.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QMessageLogContext>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "bmp_header.hpp"
#include "raster/qt/picture_file.hpp"
#include "raster/surface.hpp"

namespace {

using namespace orbelle::raster;

void check(bool ok) {
  if (!ok) std::abort();
}

bool samePixels(const Surface& a, const Surface& b) {
  if (a.width() != b.width() || a.height() != b.height()) return false;
  const std::size_t count =
      static_cast<std::size_t>(a.width()) * static_cast<std::size_t>(a.height());
  return std::equal(a.pixels(), a.pixels() + count, b.pixels());
}

}  // namespace

// Qt's decoder warns about every odd palette index; the warnings say nothing the checks do not.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(data);
  detail::BmpLayout layout;
  const std::string fault = detail::checkBmpHeader(bytes, std::min(size, detail::kBmpHeaderBytes),
                                                   size, Surface::kMaxSide, layout);
  if (fault.empty()) {
    check(layout.width >= 1 && layout.width <= Surface::kMaxSide);
    check(layout.height >= 1 && layout.height <= Surface::kMaxSide);
    check(layout.requiredBytes <= size && layout.pixelOffset < size);
  }

  const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  Surface surface(1, 1);
  try {
    surface = decodeBmp(input, QStringLiteral("fuzz.bmp"));
  } catch (const PictureError& error) {
    check(!error.fault().empty());
    return 0;
  }
  // Nothing the header check refuses may decode.
  check(fault.empty());
  check(surface.width() == layout.width && surface.height() == layout.height);

  QByteArray written;
  QBuffer buffer(&written);
  check(buffer.open(QIODevice::WriteOnly));
  check(wrapSurface(surface).save(&buffer, "BMP"));
  check(samePixels(decodeBmp(written, QStringLiteral("written.bmp")), surface));
  return 0;
}
