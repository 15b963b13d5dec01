#include "raster/qt/picture_file.hpp"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace orbelle::raster {
namespace {

Surface noise(int width, int height, unsigned seed) {
  Surface s(width, height);
  std::mt19937 rng(seed);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) s.plotPixel(x, y, rng() & 0xffffff);
  }
  return s;
}

bool samePixels(const Surface& a, const Surface& b) {
  return a.width() == b.width() && a.height() == b.height() &&
         std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels());
}

QByteArray readAll(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  return file.readAll();
}

// Writes a little-endian value of bytes bytes at offset at.
void put(QByteArray& b, int at, std::uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

// A 2 × 2 24-bit BMP: file header, info header, the bottom row (blue, green) then the top row
// (red, white), each padded to 4 bytes.
QByteArray handMadeBmp() {
  return QByteArray::fromHex(
      "424d460000000000000036000000"
      "28000000020000000200000001001800000000000000000000000000000000000000000000000000"
      "ff000000ff000000"
      "0000ffffffff0000");
}

class PictureFiles : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

// Both formats keep every pixel (odd widths pad BMP rows); BMPs are always 24-bit; a hand-made
// BMP decodes bottom-up and top-down rows; a wrapped image shares the surface's pixels.
TEST_F(PictureFiles, RoundTripsHandMadeBmpsAndWrappedImages) {
  const Surface original = noise(37, 23, 1);
  writeBmp(original, path("map.bmp"));
  EXPECT_EQ(readAll(path("map.bmp")).left(2), QByteArray("BM"));
  EXPECT_EQ(readAll(path("map.bmp"))[28], 24);
  EXPECT_TRUE(samePixels(readBmp(path("map.bmp")), original));
  writePng(original, path("map.png"));
  QImage image;
  ASSERT_TRUE(image.load(path("map.png"), "PNG"));
  EXPECT_TRUE(samePixels(surfaceFromImage(image), original));
  QImage argb(5, 4, QImage::Format_ARGB32);
  argb.fill(QColor(10, 20, 30, 40));
  writeBmp(argb, path("argb.bmp"));
  EXPECT_EQ(readAll(path("argb.bmp"))[28], 24);
  EXPECT_EQ(readBmp(path("argb.bmp")).width(), 5);

  QByteArray topDown = handMadeBmp();
  put(topDown, 22, static_cast<std::uint32_t>(-2));
  topDown = topDown.left(54) + topDown.mid(62, 8) + topDown.mid(54, 8);
  for (const QByteArray& bytes : {handMadeBmp(), topDown}) {
    const Surface s = decodeBmp(bytes, "hand.bmp");
    EXPECT_EQ(std::tuple(s.pixel(0, 0), s.pixel(1, 0), s.pixel(0, 1), s.pixel(1, 1)),
              std::tuple(kRed, kWhite, rgb(0, 0, 255), rgb(0, 255, 0)));
  }

  Surface s = noise(8, 6, 3);
  QImage view = wrapSurface(s);
  EXPECT_EQ(view.format(), QImage::Format_RGB32);
  view.setPixel(2, 3, qRgb(1, 2, 3));
  EXPECT_EQ(s.pixel(2, 3), rgb(1, 2, 3));
  EXPECT_EQ(view.pixel(5, 1), 0xff000000u | toPixel(*s.pixel(5, 1)));
  const Surface& constant = s;
  EXPECT_EQ(wrapSurface(constant).constBits(), reinterpret_cast<const uchar*>(s.pixels()));
  EXPECT_TRUE(samePixels(surfaceFromImage(view.convertToFormat(QImage::Format_RGB888)), s));
}

// Malformed or truncated BMPs are refused naming the file and fault; trailing bytes are harmless.
TEST_F(PictureFiles, MalformedBmpsAreRefusedWithTheirFault) {
  const std::pair<std::function<void(QByteArray&)>, const char*> cases[] = {
      {[](QByteArray& b) { b.clear(); }, "too short"},
      {[](QByteArray& b) { b[0] = 'X'; }, "no BM signature"},
      {[](QByteArray& b) { put(b, 14, 5); }, "info header size"},
      {[](QByteArray& b) { put(b, 18, 0); }, "picture size"},
      {[](QByteArray& b) { put(b, 18, 100000); }, "picture size"},
      {[](QByteArray& b) { put(b, 22, 0x80000000u); }, "picture size"},
      {[](QByteArray& b) { put(b, 26, 2, 2); }, "plane count"},
      {[](QByteArray& b) { put(b, 28, 7, 2); }, "bit depth"},
      {[](QByteArray& b) { put(b, 30, 1); }, "compression"},
      {[](QByteArray& b) { put(b, 10, 5000); }, "offset"},  // past the end
      {[](QByteArray& b) { put(b, 10, 20); }, "offset"},    // inside the header
      {[](QByteArray& b) { b.chop(3); }, "truncated pixel data"},
      {[](QByteArray& b) { b.truncate(30); }, "truncated"}};
  for (const auto& [spoil, fault] : cases) {
    QByteArray bytes = handMadeBmp();
    spoil(bytes);
    try {
      decodeBmp(bytes, "bad.bmp");
      ADD_FAILURE() << "accepted: " << fault;
    } catch (const PictureError& e) {
      EXPECT_NE(std::string(e.what()).find("bad.bmp"), std::string::npos) << e.what();
      EXPECT_NE(e.fault().find(fault), std::string::npos) << e.what();
      EXPECT_EQ(e.path(), "bad.bmp");
    }
  }
  writeBmp(noise(9, 7, 4), path("real.bmp"));
  const QByteArray whole = readAll(path("real.bmp"));
  for (int length = 0; length < whole.size(); ++length)
    EXPECT_THROW(decodeBmp(whole.left(length), "cut.bmp"), PictureError) << "length " << length;
  EXPECT_TRUE(samePixels(decodeBmp(whole + QByteArray(100, 'x'), "long.bmp"), noise(9, 7, 4)));
}

// Refused reads and writes; a refused write keeps the old file, a write leaves no temporary.
TEST_F(PictureFiles, RefusedReadsAndWritesLeaveTheOldFile) {
  try {
    readBmp(path("nothing.bmp"));
    ADD_FAILURE() << "accepted";
  } catch (const PictureError& e) {
    EXPECT_NE(std::string(e.what()).find("nothing.bmp: file does not exist"), std::string::npos);
  }
  EXPECT_THROW(readBmp(dir_.path()), PictureError);
  EXPECT_THROW(writeBmp(noise(2, 2, 5), path("no/such/folder/x.bmp")), PictureError);
  EXPECT_THROW(surfaceFromImage(QImage()), PictureError);
  writeBmp(noise(4, 4, 6), path("MapCache.bmp"));
  const Surface second = noise(6, 3, 7);
  writeBmp(second, path("MapCache.bmp"));
  EXPECT_THROW(writeBmp(QImage(), path("MapCache.bmp")), PictureError);
  EXPECT_TRUE(samePixels(readBmp(path("MapCache.bmp")), second));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"MapCache.bmp"});
}

}  // namespace
}  // namespace orbelle::raster
