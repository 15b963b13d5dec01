// The window's layout in twips on a 96 dpi screen (15 twips per pixel).

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "form_fixture.hpp"
#include "layout_rules.hpp"
#include "model/map_layers.hpp"
#include "model/map_model.hpp"
#include "shell/surface_widget.hpp"
#include "spot_layer.hpp"
#include "spot_marker.hpp"

namespace orbelle::shell::test {
namespace {

class FormLayoutTest : public FormTest {
 protected:
  void SetUp() override {
    FormTest::SetUp();
    showForm();
    ASSERT_EQ(form->twipsPerPixel(), 15.0) << "the offscreen screen is expected at 96 dpi";
  }
};

// Widening grows the square, height and scale; height alone, a minimised or narrow window do not.
TEST_F(FormLayoutTest, ResizingFollowsTheWidth) {
  const double surface = form->surfaceWidthTwips();
  const double height = form->heightTwips();
  form->resize(form->width() + 10, form->height());
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 150.0);
  EXPECT_EQ(form->heightTwips(), height + 150.0);
  form->resize(form->width(), form->height() + 50);
  EXPECT_EQ(form->heightTwips(), height + 150.0);
  const model::MapState& state = form->model().state();
  EXPECT_DOUBLE_EQ(state.plane.MilesPerPixel,
                   2.0 * state.plane.MaxDx / form->model().layers().width());
  form->setWindowState(Qt::WindowMinimized);
  form->resize(form->width() + 20, form->height());
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 150.0);
  form->setWindowState(Qt::WindowNoState);
  EXPECT_EQ(form->surfaceWidthTwips(), surface + 450.0);
  form->resize(10, 10);
  EXPECT_GE(form->width(), form->minimumWidth());
  const QSize panel = form->controls().FrameSetup->sizeHint();
  EXPECT_GE(form->model().layers().width(), std::max(panel.width(), panel.height()));
  EXPECT_GT(form->surfaceWidthTwips(), 0.0);
  EXPECT_EQ(form->heightTwips(), 120.0 + form->surfaceWidthTwips() + 400.0);
}

// However wide the stored size or the window, the window stays on the screen's available area.
TEST_F(FormLayoutTest, TheWindowStaysWithinTheScreen) {
  struct Case {
    int screenWidth, screenHeight;
    int pixelWidth;  // stored
    int widen;       // pixels the operator then drags the window wider
  };
  const Case cases[] = {
      {1280, 1024, 1280, 0}, {1280, 1024, 600, 900}, {1024, 768, 2000, 0}, {1920, 1080, 700, 0}};
  for (const Case& k : cases) {
    SCOPED_TRACE(std::to_string(k.screenWidth) + "x" + std::to_string(k.screenHeight) + " " +
                 std::to_string(k.pixelWidth));
    form.reset();
    writeIni("[Settings]\nPixelwidth=" + std::to_string(k.pixelWidth) + "\n");
    availableArea = QRect(0, 0, k.screenWidth, k.screenHeight);
    showForm();
    if (k.widen) form->resize(form->width() + k.widen, form->height());
    EXPECT_TRUE(availableArea.contains(form->frameGeometry()))
        << form->frameGeometry().x() << "," << form->frameGeometry().y() << " "
        << form->frameGeometry().width() << "x" << form->frameGeometry().height();
    const QRect surface = form->controls().Picture1->geometry();
    EXPECT_EQ(surface.width(), surface.height());
    EXPECT_LE(surface.bottom(), form->height());
    EXPECT_EQ(form->model().layers().width(), surface.width() - 2 * kSurfaceBorderPixels);
    // A size that fits is kept.
    if (k.pixelWidth == 700) {
      EXPECT_EQ(form->model().layers().width(), 700);
    }
  }
}

// After resizes the map shows stretched and is drawn again once, when the resizing settles.
TEST_F(FormLayoutTest, TheMapIsDrawnAgainOnceAResizeSettles) {
  writeOutlines(2);
  form->model().cmdDraw_Click();
  ASSERT_TRUE(waitUntil([&] { return form->model().settled() && form->model().hasPicture(); }));
  const model::MapLayers& layers = form->model().layers();
  ASSERT_EQ(layers.picture()->width(), layers.width());
  int passes = 0;
  QObject::connect(&form->model(), &model::MapModel::passFinished, [&] { ++passes; });
  form->resize(form->width() + 40, form->height());
  form->resize(form->width() + 40, form->height());
  EXPECT_NE(layers.picture()->width(), layers.width());  // stretched meanwhile
  EXPECT_TRUE(form->model().redrawAfterResizePending());
  EXPECT_EQ(passes, 0);
  ASSERT_TRUE(waitUntil([&] { return passes == 1 && form->model().settled(); }, 10000));
  EXPECT_EQ(layers.picture()->width(), layers.width());
  EXPECT_FALSE(form->model().redrawAfterResizePending());
}

// At a pixel ratio of 2 the map has twice the pixels; all else stays in logical pixels.
TEST_F(FormLayoutTest, TheMapIsDrawnAtDevicePixels) {
  writeOutlines(2);
  struct Seen {
    int layer = 0;
    int picture = 0;
    QPoint marker;
    QString readout;
    std::string ini;
  };
  std::vector<Seen> seen;
  for (const double ratio : {1.0, 2.0}) {
    form.reset();
    writeIni("[Settings]\nPixelwidth=500\nMaxDx=3000\nLatHere=0\nLonHere=0\n");
    pixelRatio = ratio;
    showForm();
    form->model().cmdDraw_Click();
    EXPECT_TRUE(waitUntil([&] { return form->model().settled() && form->model().hasPicture(); }));
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
    Seen s;
    s.layer = form->model().layers().width();
    s.picture = form->model().layers().picture()->width();
    s.marker = form->spotLayer().lblSpots(1)->pos();
    s.readout =
        form->controls().lblDirDisplay->text() + " " + form->controls().lblDxDisplay->text();
    form->close();
    s.ini = iniText();
    seen.push_back(s);
  }
  EXPECT_EQ(seen[0].layer, 500);
  EXPECT_EQ(seen[1].layer, 1000);
  EXPECT_EQ(seen[1].picture, 1000);
  EXPECT_EQ(seen[1].marker, seen[0].marker);
  EXPECT_EQ(seen[1].readout, seen[0].readout);
  EXPECT_EQ(seen[0].readout, QString::fromUtf8("90\u00b0 2988 mi"));
  // The stored width (under the spelling the file already has) stays 500 at either ratio.
  for (const Seen& s : seen) EXPECT_NE(s.ini.find("Pixelwidth= 500\n"), std::string::npos) << s.ini;
}

}  // namespace
}  // namespace orbelle::shell::test
