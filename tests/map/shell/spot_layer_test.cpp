// The spot layer's widgets: where markers, lines and labels go, what they show, paint and send.

#include <QLocale>
#include <QWindow>

#include "form_fixture.hpp"

namespace orbelle::shell::test {
namespace {

// Spot markers over the window's 600-pixel image of a 3000-mile radius around (0, 0), without
// sun or night shading (they would colour the pixels looked at), with a host fake.
class SpotLayerTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    makeLayer();
  }
  void makeLayer(int maxSpots = 25) {
    writeIni("[Settings]\nLatHere=0\nLonHere=0\nMaxDx=3000\nShowSun=No\nShadeNight=No\nMaxSpots=" +
             std::to_string(maxSpots) + "\n");
    showForm();
    host = std::make_shared<orbelle::test::FakeCallback>();
    model->setCallback(QVariant(QStringLiteral("host")), host);
    layer = &form->spotLayer();
    surface = form->controls().Picture1;
  }
  // A spot at (lat, lon) reported by a spotter at (byLat, byLon), frequency 14000 + n.
  void addSpot(int n, double lat, double lon, double byLat = 0.0, double byLon = 0.0) {
    model->AddSpot({lat, lon, 255, 14000.0 + n, "CW", "CALL" + std::to_string(n), "12:00", "BY", "",
                    "", byLat, byLon, 12632256.0, "", 0.5 + n});
  }
  bool shown(QWidget* marker) const { return marker->isVisibleTo(surface); }
  QImage grab() const {
    QApplication::processEvents();
    return surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  std::shared_ptr<orbelle::test::FakeCallback> host;
  SpotLayer* layer = nullptr;
  SurfaceWidget* surface = nullptr;
};

// Spots 10 degrees N and E of the station: 69.072 pixels from the centre, rounded to 69.
const QPoint kNorthMarker{299, 230};
const QPoint kEastMarker{368, 299};

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kBlack = 0xff000000;
constexpr QRgb kLine = 0xffe0e0e0;
constexpr QRgb kRed = 0xffff0000;  // spot colour 255

// Places, hover texts (with the markers beneath) and colours follow the ring's slots.
TEST_F(SpotLayerTest, TheRingHoverTextsAndColours) {
  makeLayer(3);
  for (int n = 1; n <= 3; ++n) addSpot(n, 10.0, 0.0);
  addSpot(4, 0.0, 10.0, 10.0, 0.0);
  EXPECT_EQ(layer->lblSpots(4), nullptr);  // no element beyond MaxSpots
  EXPECT_EQ(layer->lblSpots(1)->pos(), kEastMarker);
  EXPECT_EQ(layer->lblSpots(1)->toolTip(), QStringLiteral("CALL4 (by BY) 14004 CW 12:00 , "));
  EXPECT_EQ(layer->lblSpotBys(1)->pos(), kNorthMarker);
  QLabel* label = layer->callLabel(1);  // "Show calls" hides it
  EXPECT_TRUE(shown(label) && label->text() == "CALL4");
  model->chkShowCalls_Click(false);
  EXPECT_FALSE(shown(label));
  EXPECT_EQ(layer->lblSpotBys(1)->toolTip(),
            QStringLiteral("By BY,  (CALL4)\nCALL2 (by BY) 14002 CW 12:00 , \n"
                           "CALL3 (by BY) 14003 CW 12:00 , "));

  makeLayer(2);
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  model->AddSpot({10.0, 0.0, 0x00ff8040, 14025.5, "CW", "DL1ABC", "13:31", "W4QZX", "up", "", 0.0,
                  10.0, 32768.5, "", 0.0});
  QLocale::setDefault(before);
  EXPECT_TRUE(layer->lblSpots(1)->toolTip().startsWith("DL1ABC (by W4QZX) 14025,5 CW"));
  EXPECT_EQ(layer->lblSpotBys(1)->color(), QColor(0, 128, 0));  // 32768.5 → 32768
}

// 7x7 markers with a contrasting outline, cut at the image's edge; lines between them.
TEST_F(SpotLayerTest, MarkersAndLinesPaint) {
  model->chkShowCalls_Click(false);  // labels would lie over the lines
  addSpot(1, 0.0, 10.0, 0.0, 0.0);   // spot at image pixel (369, 300), spotter at (300, 300)
  model->AddSpot({0.0, -10.0, 0x800000, 1.0, "", "", "", "", "", "", -99.0, 0.0, 0.0, "", 0.0});
  model->AddSpot({0.0, -43.4, 255, 1.0, "", "", "", "", "", "", -99.0, 0.0, 0.0, "", 0.0});
  const QImage image = grab();
  const struct {
    int x, y;  // centre, surface coordinates (image pixels + 2)
    QRgb fill, outline;
  } markers[] = {{371, 302, kRed, kBlack},
                 {233, 302, 0xff000080, kWhite}};  // 0x800000 as the host packs it: blue 128
  for (const auto& m : markers) {
    for (int d = -3; d <= 3; ++d) {
      EXPECT_EQ(image.pixel(m.x + d, m.y - 3), m.outline) << d;
      EXPECT_EQ(image.pixel(m.x - 3, m.y + d), m.outline) << d;
      if (d > -3 && d < 3) {
        EXPECT_EQ(image.pixel(m.x + d, m.y + 2), m.fill) << d;
      }
    }
  }
  for (const int x : {306, 336, 367}) EXPECT_EQ(image.pixel(x, 302), kLine) << x;
  EXPECT_EQ(image.pixel(330, 301), kWhite);
  // 43.4 degrees west: pixel 0.228 → 0; the marker spans -3 .. 3 and shows its part on the image.
  EXPECT_EQ(layer->lblSpots(3)->pos().x(), 2 - 3);
  EXPECT_EQ(layer->lblSpots(3)->mask().boundingRect(), QRect(3, 0, 4, 7));
  EXPECT_EQ(image.pixel(2, 302), kRed);
  EXPECT_NE(image.pixel(1, 302), kRed);
  model->setShowConnectingLines(false);  // without lines and spotters: white between the spots
  model->setShowSpotBy(false);
  model->DrawSpots();
  EXPECT_EQ(grab().pixel(330, 302), kWhite);
  EXPECT_EQ(grab().pixel(302, 302), kWhite);
}

// Presses reach the model as slot, marker and button; a hidden marker's place is the map's.
TEST_F(SpotLayerTest, PressesOnMarkersCallTheHost) {
  makeLayer(2);
  addSpot(1, 0.0, 10.0, -99.0, 0.0);  // east; spotter without position, hidden at the centre
  addSpot(2, 10.0, 0.0, -10.0, 0.0);  // north, spotter south
  const auto press = [](QWidget* marker, Qt::MouseButton button) {
    QTest::mouseClick(marker, button, Qt::NoModifier, QPoint(3, 3));
  };
  press(layer->lblSpots(1), Qt::LeftButton);
  press(layer->lblSpotBys(2), Qt::RightButton);
  const std::vector<QVariantList> expected = {
      {90.0}, {14001.0, 1.5, "CW"}, {360.0}, {14002.0, 2.5, "CW"}};  // right: the long path
  ASSERT_EQ(host->calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(host->calls[i].arguments, expected[i]) << i;
  }
  host->calls.clear();
  host->duringRotor = [] { throw std::runtime_error("host gone"); };
  press(layer->lblSpots(1), Qt::LeftButton);
  EXPECT_EQ(host->calls.size(), 1u);  // a failed rotor call ends the press
  host->duringRotor = nullptr;
  // Through the window: the marker takes the press (rotor and rig), the map the hidden one's place.
  for (const QPoint at : {QPoint(369, 300), QPoint(300, 300)}) {
    QTest::mouseClick(form->windowHandle(), Qt::RightButton, Qt::NoModifier,
                      surface->mapTo(form.get(), at + QPoint(2, 2)));
  }
  ASSERT_EQ(host->calls.size(), 4u);
  EXPECT_EQ(host->calls[2].method, "orbellesetrig");
  EXPECT_EQ(host->calls[3].method, "orbellesetrotor");
  model->setCallback(QVariant(), nullptr);
  press(layer->lblSpots(2), Qt::RightButton);
  EXPECT_EQ(host->calls.size(), 4u);
}

}  // namespace
}  // namespace orbelle::shell::test
