// The window's layout in twips on a 96 dpi screen (15 twips per pixel).

#include "form_fixture.hpp"

namespace orbelle::shell::test {
namespace {

using FormLayoutTest = FormTest;

// Only widening grows the map (not height, minimised or narrow); it is drawn again once settled.
TEST_F(FormLayoutTest, ResizingFollowsTheWidthAndRedrawsOnceSettled) {
  showForm();
  ASSERT_EQ(form->twipsPerPixel(), 15.0) << "the offscreen screen is expected at 96 dpi";
  const double surface = form->surfaceWidthTwips();
  const double height = form->heightTwips();
  form->resize(form->width() + 10, form->height() + 50);
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 150.0);
  EXPECT_EQ(form->heightTwips(), height + 150.0);
  EXPECT_DOUBLE_EQ(form->model().state().plane.MilesPerPixel,
                   2.0 * form->model().state().plane.MaxDx / form->model().layers().width());
  form->setWindowState(Qt::WindowMinimized);
  form->resize(form->width() + 20, form->height());
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 150.0);
  form->setWindowState(Qt::WindowNoState);
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 450.0);
  form->resize(10, 10);
  const QSize panel = form->controls().FrameSetup->sizeHint();
  EXPECT_GE(form->model().layers().width(), std::max(panel.width(), panel.height()));
  EXPECT_EQ(form->heightTwips(), 120.0 + form->surfaceWidthTwips() + 400.0);

  writeOutlines(2);
  form->model().cmdDraw_Click();
  const model::MapLayers& layers = form->model().layers();
  ASSERT_EQ(layers.picture()->width(), layers.width());
  int passes = 0;
  QObject::connect(&form->model(), &model::MapModel::passFinished, [&] { ++passes; });
  form->resize(form->width() + 40, form->height());
  form->resize(form->width() + 40, form->height());
  EXPECT_NE(layers.picture()->width(), layers.width());  // stretched meanwhile
  EXPECT_EQ(passes, 0);
  ASSERT_TRUE(waitUntil([&] { return passes == 1 && form->model().settled(); }));
  EXPECT_EQ(layers.picture()->width(), layers.width());
  EXPECT_FALSE(form->model().redrawAfterResizePending());
}

// However wide the stored size or the window, the window stays on the screen's available area.
TEST_F(FormLayoutTest, TheWindowStaysWithinTheScreen) {
  const struct {
    QRect screen;
    int pixelWidth;  // stored
    int widen;       // pixels the operator then drags the window wider
  } cases[] = {
      {{0, 0, 1280, 1024}, 1280, 0}, {{0, 0, 1280, 1024}, 600, 900}, {{0, 0, 1024, 768}, 2000, 0}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.pixelWidth);
    writeIni("[Settings]\nPixelwidth=" + std::to_string(k.pixelWidth) + "\n");
    availableArea = k.screen;
    showForm();
    if (k.widen) form->resize(form->width() + k.widen, form->height());
    EXPECT_TRUE(availableArea.contains(form->frameGeometry()));
    const QRect surface = form->controls().Picture1->geometry();
    EXPECT_EQ(surface.width(), surface.height());
    EXPECT_LE(surface.bottom(), form->height());
    EXPECT_EQ(form->model().layers().width(), surface.width() - 2 * kSurfaceBorderPixels);
  }
}

// At a pixel ratio of 2 the map has twice the pixels; all else stays in logical pixels.
TEST_F(FormLayoutTest, TheMapIsDrawnAtDevicePixels) {
  writeOutlines(2);
  std::vector<QString> seen;
  for (const double ratio : {1.0, 2.0}) {
    writeIni("[Settings]\nPixelwidth=500\nMaxDx=3000\nLatHere=0\nLonHere=0\n");
    pixelRatio = ratio;
    Form1& f = showForm();
    f.model().cmdDraw_Click();
    EXPECT_EQ(f.model().layers().width(), 500 * ratio);
    EXPECT_EQ(f.model().layers().picture()->width(), 500 * ratio);
    spots::SpotArgs spot;
    spot.LatDeg = 10.0;
    spot.SpotByLat = -99.0;
    f.model().AddSpot(spot);
    movePointer(499, 250);
    const QPoint marker =
        f.spotLayer().lblSpots(1)->pos() - f.controls().Picture1->imageRect().topLeft();
    f.close();
    EXPECT_NE(iniText().find("Pixelwidth= 500\n"), std::string::npos);
    seen.push_back(QStringLiteral("%1,%2 ").arg(marker.x()).arg(marker.y()) +
                   f.controls().lblDirDisplay->text() + " " + f.controls().lblDxDisplay->text());
  }
  EXPECT_EQ(seen[0], QString::fromUtf8("247,189 90\u00b0 2988 mi"));
  EXPECT_EQ(seen[1], seen[0]);
}

}  // namespace
}  // namespace orbelle::shell::test
