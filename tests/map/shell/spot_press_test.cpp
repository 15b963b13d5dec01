#include <QTest>
#include <QWindow>

#include "layer_fixture.hpp"
#include "spot_marker.hpp"

namespace orbelle::shell::test {
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
  ASSERT_EQ(host->calls.size(), 6u);
  EXPECT_EQ(host->calls[0].method, "orbellesetrotor");
  EXPECT_EQ(host->calls[0].arguments.at(0).toDouble(), 270.0);
  EXPECT_EQ(host->calls[2].arguments.at(0).toDouble(), 360.0);
  EXPECT_EQ(host->calls[4].arguments.at(0).toDouble(), 180.0);
  EXPECT_EQ(host->calls[1].method, "orbellesetrig");
  EXPECT_EQ(host->calls[1].arguments.at(0), QVariant(14001.0));
  EXPECT_EQ(host->calls[1].arguments.at(1), QVariant(1.5));
  EXPECT_EQ(host->calls[1].arguments.at(2), QVariant(QStringLiteral("CW")));
  EXPECT_EQ(host->calls[5].arguments.at(0), QVariant(14003.0));
}

TEST_F(SpotLayerTest, ASpotterPressAimsAtTheSpotterAndTunesToTheSpot) {
  model->AddSpot(
      {10.0, 0.0, 255, 21.4, " SSB ", "CALL", "", "BY", "", "", 0.0, -10.0, 0.0, "", 21.3});
  press(layer->lblSpotBys(1), Qt::LeftButton);
  press(layer->lblSpotBys(1), Qt::RightButton);
  ASSERT_EQ(host->calls.size(), 4u);
  EXPECT_EQ(host->calls[0].arguments.at(0).toDouble(), 270.0);  // the spotter lies due west
  EXPECT_EQ(host->calls[2].arguments.at(0).toDouble(), 90.0);
  EXPECT_EQ(host->calls[1].arguments.at(0), QVariant(21.4));
  EXPECT_EQ(host->calls[1].arguments.at(1), QVariant(21.3));
  EXPECT_EQ(host->calls[1].arguments.at(2), QVariant(QStringLiteral(" SSB ")));
}

TEST_F(SpotLayerTest, WithoutACallbackObjectPressesDoNothing) {
  addSpot(1, 0.0, 10.0, 10.0, 0.0);
  model->setCallback(QVariant(), nullptr);
  press(layer->lblSpots(1), Qt::RightButton);
  press(layer->lblSpotBys(1), Qt::LeftButton);
  EXPECT_TRUE(host->calls.empty());
  EXPECT_EQ(presses, 0);  // and the map beneath does not take them either
}

TEST_F(SpotLayerTest, PressesThroughTheWindowReachOnlyShownMarkers) {
  addSpot(1, 0.0, 10.0, -99.0, 0.0);  // spotter without position, hidden at the centre
  QWindow* w = surface->windowHandle();
  ASSERT_NE(w, nullptr);
  QTest::mouseClick(w, Qt::RightButton, Qt::NoModifier, QPoint(369 + 2, 300 + 2));
  ASSERT_EQ(host->calls.size(), 2u);
  EXPECT_EQ(host->calls[0].arguments.at(0).toDouble(), 270.0);
  EXPECT_EQ(presses, 0);
  // Where the hidden spotter marker would be, the press goes to the map.
  QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(300 + 2, 300 + 2));
  EXPECT_EQ(host->calls.size(), 2u);
  EXPECT_EQ(presses, 1);
}

TEST_F(SpotLayerTest, ThePressSendsThePressedSpotEvenIfTheHostAddsOneMeanwhile) {
  makeLayer(true, 1);
  addSpot(1, 0.0, 10.0);
  bool added = false;
  host->duringRotor = [&] {
    if (added) return;
    added = true;
    addSpot(2, -10.0, 0.0);  // overwrites the only slot
  };
  press(layer->lblSpots(1), Qt::LeftButton);
  ASSERT_EQ(host->calls.size(), 2u);
  EXPECT_EQ(host->calls[0].arguments.at(0).toDouble(), 90.0);
  EXPECT_EQ(host->calls[1].arguments.at(0), QVariant(14001.0));
  EXPECT_EQ(model->spots().row(1).SpotFreq, 14002.0);
}

TEST_F(SpotLayerTest, AFailedRotorCallEndsThePress) {
  addSpot(1, 0.0, 10.0);
  host->duringRotor = [] { throw std::runtime_error("host gone"); };
  press(layer->lblSpots(1), Qt::LeftButton);
  ASSERT_EQ(host->calls.size(), 1u);
  EXPECT_EQ(host->calls[0].method, "orbellesetrotor");
  host->duringRotor = nullptr;
  press(layer->lblSpots(1), Qt::LeftButton);
  EXPECT_EQ(host->calls.size(), 3u);
}

}  // namespace
}  // namespace orbelle::shell::test
