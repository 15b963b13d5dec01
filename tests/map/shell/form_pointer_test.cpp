// The pointer readout and hover texts over the map (presses: the bus callbacks' tests).

#include <QMouseEvent>
#include <QToolTip>

#include "form_fixture.hpp"

namespace orbelle::shell::test {
namespace {

using FormPointerTest = FormTest;

// Readout under the pointer (none beyond the antipode, off or hidden map); the overlay waits.
TEST_F(FormPointerTest, ReadoutFollowsThePointer) {
  const Form1::Controls& c = showForm().controls();
  ASSERT_EQ(form->model().layers().width(), 600);
  const auto move = [&](int px, int py) {  // to pixel (px, py) of the map image
    const QPointF at = c.Picture1->imageRect().topLeft() + QPointF(px, py);
    QMouseEvent event(QEvent::MouseMove, at, c.Picture1->mapToGlobal(at), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(c.Picture1, &event);
    return c.lblDirDisplay->text() + " " + c.lblDxDisplay->text() + " " + c.lblDxKMDisplay->text() +
           " " + c.lblLocatorDisplay->text();
  };
  EXPECT_EQ(c.lblStationLocator->text(), "EM73vv");
  const struct {
    int px, py;
    const char* shown;
  } cases[] = {
      {599, 300, "90\u00b0 12395 mi 19948 km NF76oc"},
      {0, 0, "314\u00b0 17588 mi 28305 km "},  // beyond the rim: no locator
  };
  for (const auto& k : cases) EXPECT_EQ(move(k.px, k.py), QString::fromUtf8(k.shown)) << k.px;
  EXPECT_TRUE(form->model().state().PaintDeferred && form->model().paintTimerActive());
  EXPECT_TRUE(waitUntil([&] { return !form->model().state().PaintDeferred; }));
  EXPECT_FALSE(form->model().paintTimerActive());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(c.Picture1, &leave);
  EXPECT_EQ(c.lblDirDisplay->text() + c.lblLocatorDisplay->text(), "");
  form->model().layers().setPictureVisible(false);
  EXPECT_EQ(move(300, 300), "   ");
  EXPECT_FALSE(form->model().state().PaintDeferred);
  form->model().setLatitudeFromHost(51.5);  // the station's locator follows the station
  form->model().setLongitudeFromHost(-0.125);
  EXPECT_EQ(c.lblStationLocator->text(), "IO91wm");
}

// Guards a fault: hover texts show while the logging program, not the map, has the focus.
TEST_F(FormPointerTest, HoverTextsShowWhileAnotherWindowIsActive) {
  showForm();
  spots::SpotArgs spot;
  spot.LatDeg = 51.5;
  spot.SpotCall = "G4ABC";
  form->model().AddSpot(spot);
  QWidget logger;
  logger.setGeometry(form->geometry().right() + 10, 0, 100, 100);
  logger.show();
  logger.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&logger));
  QWidget* target = form->spotLayer().lblSpots(1);
  const QString tip = target->toolTip();
  ASSERT_TRUE(target->isVisible() && !tip.isEmpty());
  QToolTip::hideText();
  QTest::mouseMove(target, target->rect().center());
  EXPECT_TRUE(waitUntil([&] { return QToolTip::isVisible() && QToolTip::text() == tip; }));
}

}  // namespace
}  // namespace orbelle::shell::test
