#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QWindow>

#include "layer_fixture.hpp"
#include "spot_marker.hpp"
#include "spots/sample_spots.hpp"

namespace orbelle::shell::test {
namespace {

constexpr QRgb kLineColor = 0xffe0e0e0;

// Markers of a spot 10 degrees north, east and south of the station at (0, 0): 690.72 miles,
// 69.072 pixels from the centre pixel (300, 300), rounded to 69; the image starts at (2, 2).
const QPoint kNorthMarker{299, 230};
const QPoint kEastMarker{368, 299};
const QPoint kSouthMarker{299, 368};
const QPoint kCentreMarker{299, 299};

TEST_F(SpotLayerTest, TheTwentySixthSpotTakesOverSlotOne) {
  for (int n = 1; n <= 25; ++n) addSpot(n, 10.0, 0.0);
  EXPECT_EQ(model->spots().NextSpot(), 1);
  addSpot(26, 0.0, 10.0, 10.0, 0.0);
  EXPECT_EQ(model->spots().NextSpot(), 2);
  EXPECT_EQ(layer->lblSpots(26), nullptr);  // no element beyond MaxSpots

  SpotMarker* spot = layer->lblSpots(1);
  EXPECT_EQ(spot->pos(), kEastMarker);
  EXPECT_EQ(spot->toolTip(), QStringLiteral("CALL26 (by BY) 14026 CW 12:00 , "));
  EXPECT_EQ(layer->lblSpotBys(1)->pos(), kNorthMarker);
  // The spotter marker lies on the 24 spots still at (10, 0): its hover text lists them all.
  const QStringList tip = layer->lblSpotBys(1)->toolTip().split(QLatin1Char('\n'));
  ASSERT_EQ(tip.size(), 25);
  EXPECT_EQ(tip[0], QStringLiteral("By BY,  (CALL26)"));
  EXPECT_EQ(tip[1], QStringLiteral("CALL2 (by BY) 14002 CW 12:00 , "));
  const auto line = layer->ConLine(1);
  EXPECT_TRUE(line.visible);
  EXPECT_EQ(line.segment.x1, 369.0);
  EXPECT_EQ(line.segment.y1, 300.0);
  EXPECT_EQ(line.segment.x2, 300.0);
  EXPECT_EQ(line.segment.y2, 231.0);
  EXPECT_EQ(layer->lblSpots(2)->pos(), kNorthMarker);  // slot 2 still holds spot 2
  EXPECT_EQ(model->spots().row(1).SpotFreq, 14026.0);
}

TEST_F(SpotLayerTest, ClearSpotsHidesEverythingAndRestartsAtSlotOne) {
  for (int n = 1; n <= 3; ++n) addSpot(n, 10.0, 0.0, 0.0, 10.0);
  ASSERT_TRUE(shown(layer->lblSpots(3)));
  ASSERT_TRUE(layer->ConLine(3).visible);
  model->ClearSpots();
  EXPECT_EQ(model->spots().NextSpot(), 1);
  for (int i = 1; i <= 25; ++i) {
    EXPECT_FALSE(shown(layer->lblSpots(i)));
    EXPECT_FALSE(shown(layer->lblSpotBys(i)));
    EXPECT_FALSE(layer->ConLine(i).visible);
  }
  // A redraw leaves the cleared slots alone.
  model->DrawSpots();
  EXPECT_FALSE(shown(layer->lblSpots(2)));
  addSpot(4, 0.0, 10.0);
  EXPECT_TRUE(shown(layer->lblSpots(1)));
  EXPECT_EQ(model->spots().NextSpot(), 2);
}

TEST_F(SpotLayerTest, TheRingFollowsTheMaxSpotsSetting) {
  makeLayer(true, 40);
  EXPECT_EQ(model->spots().MaxSpots(), 40);
  ASSERT_NE(layer->lblSpots(40), nullptr);
  EXPECT_EQ(layer->lblSpots(41), nullptr);
  makeLayer(true, 0);  // bounded to one slot
  EXPECT_EQ(model->spots().MaxSpots(), 1);
  EXPECT_EQ(layer->lblSpots(2), nullptr);
  addSpot(2, 10.0, 0.0);
  addSpot(3, 0.0, 10.0);
  EXPECT_EQ(layer->lblSpots(1)->pos(), kEastMarker);
}

TEST_F(SpotLayerTest, ASpotterWithoutPositionShowsTheSpotMarkerOnly) {
  scaleImage(600, 12437);  // the whole Earth, so that the south pole lies on the image
  addSpot(1, 10.0, 0.0, -90.5, 0.0);
  EXPECT_TRUE(shown(layer->lblSpots(1)));
  EXPECT_FALSE(shown(layer->lblSpotBys(1)));
  EXPECT_FALSE(layer->ConLine(1).visible);
  model->DrawSpots();
  EXPECT_TRUE(shown(layer->lblSpots(1)));
  EXPECT_FALSE(shown(layer->lblSpotBys(1)));
  EXPECT_FALSE(layer->ConLine(1).visible);

  // Exactly −90 is a position: the south pole, 90 degrees due south of the station.
  addSpot(2, 10.0, 0.0, -90.0, 0.0);
  EXPECT_TRUE(shown(layer->lblSpots(2)));
  EXPECT_TRUE(shown(layer->lblSpotBys(2)));
  EXPECT_TRUE(layer->ConLine(2).visible);
  // 6216.48 miles south at 24874 / 600 miles per pixel: pixel-y 300 + 149.95 → 450.
  EXPECT_EQ(layer->lblSpotBys(2)->pos(), QPoint(299, 449));
}

TEST_F(SpotLayerTest, HoverTextsUseTheLocalesDecimalSeparator) {
  const QLocale before;
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  model->AddSpot({40.0, -2.0, 255, 14025.5, " CW ", " DL1ABC ", " 13:31 ", "  W4QZX ", " up ",
                  " Germany ", 33.0, -84.0, 12632256.0, " USA ", 14030.25});
  QLocale::setDefault(before);
  EXPECT_EQ(layer->lblSpots(1)->toolTip(),
            QStringLiteral("DL1ABC (by W4QZX) 14025,5 CW  13:31  up, Germany"));
  EXPECT_EQ(layer->lblSpotBys(1)->toolTip(), QStringLiteral("By W4QZX, USA (DL1ABC)"));
  addSpot(2, 0.0, 10.0);
  EXPECT_EQ(layer->lblSpots(2)->toolTip(), QStringLiteral("CALL2 (by BY) 14002 CW 12:00 , "));
}

TEST_F(SpotLayerTest, MarkerColoursComeFromTheSpot) {
  model->AddSpot({10.0, 0.0, 0x00ff8040, 7.0, "", "", "", "", "", "", 0.0, 10.0, 32768.5, "", 0.0});
  EXPECT_EQ(layer->lblSpots(1)->color(), QColor(0x40, 0x80, 0xff));
  EXPECT_EQ(layer->lblSpotBys(1)->color(), QColor(0, 128, 0));  // 32768.5 → 32768
  // Markers that never showed a spot keep the templates' colours.
  EXPECT_EQ(layer->lblSpots(2)->color(), QColor(255, 0, 255));
  EXPECT_EQ(layer->lblSpotBys(2)->color(), QColor(192, 192, 192));
}

TEST_F(SpotLayerTest, ShowOptionsHideAndShowOnRedraw) {
  addSpot(1, 10.0, 0.0, 0.0, 10.0);
  addSpot(2, -10.0, 0.0, 0.0, 10.0);

  show(true, true, false);
  model->DrawSpots();
  EXPECT_TRUE(shown(layer->lblSpots(1)) && shown(layer->lblSpotBys(2)));
  EXPECT_FALSE(layer->ConLine(1).visible || layer->ConLine(2).visible);

  show(false, false, false);
  model->DrawSpots();
  for (int i = 1; i <= 2; ++i) {
    EXPECT_FALSE(shown(layer->lblSpots(i)));
    EXPECT_FALSE(shown(layer->lblSpotBys(i)));
    EXPECT_FALSE(layer->ConLine(i).visible);
  }

  show(true, false, false);
  model->DrawSpots();
  EXPECT_TRUE(shown(layer->lblSpots(1)) && shown(layer->lblSpots(2)));
  EXPECT_FALSE(shown(layer->lblSpotBys(1)) || shown(layer->lblSpotBys(2)));
  EXPECT_EQ(layer->lblSpots(2)->pos(), kSouthMarker);
}

TEST_F(SpotLayerTest, AddSpotWithSpotsHiddenKeepsTheSlotHidden) {
  makeLayer(true, 1);
  addSpot(1, 10.0, 0.0, 0.0, 10.0);
  ASSERT_TRUE(shown(layer->lblSpots(1)));
  show(false, false, false);
  model->DrawSpots();
  show(false, true, true);            // as the host may leave the fields
  addSpot(2, -10.0, 0.0, 0.0, 10.0);  // overwrites the only slot
  EXPECT_FALSE(shown(layer->lblSpots(1)));
  EXPECT_FALSE(shown(layer->lblSpotBys(1)));
  EXPECT_FALSE(layer->ConLine(1).visible);
  EXPECT_EQ(model->spots().row(1).SpotFreq, 14002.0);
  show(true, true, true);
  model->DrawSpots();
  EXPECT_EQ(layer->lblSpots(1)->pos(), kSouthMarker);
  EXPECT_TRUE(layer->ConLine(1).visible);
}

TEST_F(SpotLayerTest, AddSpotShowsTheNewMarkerWhateverTheSpotterOptions) {
  show(true, false, false);
  addSpot(1, 10.0, 0.0, 0.0, 10.0);
  EXPECT_TRUE(shown(layer->lblSpots(1)));
  EXPECT_FALSE(shown(layer->lblSpotBys(1)));
  EXPECT_FALSE(layer->ConLine(1).visible);
}

TEST_F(SpotLayerTest, DrawSpotsDoesNothingWhileDrawingButAddSpotWorks) {
  addSpot(1, 10.0, 0.0, 0.0, 10.0);
  model->setDrawing(true);
  show(false, false, false);
  model->DrawSpots();
  EXPECT_TRUE(shown(layer->lblSpots(1)));
  EXPECT_TRUE(shown(layer->lblSpotBys(1)));
  EXPECT_TRUE(layer->ConLine(1).visible);

  show(true, true, true);
  addSpot(2, -10.0, 0.0, 0.0, 10.0);
  EXPECT_TRUE(shown(layer->lblSpots(2)));
  EXPECT_EQ(layer->lblSpots(2)->pos(), kSouthMarker);
  model->ClearSpots();  // clearing ignores Drawing too
  EXPECT_FALSE(shown(layer->lblSpots(1)));
  EXPECT_EQ(model->spots().NextSpot(), 1);
}

TEST_F(SpotLayerTest, MarkersArePlacedAgainAfterAResize) {
  addSpot(1, 0.0, 10.0, 0.0, 0.0);
  ASSERT_EQ(layer->lblSpots(1)->pos(), kEastMarker);
  // Half the pixels for the same radius: 20 miles per pixel, the centre at pixel 150.
  scaleImage(300);
  model->DrawSpots();
  EXPECT_EQ(layer->lblSpots(1)->pos(), QPoint(2 + 150 + 35 - 3, 2 + 150 - 3));  // 34.536 → 35
  EXPECT_EQ(layer->lblSpotBys(1)->pos(), QPoint(2 + 147, 2 + 147));
  EXPECT_EQ(layer->ConLine(1).segment.x1, 185.0);
  // A larger radius on the same pixels moves the spot towards the centre.
  scaleImage(300, 6000);
  model->DrawSpots();
  EXPECT_EQ(layer->lblSpots(1)->pos(), QPoint(2 + 150 + 17 - 3, 2 + 147));  // 17.268 → 17
}

TEST_F(SpotLayerTest, SpotsAddedBeforeTheFirstScaleShowAtTheFirstRedraw) {
  makeLayer(false);  // no SetMapScale yet
  addSpot(1, 0.0, 10.0, 10.0, 0.0);
  EXPECT_FALSE(shown(layer->lblSpots(1)));
  scaleImage(600);
  model->DrawSpots();
  EXPECT_EQ(layer->lblSpots(1)->pos(), kEastMarker);
  EXPECT_TRUE(shown(layer->lblSpots(1)));
}

TEST_F(SpotLayerTest, SpotsOffTheMapAreNotShown) {
  addSpot(1, 0.0, 90.0, 0.0, 0.0);  // 6216 miles east: beyond the 3000-mile radius
  EXPECT_FALSE(shown(layer->lblSpots(1)));
  EXPECT_TRUE(shown(layer->lblSpotBys(1)));
  // The line runs from the centre to the image's right edge and beyond, clipped.
  EXPECT_TRUE(layer->ConLine(1).visible);
  EXPECT_EQ(layer->ConLine(1).segment.x1, 607.0);
  scaleImage(600, 12437);
  model->DrawSpots();
  EXPECT_TRUE(shown(layer->lblSpots(1)));
}

TEST_F(SpotLayerTest, TestspotAddsTheTwoSamples) {
  model->testspot();
  EXPECT_EQ(model->spots().NextSpot(), 3);
  const QString call = QString::fromUtf8(spots::kSampleSpotCall);
  const QString by = QString::fromUtf8(spots::kSampleSpotterCall);
  EXPECT_EQ(layer->lblSpots(2)->toolTip(),
            call + " (by " + by + ") 21.4 SSB 13:31:00 Very Loud, England");
  EXPECT_EQ(layer->lblSpotBys(1)->toolTip(), "By " + by + ", USA, Southeast (" + call + ")");
  EXPECT_EQ(layer->lblSpots(1)->color(), QColor(255, 0, 0));
  EXPECT_EQ(model->spots().row(2).SpotFreqTX, 21.3);
}

// Calls beside the spot markers never overlap one another or a marker: in a cluster the newest
// spots get the free places and the rest go without; hovering any marker of the cluster lists
// every spot under it. "Show calls" off takes the labels away.
TEST_F(SpotLayerTest, CallLabelsNeverOverlapAndClustersListEverySpot) {
  // Twenty spots within a degree of (20, 10), five far apart.
  for (int n = 1; n <= 20; ++n) addSpot(n, 20.0 + (n % 5) * 0.2, 10.0 + (n / 5) * 0.25, -99.0);
  const double apart[][2] = {{0, 10}, {-10, 0}, {-20, -20}, {20, -30}, {0, -15}};
  for (int n = 21; n <= 25; ++n) addSpot(n, apart[n - 21][0], apart[n - 21][1], -99.0);
  processEvents();

  std::vector<QRect> labels, markers;
  for (int i = 1; i <= 25; ++i) {
    if (shown(layer->lblSpots(i))) markers.push_back(layer->lblSpots(i)->geometry());
    if (QLabel* label = layer->callLabel(i); shown(label)) {
      EXPECT_EQ(label->text(), QStringLiteral("CALL%1").arg(i));
      labels.push_back(label->geometry());
    }
  }
  ASSERT_EQ(markers.size(), 25u);
  EXPECT_GE(labels.size(), 8u);   // the five apart, and some of the cluster
  EXPECT_LT(labels.size(), 25u);  // not all twenty of the cluster find room
  const QRect image = surface->imageRect();
  for (std::size_t a = 0; a < labels.size(); ++a) {
    EXPECT_TRUE(image.contains(labels[a]));
    for (std::size_t b = a + 1; b < labels.size(); ++b) EXPECT_FALSE(labels[a].intersects(labels[b]));
    for (const QRect& m : markers) EXPECT_FALSE(labels[a].intersects(m));
  }
  for (int i = 21; i <= 25; ++i) {
    const QRect marker = layer->lblSpots(i)->geometry();
    ASSERT_TRUE(shown(layer->callLabel(i))) << i;
    EXPECT_LE((layer->callLabel(i)->geometry().center() - marker.center()).manhattanLength(), 60);
  }
  // Every marker's hover text names itself first, then each spot whose marker overlaps it.
  for (int i = 1; i <= 20; ++i) {
    const QRect mine = layer->lblSpots(i)->geometry();
    QStringList expected{QString::fromStdString(model->spots().slot(i).markers.spotText)};
    for (int j = 1; j <= 25; ++j) {
      if (j != i && layer->lblSpots(j)->geometry().intersects(mine)) {
        expected << QString::fromStdString(model->spots().slot(j).markers.spotText);
      }
    }
    EXPECT_GT(expected.size(), 1) << i;  // the cluster's markers overlap
    EXPECT_EQ(layer->lblSpots(i)->toolTip(), expected.join(QLatin1Char('\n'))) << i;
  }

  model->chkShowCalls_Click(false);
  for (int i = 1; i <= 25; ++i) EXPECT_FALSE(shown(layer->callLabel(i))) << i;
  model->chkShowCalls_Click(true);
  EXPECT_TRUE(shown(layer->callLabel(25)));
}

}  // namespace
}  // namespace orbelle::shell::test
