// Fuzz target for the BMP reader behind the map cache and LoadImage. Any input is either refused
// with a PictureError or decoded into a surface of the size its header gives; a decoded surface
// written as BMP the way the cache is written reads back pixel for pixel.
#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "bmp_header.hpp"
#include "fuzz_support.hpp"
#include "raster/qt/picture_file.hpp"
#include "raster/surface.hpp"

using namespace orbelle::raster;
using fuzz::check;

// Qt's decoder warns about every odd palette index; the warnings say nothing the checks do not.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  detail::BmpLayout layout;
  const std::string fault = detail::checkBmpHeader(reinterpret_cast<const unsigned char*>(data),
                                                   std::min(size, detail::kBmpHeaderBytes), size,
                                                   Surface::kMaxSide, layout);
  const auto side = [](int n) { return n >= 1 && n <= Surface::kMaxSide; };
  check(!fault.empty() || (side(layout.width) && side(layout.height) &&
                           layout.requiredBytes <= size && layout.pixelOffset < size));

  Surface surface(1, 1);
  try {
    surface = decodeBmp(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)),
                        QStringLiteral("fuzz.bmp"));
  } catch (const PictureError& error) {
    check(!error.fault().empty());
    return 0;
  }
  // Nothing the header check refuses may decode.
  check(fault.empty() && surface.width() == layout.width && surface.height() == layout.height);

  QByteArray written;
  QBuffer buffer(&written);
  check(buffer.open(QIODevice::WriteOnly) && wrapSurface(surface).save(&buffer, "BMP"));
  const Surface back = decodeBmp(written, QStringLiteral("written.bmp"));
  const auto count = std::size_t(surface.width()) * std::size_t(surface.height());
  check(back.width() == surface.width() && back.height() == surface.height() &&
        std::equal(back.pixels(), back.pixels() + count, surface.pixels()));
  return 0;
}
