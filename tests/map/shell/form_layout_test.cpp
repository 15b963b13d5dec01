// The window's layout in twips on a 96 dpi screen (15 twips per pixel).

#include <QMouseEvent>

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
}

// A stored or dragged width larger than the screen is cut to it; a size that fits is kept.
TEST_F(FormLayoutTest, TheWindowStaysWithinTheScreen) {
  struct Case {
    int screenWidth, screenHeight, pixelWidth, widen;
  };
  for (const Case& k :
       {Case{1280, 1024, 600, 900}, Case{1024, 768, 2000, 0}, Case{1920, 1080, 700, 0}}) {
    SCOPED_TRACE(std::to_string(k.screenWidth) + " " + std::to_string(k.pixelWidth));
    form.reset();
    writeIni("[Settings]\nPixelwidth=" + std::to_string(k.pixelWidth) + "\n");
    availableArea = QRect(0, 0, k.screenWidth, k.screenHeight);
    showForm();
    if (k.widen) form->resize(form->width() + k.widen, form->height());
    EXPECT_TRUE(availableArea.contains(form->frameGeometry()));
    const QRect surface = form->controls().Picture1->geometry();
    EXPECT_EQ(surface.width(), surface.height());
    EXPECT_LE(surface.bottom(), form->height());
    EXPECT_EQ(form->model().layers().width(),
              k.pixelWidth == 700 ? 700 : surface.width() - 2 * kSurfaceBorderPixels);
  }
}

// At two device pixels per pixel the map has twice the pixels; markers, readout and the stored
// width stay in logical pixels.
TEST_F(FormLayoutTest, TheMapIsDrawnAtDevicePixels) {
  writeOutlines(2);
  struct Seen {
    int layer, picture;
    QPoint marker;
    QString readout;
  };
  std::vector<Seen> seen;
  for (const double ratio : {1.0, 2.0}) {
    form.reset();
    writeIni("[Settings]\nPixelwidth=500\nMaxDx=3000\nLatHere=0\nLonHere=0\n");
    pixelRatio = ratio;
    showForm();
    form->model().cmdDraw_Click();
    ASSERT_TRUE(waitUntil([&] { return form->model().settled() && form->model().hasPicture(); }));
    spots::SpotArgs spot;
    spot.LatDeg = 10.0;
    spot.SpotCall = "K1ABC";
    spot.SpotByLat = -99.0;
    form->model().AddSpot(spot);
    SurfaceWidget* surface = form->controls().Picture1;
    const QPointF at = surface->imageRect().topLeft() + QPointF(499, 250);
    QMouseEvent move(QEvent::MouseMove, at, surface->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
    seen.push_back(
        {form->model().layers().width(), form->model().layers().picture()->width(),
         form->spotLayer().lblSpots(1)->pos(),
         form->controls().lblDirDisplay->text() + " " + form->controls().lblDxDisplay->text()});
    form->close();
    EXPECT_NE(iniText().find("Pixelwidth= 500\n"), std::string::npos) << iniText();
  }
  EXPECT_EQ(seen[0].layer, 500);
  EXPECT_EQ(seen[1].layer, 1000);
  EXPECT_EQ(seen[1].picture, 1000);
  EXPECT_EQ(seen[1].marker, seen[0].marker);
  EXPECT_EQ(seen[0].readout, QString::fromUtf8("90\u00b0 2988 mi"));
  EXPECT_EQ(seen[1].readout, seen[0].readout);
}

}  // namespace
}  // namespace orbelle::shell::test
