#include "raster/qt/picture_file.hpp"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QSaveFile>
#include <algorithm>
#include <cstring>

#include "bmp_header.hpp"

namespace orbelle::raster {

namespace {

std::string describe(const QString& path, const std::string& fault) {
  return (path.isEmpty() ? std::string("picture") : path.toStdString()) + ": " + fault;
}

QImage viewOf(const Surface& surface) {
  return QImage(reinterpret_cast<const uchar*>(surface.pixels()), surface.width(), surface.height(),
                static_cast<qsizetype>(surface.stride()) * 4, QImage::Format_RGB32);
}

// Encodes into a temporary file beside path and renames it over path once it is on disk.
void writeAtomically(const QImage& image, const QString& path, const char* format) {
  if (image.isNull()) throw PictureError(path, "no picture to write");
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    throw PictureError(path, "cannot create: " + file.errorString().toStdString());
  }
  if (!image.save(&file, format)) {
    file.cancelWriting();
    throw PictureError(
        path, std::string("cannot encode as ") + format + ": " + file.errorString().toStdString());
  }
  if (!file.commit()) {
    throw PictureError(path, "cannot write: " + file.errorString().toStdString());
  }
}

}  // namespace

PictureError::PictureError(const QString& path, const std::string& fault)
    : std::runtime_error(describe(path, fault)), path_(path), fault_(fault) {}

QImage wrapSurface(Surface& surface) {
  return QImage(reinterpret_cast<uchar*>(surface.pixels()), surface.width(), surface.height(),
                static_cast<qsizetype>(surface.stride()) * 4, QImage::Format_RGB32);
}

QImage wrapSurface(const Surface& surface) { return viewOf(surface); }

Surface surfaceFromImage(const QImage& image) {
  if (image.isNull()) throw PictureError(QString(), "empty picture");
  if (image.width() > Surface::kMaxSide || image.height() > Surface::kMaxSide) {
    throw PictureError(QString(), "picture of " + std::to_string(image.width()) + " x " +
                                      std::to_string(image.height()) + " pixels is too large");
  }
  const QImage rgb =
      image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
  Surface surface(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* source = reinterpret_cast<const Pixel*>(rgb.constScanLine(y));
    Pixel* target = surface.pixels() + static_cast<std::size_t>(y) * surface.stride();
    // RGB32 leaves the top byte undefined; the surface keeps it opaque.
    std::transform(source, source + rgb.width(), target, [](Pixel p) { return p | kOpaque; });
  }
  return surface;
}

void writeBmp(const Surface& surface, const QString& path) {
  writeAtomically(viewOf(surface), path, "BMP");
}

void writeBmp(const QImage& image, const QString& path) {
  // 24-bit output whatever the source format (32-bit images would otherwise stay 32-bit).
  writeAtomically(
      image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32),
      path, "BMP");
}

void writePng(const Surface& surface, const QString& path) {
  writeAtomically(viewOf(surface), path, "PNG");
}

Surface decodeBmp(const QByteArray& bytes, const QString& path) {
  detail::BmpLayout layout;
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.constData());
  const std::size_t size = static_cast<std::size_t>(bytes.size());
  const std::string fault = detail::checkBmpHeader(data, std::min(size, detail::kBmpHeaderBytes),
                                                   size, Surface::kMaxSide, layout);
  if (!fault.empty()) throw PictureError(path, fault);
  QImage image;
  if (!image.loadFromData(bytes, "BMP")) throw PictureError(path, "undecodable BMP data");
  if (image.width() != layout.width || image.height() != layout.height) {
    throw PictureError(path, "decoded size differs from the BMP header");
  }
  try {
    return surfaceFromImage(image);
  } catch (const PictureError& e) {
    throw PictureError(path, e.fault());
  }
}

Surface readBmp(const QString& path) {
  QFile file(path);
  if (!file.exists()) throw PictureError(path, "file does not exist");
  if (!file.open(QIODevice::ReadOnly)) {
    throw PictureError(path, "cannot open: " + file.errorString().toStdString());
  }
  const std::uint64_t fileSize = static_cast<std::uint64_t>(file.size());
  const QByteArray head = file.read(detail::kBmpHeaderBytes);
  detail::BmpLayout layout;
  const std::string fault = detail::checkBmpHeader(
      reinterpret_cast<const unsigned char*>(head.constData()),
      static_cast<std::size_t>(head.size()), fileSize, Surface::kMaxSide, layout);
  if (!fault.empty()) throw PictureError(path, fault);
  // Only the bytes the header accounts for are read; trailing data is ignored.
  if (!file.seek(0)) throw PictureError(path, "cannot read: " + file.errorString().toStdString());
  const QByteArray bytes = file.read(static_cast<qint64>(layout.requiredBytes));
  if (static_cast<std::uint64_t>(bytes.size()) != layout.requiredBytes) {
    throw PictureError(path, "cannot read: " + file.errorString().toStdString());
  }
  return decodeBmp(bytes, path);
}

Surface readPicture(const QString& path) {
  QFile file(path);
  if (file.open(QIODevice::ReadOnly) && file.read(2) == "BM") return readBmp(path);
  QImageReader reader(path);
  const QImage image = reader.read();
  if (image.isNull()) throw PictureError(path, reader.errorString().toStdString());
  return surfaceFromImage(image);
}

}  // namespace orbelle::raster
