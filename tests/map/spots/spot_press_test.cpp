#include <QTest>
#include <QWindow>

#include "layer_fixture.hpp"
#include "spot_marker.hpp"

namespace orbelle::spots::test {
namespace {

// Press on the middle pixel of a marker.
void press(QWidget* marker, Qt::MouseButton button) {
  QTest::mouseClick(marker, button, Qt::NoModifier, QPoint(3, 3));
}

TEST_F(SpotLayerTest, RightButtonOnASpotAsksForTheLongPathThenTunes) {
  addSpot(1, 0.0, 10.0);   // east
  addSpot(2, -10.0, 0.0);  // south
  addSpot(3, 10.0, 0.0);   // north
  press(layer->lblSpots(1), Qt::RightButton);
  press(layer->lblSpots(2), Qt::RightButton);
  press(layer->lblSpots(3), Qt::RightButton);
  ASSERT_EQ(window.calls.size(), 6u);
  EXPECT_EQ(window.calls[0].method, "orbellesetrotor");
  EXPECT_EQ(window.calls[0].heading, 270.0);
  EXPECT_EQ(window.calls[2].heading, 360.0);
  EXPECT_EQ(window.calls[4].heading, 180.0);
  EXPECT_EQ(window.calls[1].method, "orbellesetrig");
  EXPECT_EQ(window.calls[1].SpotFreq, QVariant(14001.0));
  EXPECT_EQ(window.calls[1].SpotFreqTX, QVariant(1.5));
  EXPECT_EQ(window.calls[1].Mode, QVariant(QStringLiteral("CW")));
  EXPECT_EQ(window.calls[5].SpotFreq, QVariant(14003.0));
}

TEST_F(SpotLayerTest, ASpotterPressAimsAtTheSpotterAndTunesToTheSpot) {
  layer->AddSpot(10.0, 0.0, 255, 21.4, QStringLiteral(" SSB "), QStringLiteral("CALL"), QString(),
                 QStringLiteral("BY"), QString(), QString(), 0.0, -10.0, 0.0, QString(), 21.3);
  press(layer->lblSpotBys(1), Qt::LeftButton);
  press(layer->lblSpotBys(1), Qt::RightButton);
  ASSERT_EQ(window.calls.size(), 4u);
  EXPECT_EQ(window.calls[0].heading, 270.0);  // the spotter lies due west
  EXPECT_EQ(window.calls[2].heading, 90.0);
  EXPECT_EQ(window.calls[1].SpotFreq, QVariant(21.4));
  EXPECT_EQ(window.calls[1].SpotFreqTX, QVariant(21.3));
  EXPECT_EQ(window.calls[1].Mode, QVariant(QStringLiteral(" SSB ")));
}

TEST_F(SpotLayerTest, WithoutACallbackObjectPressesDoNothing) {
  addSpot(1, 0.0, 10.0, 10.0, 0.0);
  window.holdsObject = false;
  press(layer->lblSpots(1), Qt::RightButton);
  press(layer->lblSpotBys(1), Qt::LeftButton);
  EXPECT_TRUE(window.calls.empty());
  EXPECT_EQ(surface->presses, 0);  // and the map beneath does not take them either
}

TEST_F(SpotLayerTest, PressesThroughTheWindowReachOnlyShownMarkers) {
  addSpot(1, 0.0, 10.0, -99.0, 0.0);  // spotter without position, hidden at the centre
  QWindow* w = surface->windowHandle();
  ASSERT_NE(w, nullptr);
  QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, QPoint(369 + 2, 300 + 2));
  ASSERT_EQ(window.calls.size(), 2u);
  EXPECT_EQ(window.calls[0].heading, 270.0);
  EXPECT_EQ(surface->presses, 0);
  // Where the hidden spotter marker would be, the press goes to the map.
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(300 + 2, 300 + 2));
  EXPECT_EQ(window.calls.size(), 2u);
  EXPECT_EQ(surface->presses, 1);
}

TEST_F(SpotLayerTest, ThePressSendsThePressedSpotEvenIfTheHostAddsOneMeanwhile) {
  window.maxSpots = 1;
  layer->ClearSpots();
  addSpot(1, 0.0, 10.0);
  window.duringRotor = [this] {
    window.duringRotor = nullptr;
    addSpot(2, -10.0, 0.0);  // overwrites the only slot
  };
  press(layer->lblSpots(1), Qt::LeftButton);
  ASSERT_EQ(window.calls.size(), 2u);
  EXPECT_EQ(window.calls[0].heading, 90.0);
  EXPECT_EQ(window.calls[1].SpotFreq, QVariant(14001.0));
  EXPECT_EQ(layer->spots().row(1).SpotFreq, 14002.0);
}

TEST_F(SpotLayerTest, AFailedRotorCallEndsThePress) {
  addSpot(1, 0.0, 10.0);
  window.rotorThrows = true;
  press(layer->lblSpots(1), Qt::LeftButton);
  ASSERT_EQ(window.calls.size(), 1u);
  EXPECT_EQ(window.calls[0].method, "orbellesetrotor");
  window.rotorThrows = false;
  press(layer->lblSpots(1), Qt::LeftButton);
  EXPECT_EQ(window.calls.size(), 3u);
}

}  // namespace
}  // namespace orbelle::spots::test
