// The pointer readout and hover texts over the map (presses: the bus callbacks' tests).

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "form_fixture.hpp"
#include "model/map_layers.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"
#include "spot_marker.hpp"

namespace orbelle::shell::test {
namespace {

class FormPointerTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    showForm();
    side = form->model().layers().width();
    ASSERT_EQ(side, 600);
    ASSERT_EQ(form->model().state().plane.MaxDx, 12437);
  }
  // Mouse event at pixel (px, py) of the map image.
  void mouse(QEvent::Type type, int px, int py, Qt::MouseButton button = Qt::NoButton) {
    SurfaceWidget* surface = form->controls().Picture1;
    const QPointF pos = surface->imageRect().topLeft() + QPointF(px, py);
    QMouseEvent event(type, pos, surface->mapToGlobal(pos), button,
                      type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(surface, &event);
  }
  QString readout() const {
    const Form1::Controls& c = form->controls();
    return c.lblDirDisplay->text() + " " + c.lblDxDisplay->text() + " " + c.lblDxKMDisplay->text() +
           " " + c.lblLocatorDisplay->text();
  }
  int side = 0;
};

// Bearing, distance and locator under the pointer; none beyond the antipode or off the map.
TEST_F(FormPointerTest, ReadoutFollowsThePointer) {
  EXPECT_EQ(readout(), "   ");
  EXPECT_EQ(form->controls().lblStationLocator->text(), "EM73vv");
  struct Case {
    int px, py;
    const char* shown;
  };
  const Case cases[] = {
      {300, 300, "360\u00b0 0 mi 0 km EM73vv"},
      {599, 300, "90\u00b0 12395 mi 19948 km NF76oc"},
      {300, 599, "180\u00b0 12395 mi 19948 km NF75vn"},
      {0, 300, "270\u00b0 12437 mi 20015 km "},
      {299, 0, "359\u00b0 12437 mi 20015 km "},
      {0, 0, "314\u00b0 17588 mi 28305 km "},
  };
  for (const Case& k : cases) {
    mouse(QEvent::MouseMove, k.px, k.py);
    EXPECT_EQ(readout(), QString::fromUtf8(k.shown)) << k.px << "," << k.py;
  }
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(form->controls().Picture1, &leave);
  EXPECT_EQ(readout(), "   ");
  // The station's locator follows the station.
  form->model().setLatitudeFromHost(51.5);
  form->model().setLongitudeFromHost(-0.125);
  EXPECT_EQ(form->controls().lblStationLocator->text(), "IO91wm");
}

TEST_F(FormPointerTest, MovingDefersTheOverlayForOneSecond) {
  mouse(QEvent::MouseMove, 100, 100);
  EXPECT_TRUE(form->model().state().PaintDeferred);
  EXPECT_TRUE(form->model().paintTimerActive());
  // Once the pointer rests, the timer rebuilds the overlay and stops.
  EXPECT_TRUE(waitUntil([&] { return !form->model().state().PaintDeferred; }, 3000));
  EXPECT_FALSE(form->model().paintTimerActive());
}

// Hover texts show while the logging program, not the map, has the focus.
TEST_F(FormPointerTest, HoverTextsShowWhileAnotherWindowIsActive) {
  spots::SpotArgs spot;
  spot.LatDeg = 51.5;
  spot.LonDeg = -0.125;
  spot.SpotCall = "G4ABC";
  spot.SpotBy = "K1XYZ";
  spot.SpotByLat = 42.0;
  spot.SpotByLon = -71.0;
  form->model().AddSpot(spot);
  QWidget logger;
  logger.setGeometry(form->geometry().right() + 10, 0, 100, 100);
  logger.show();
  logger.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&logger));
  ASSERT_FALSE(form->isActiveWindow());
  QWidget* const targets[] = {form->spotLayer().lblSpots(1), form->spotLayer().lblSpotBys(1),
                              form->controls().cmdStopRotor};
  for (QWidget* target : targets) {
    ASSERT_TRUE(target->isVisible());
    const QString tip = target->toolTip();
    ASSERT_FALSE(tip.isEmpty());
    QToolTip::hideText();
    QTest::mouseMove(target, target->rect().center());
    EXPECT_TRUE(waitUntil([&] { return QToolTip::isVisible() && QToolTip::text() == tip; }))
        << tip.toStdString();
  }
}

TEST_F(FormPointerTest, NoReadoutWhileTheMapImageIsHidden) {
  form->model().layers().setPictureVisible(false);
  mouse(QEvent::MouseMove, 300, 300);
  EXPECT_EQ(readout(), "   ");
  EXPECT_FALSE(form->model().state().PaintDeferred);
}

}  // namespace
}  // namespace orbelle::shell::test
