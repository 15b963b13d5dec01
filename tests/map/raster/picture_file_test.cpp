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

void expectSamePixels(const Surface& a, const Surface& b) {
  ASSERT_EQ(std::pair(a.width(), a.height()), std::pair(b.width(), b.height()));
  EXPECT_TRUE(std::equal(a.pixels(), a.pixels() + a.width() * a.height(), b.pixels()));
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

// A 2 × 2 24-bit BMP: top row red, white; bottom row blue, green.
QByteArray handMadeBmp(bool topDown = false) {
  QByteArray b(14 + 40 + 16, '\0');
  b[0] = 'B';
  b[1] = 'M';
  put(b, 2, static_cast<std::uint32_t>(b.size()));
  put(b, 10, 54);
  put(b, 14, 40);
  put(b, 18, 2);
  put(b, 22, topDown ? static_cast<std::uint32_t>(-2) : 2u);
  put(b, 26, 1, 2);
  put(b, 28, 24, 2);
  const unsigned char bottom[8] = {255, 0, 0, 0, 255, 0, 0, 0};
  const unsigned char top[8] = {0, 0, 255, 255, 255, 255, 0, 0};
  for (int i = 0; i < 8; ++i) {
    b[54 + i] = static_cast<char>(topDown ? top[i] : bottom[i]);
    b[62 + i] = static_cast<char>(topDown ? bottom[i] : top[i]);
  }
  return b;
}

class PictureFiles : public ::testing::Test {
 protected:
  QString path(const char* name) const { return dir_.filePath(name); }
  QTemporaryDir dir_;
};

// Both formats keep every pixel (odd widths pad BMP rows); BMPs are always 24-bit.
TEST_F(PictureFiles, RoundTripsKeepEveryPixelAndBmpsAre24Bit) {
  const Surface original = noise(37, 23, 1);
  writeBmp(original, path("map.bmp"));
  const QByteArray bytes = readAll(path("map.bmp"));
  ASSERT_GE(bytes.size(), 30);
  EXPECT_EQ(bytes.left(2), QByteArray("BM"));
  EXPECT_EQ(static_cast<unsigned char>(bytes[28]), 24);
  expectSamePixels(readBmp(path("map.bmp")), original);
  writePng(original, path("map.png"));
  QImage image;
  ASSERT_TRUE(image.load(path("map.png"), "PNG"));
  expectSamePixels(surfaceFromImage(image), original);

  QImage argb(5, 4, QImage::Format_ARGB32);
  argb.fill(QColor(10, 20, 30, 40));
  writeBmp(argb, path("argb.bmp"));
  EXPECT_EQ(static_cast<unsigned char>(readAll(path("argb.bmp"))[28]), 24);
  EXPECT_EQ(readBmp(path("argb.bmp")).width(), 5);
}

TEST_F(PictureFiles, HandMadeBmpDecodesBottomUpAndTopDownRows) {
  for (const bool topDown : {false, true}) {
    const Surface s = decodeBmp(handMadeBmp(topDown), "hand.bmp");
    EXPECT_EQ(std::tuple(s.pixel(0, 0), s.pixel(1, 0), s.pixel(0, 1), s.pixel(1, 1)),
              std::tuple(kRed, kWhite, rgb(0, 0, 255), rgb(0, 255, 0)));
  }
}

TEST_F(PictureFiles, WrappedImageSharesTheSurfacePixels) {
  Surface s = noise(8, 6, 3);
  QImage view = wrapSurface(s);
  EXPECT_EQ(view.constBits(), reinterpret_cast<const uchar*>(s.pixels()));
  EXPECT_EQ(view.format(), QImage::Format_RGB32);
  view.setPixel(2, 3, qRgb(1, 2, 3));
  EXPECT_EQ(s.pixel(2, 3), rgb(1, 2, 3));
  EXPECT_EQ(view.pixel(5, 1), 0xff000000u | toPixel(*s.pixel(5, 1)));

  const Surface& constant = s;
  EXPECT_EQ(wrapSurface(constant).constBits(), reinterpret_cast<const uchar*>(s.pixels()));
  expectSamePixels(surfaceFromImage(view.convertToFormat(QImage::Format_RGB888)), s);
}

// Malformed or truncated BMPs are refused naming the file and fault; trailing bytes are harmless.
TEST_F(PictureFiles, MalformedBmpsAreRefusedWithTheirFault) {
  struct Case {
    const char* name;
    std::function<void(QByteArray&)> spoil;
    const char* fault;
  };
  const Case cases[] = {
      {"empty", [](QByteArray& b) { b.clear(); }, "too short"},
      {"signature", [](QByteArray& b) { b[0] = 'X'; }, "no BM signature"},
      {"info size", [](QByteArray& b) { put(b, 14, 5); }, "info header size"},
      {"zero width", [](QByteArray& b) { put(b, 18, 0); }, "picture size"},
      {"huge width", [](QByteArray& b) { put(b, 18, 100000); }, "picture size"},
      {"huge height", [](QByteArray& b) { put(b, 22, 0x80000000u); }, "picture size"},
      {"planes", [](QByteArray& b) { put(b, 26, 2, 2); }, "plane count"},
      {"bit depth", [](QByteArray& b) { put(b, 28, 7, 2); }, "bit depth"},
      {"compression", [](QByteArray& b) { put(b, 30, 1); }, "compression"},
      {"offset past end", [](QByteArray& b) { put(b, 10, 5000); }, "offset"},
      {"offset inside header", [](QByteArray& b) { put(b, 10, 20); }, "offset"},
      {"rows missing", [](QByteArray& b) { b.chop(3); }, "truncated pixel data"},
      {"claims more rows", [](QByteArray& b) { put(b, 22, 300); }, "truncated pixel data"},
      {"header cut", [](QByteArray& b) { b.truncate(30); }, "truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray bytes = handMadeBmp();
    c.spoil(bytes);
    try {
      decodeBmp(bytes, "bad.bmp");
      ADD_FAILURE() << "accepted";
    } catch (const PictureError& e) {
      EXPECT_NE(std::string(e.what()).find("bad.bmp"), std::string::npos) << e.what();
      EXPECT_NE(e.fault().find(c.fault), std::string::npos) << e.what();
      EXPECT_EQ(e.path(), "bad.bmp");
    }
  }
  writeBmp(noise(9, 7, 4), path("real.bmp"));
  const QByteArray whole = readAll(path("real.bmp"));
  for (int length = 0; length < whole.size(); ++length)
    EXPECT_THROW(decodeBmp(whole.left(length), "cut.bmp"), PictureError) << "length " << length;
  expectSamePixels(decodeBmp(whole + QByteArray(100, 'x'), "long.bmp"), noise(9, 7, 4));
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
  expectSamePixels(readBmp(path("MapCache.bmp")), second);
  EXPECT_THROW(writeBmp(QImage(), path("MapCache.bmp")), PictureError);
  expectSamePixels(readBmp(path("MapCache.bmp")), second);
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{"MapCache.bmp"});
}

}  // namespace
}  // namespace orbelle::raster
