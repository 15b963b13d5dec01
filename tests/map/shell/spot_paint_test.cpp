#include <QImage>

#include "layer_fixture.hpp"
#include "spot_marker.hpp"

namespace orbelle::shell::test {
namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kLine = 0xffe0e0e0;
constexpr QRgb kRed = 0xffff0000;     // spot colour 255
constexpr QRgb kSilver = 0xffc0c0c0;  // spotter colour 12632256

// Markers are 7 × 7 squares centred on their point: the host's colour inside a 1-pixel outline
// of black or white, whichever contrasts more (black for red and silver, white for navy).
TEST_F(SpotLayerTest, MarkersAreOutlinedSevenPixelSquaresCentredOnTheirPoint) {
  addSpot(1, 0.0, 10.0, 0.0, 0.0);  // spot at image pixel (369, 300), spotter at (300, 300)
  model->AddSpot({0.0, -10.0, 0x800000, 1.0, "", "", "", "", "", "", -99.0, 0.0, 0.0, "", 0.0});
  processEvents();
  const QImage image = grab();
  constexpr QRgb kBlack = 0xff000000;
  constexpr QRgb kNavy = 0xff000080;  // 0x800000 as the host packs it: blue 128
  const struct {
    int x, y;  // centre, surface coordinates (image pixels + 2)
    QRgb fill, outline;
  } markers[] = {{371, 302, kRed, kBlack}, {302, 302, kSilver, kBlack}, {233, 302, kNavy, kWhite}};
  for (const auto& m : markers) {
    for (int d = -3; d <= 3; ++d) {
      EXPECT_EQ(image.pixel(m.x + d, m.y - 3), m.outline) << d;
      EXPECT_EQ(image.pixel(m.x - 3, m.y + d), m.outline) << d;
      if (d > -3 && d < 3) {
        EXPECT_EQ(image.pixel(m.x + d, m.y + 2), m.fill) << d;
        EXPECT_EQ(image.pixel(m.x + 2, m.y + d), m.fill) << d;
      }
    }
  }
  EXPECT_EQ(image.pixel(371, 302 - 4), kWhite);
  EXPECT_EQ(image.pixel(371, 302 + 4), kWhite);
}

TEST_F(SpotLayerTest, ConnectingLinesLieAboveThePictureAndBeneathTheMarkers) {
  addSpot(1, 0.0, 10.0, 0.0, 0.0);
  processEvents();
  QImage image = grab();
  // Between the markers the line shows in its own colour, one pixel wide.
  for (int x = 306; x <= 367; ++x) EXPECT_EQ(image.pixel(x, 302), kLine) << x;
  EXPECT_EQ(image.pixel(330, 301), kWhite);
  EXPECT_EQ(image.pixel(330, 303), kWhite);
  // Under the markers, the markers.
  EXPECT_EQ(image.pixel(371, 302), kRed);
  EXPECT_EQ(image.pixel(302, 302), kSilver);

  show(true, true, false);
  model->DrawSpots();
  processEvents();
  image = grab();
  EXPECT_EQ(image.pixel(330, 302), kWhite);
}

TEST_F(SpotLayerTest, LinesAndMarkersStopAtTheImagesEdge) {
  // A spot 10 degrees north of a spotter just off the top of a 3000-mile map.
  addSpot(1, 0.0, 10.0, 50.0, 10.0);
  processEvents();
  const QImage image = grab();
  // The line runs up from the spot and is cut at the image's top row (surface row 2).
  const auto line = layer->ConLine(1);
  ASSERT_TRUE(line.visible);
  EXPECT_LT(line.segment.y2, 0.0);
  int lineInBorder = 0;
  for (int x = 0; x < image.width(); ++x) {
    if (image.pixel(x, 0) == kLine || image.pixel(x, 1) == kLine) ++lineInBorder;
  }
  EXPECT_EQ(lineInBorder, 0);
  EXPECT_FALSE(shown(layer->lblSpotBys(1)));

  // A marker overlapping the edge shows only its part on the image, above no border.
  model->AddSpot({0.0, -43.4, 255, 1.0, "", "", "", "", "", "", -99.0, 0.0, 0.0, "", 0.0});
  SpotMarker* marker = layer->lblSpots(2);
  // 43.4 degrees west: 2997.72 miles, pixel 0.228 → 0; the marker spans pixels −3 .. 3.
  ASSERT_TRUE(shown(marker));
  EXPECT_EQ(marker->pos().x(), 2 - 3);
  EXPECT_EQ(marker->mask().boundingRect(), QRect(3, 0, 4, 7));
  processEvents();
  const QImage edge = grab();
  EXPECT_EQ(edge.pixel(2, 302), kRed);
  EXPECT_NE(edge.pixel(1, 302), kRed);
}

}  // namespace
}  // namespace orbelle::shell::test
