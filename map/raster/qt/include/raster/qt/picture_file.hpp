#pragma once

// Picture files for surfaces, through QtGui's QImage (no display needed; link map_raster_qt).
// Written files go to a temporary file in the same folder, are flushed to disk and then renamed
// over the old file, so a failure never leaves a half-written picture.

#include <QImage>
#include <QString>
#include <stdexcept>
#include <string>

#include "raster/surface.hpp"

namespace orbelle::raster {

// A picture file that cannot be read or written. what() names the file and the fault, for
// example "MapCache.bmp: truncated pixel data (needs 1080054 bytes, has 5000)".
class PictureError : public std::runtime_error {
 public:
  PictureError(const QString& path, const std::string& fault);
  const QString& path() const noexcept { return path_; }
  const std::string& fault() const noexcept { return fault_; }

 private:
  QString path_;
  std::string fault_;
};

// The surface's pixels as a QImage of format RGB32 sharing the surface's buffer (no copy). The
// image is valid while the surface lives and is not resized; writing through it changes the
// surface.
QImage wrapSurface(Surface& surface);
QImage wrapSurface(const Surface& surface);  // read-only view

// A surface holding a copy of the image's pixels (converted to RGB32 first if the format
// differs; alpha is dropped). Throws PictureError (path empty) for a null image or one larger
// than Surface::kMaxSide on a side.
Surface surfaceFromImage(const QImage& image);

// Writes the surface (or an image) as an uncompressed 24-bit BMP. Throws PictureError.
void writeBmp(const Surface& surface, const QString& path);
void writeBmp(const QImage& image, const QString& path);

// Writes the surface as PNG. Throws PictureError.
void writePng(const Surface& surface, const QString& path);

// Reads a BMP file into a new surface. The header is checked first (signature, header sizes,
// dimensions, bit depth, compression, pixel data offset and length against the file size), so
// truncated and malformed files are refused with a PictureError naming the fault.
Surface readBmp(const QString& path);

// The same checks and decoding for a BMP already in memory; path only names it in errors.
Surface decodeBmp(const QByteArray& bytes, const QString& path);

// Any picture file Qt reads (BMP through readBmp and its checks, others through QImageReader)
// into a new surface. Throws PictureError.
Surface readPicture(const QString& path);

}  // namespace orbelle::raster
