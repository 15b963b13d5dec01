// The pointer readout over the map and the rotor requests, through mouse events on the surface.

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
    return c.lblDirDisplay->text() + " " + c.lblDxDisplay->text() + " " + c.lblDxKMDisplay->text();
  }
  int side = 0;
};

TEST_F(FormPointerTest, ReadoutIsEmptyUntilThePointerMoves) {
  EXPECT_EQ(readout(), "  ");
  mouse(QEvent::MouseMove, 300, 300);
  EXPECT_EQ(readout(), "360 0 0");
}

TEST_F(FormPointerTest, ReadoutAroundTheCentre) {
  mouse(QEvent::MouseMove, 599, 300);
  EXPECT_EQ(readout(), "90 12395 19948");
  mouse(QEvent::MouseMove, 300, 599);
  EXPECT_EQ(readout(), "180 12395 19948");
  mouse(QEvent::MouseMove, 0, 300);
  EXPECT_EQ(readout(), "270 12437 20015");
  mouse(QEvent::MouseMove, 299, 0);
  EXPECT_EQ(form->controls().lblDirDisplay->text(), "359");
}

TEST_F(FormPointerTest, MovingDefersTheOverlayForOneSecond) {
  mouse(QEvent::MouseMove, 100, 100);
  EXPECT_TRUE(form->model().state().PaintDeferred);
  EXPECT_TRUE(form->model().paintTimerActive());
  // Once the pointer rests, the timer rebuilds the overlay and stops.
  EXPECT_TRUE(waitUntil([&] { return !form->model().state().PaintDeferred; }, 3000));
  EXPECT_FALSE(form->model().paintTimerActive());
}

TEST_F(FormPointerTest, PressesWithoutCallbackDoNothing) {
  mouse(QEvent::MouseButtonPress, 450, 300, Qt::LeftButton);
  form->controls().cmdStopRotor->click();
  EXPECT_TRUE(messages.shown.empty());
  // A value that names no object is no callback either.
  form->model().setCallback(QVariant(), nullptr);
  mouse(QEvent::MouseButtonPress, 450, 300, Qt::RightButton);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormPointerTest, PressesAskTheHostToTurnOrStopTheRotor) {
  auto callback = std::make_shared<FakeCallback>();
  form->model().setCallback(QVariant(QStringLiteral("host")), callback);
  mouse(QEvent::MouseButtonPress, 450, 300, Qt::LeftButton);
  mouse(QEvent::MouseButtonPress, 450, 300, Qt::RightButton);
  mouse(QEvent::MouseButtonPress, 300, 300, Qt::RightButton);
  mouse(QEvent::MouseButtonPress, 300, 450, Qt::MiddleButton);
  form->controls().cmdStopRotor->click();
  ASSERT_EQ(callback->calls.size(), 5u);
  const double expected[] = {90.0, 270.0, 180.0, 180.0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(callback->calls[i].method, "orbellesetrotor");
    ASSERT_EQ(callback->calls[i].arguments.size(), 1);
    EXPECT_EQ(callback->calls[i].arguments[0].toDouble(), expected[i]) << i;
  }
  EXPECT_EQ(callback->calls[4].method, "orbellestoprotor");
  EXPECT_TRUE(callback->calls[4].arguments.isEmpty());
  EXPECT_EQ(form->model().Callback().toString(), "host");
}

// The logging program has the focus, not the map: hover texts of the markers and of the stop
// button still show.
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
  EXPECT_EQ(readout(), "  ");
  EXPECT_FALSE(form->model().state().PaintDeferred);
}

}  // namespace
}  // namespace orbelle::shell::test
