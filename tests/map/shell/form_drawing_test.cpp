// Drawing from the window: a pass and its window state, cancelling, events meanwhile.

#include "form_fixture.hpp"

namespace orbelle::shell::test {
namespace {

using FormDrawingTest = FormTest;

// A pass disables the panel's buttons, reports a missing file, goes on, and caches the map.
TEST_F(FormDrawingTest, APassShowsItsStateReportsMissingFilesAndCachesTheMap) {
  writeOutlines(3, "country.pnt");
  Form1& f = showForm();
  const Form1::Controls& c = f.controls();
  c.cmdSetup->click();
  bool duringPass = false;
  messages.whileShown = [&] {
    duringPass = !c.FrameSetup->isVisible() && !c.cmdSetup->isEnabled() &&
                 !c.cmdSavePict->isEnabled() && c.cmdCancel->isEnabled() &&
                 f.cursor().shape() == Qt::WaitCursor;
  };
  c.cmdDraw->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("File %1/mapdata/country.pnt does not exist").arg(dir.path()));
  EXPECT_EQ(messages.shown[0].title, "orbelle");
  EXPECT_TRUE(duringPass);
  EXPECT_TRUE(c.cmdSetup->isEnabled() && c.cmdSavePict->isEnabled() && !c.cmdCancel->isEnabled());
  EXPECT_NE(f.cursor().shape(), Qt::WaitCursor);
  EXPECT_FALSE(c.FrameSetup->isVisible());  // stays hidden after the pass
  EXPECT_TRUE(f.model().state().MapCached && f.model().layers().pictureVisible());
  // Whole Earth: black outside the rim in the corner.
  EXPECT_EQ(raster::readBmp(path(QStringLiteral("MapCache.bmp"))).pixel(0, 0), raster::kBlack);
}

// Cancel keeps the old cache counted; resizes during the pass snap back.
TEST_F(FormDrawingTest, CancelledPassKeepsTheCacheAndResizesDuringItSnapBack) {
  writeOutlines(60);
  writeMap(50, raster::rgb(9, 9, 9));
  Form1& f = showForm();
  const QSize size = f.size();
  const int side = f.model().layers().width();
  QTimer::singleShot(0, &f, [&] {
    f.resize(size.width() + 60, size.height());
    f.SetPixelSize(300);
    EXPECT_TRUE(f.controls().cmdCancel->isEnabled());
    f.controls().cmdCancel->click();
    EXPECT_FALSE(f.controls().cmdCancel->isEnabled());
  });
  f.controls().cmdDraw->click();
  EXPECT_TRUE(f.model().CancelDraw());
  EXPECT_TRUE(f.model().state().MapCached);
  EXPECT_FALSE(f.model().layers().pictureVisible());  // hidden until the next completed pass
  EXPECT_EQ(f.model().layers().shown().pixel(0, 0), raster::kBlack);  // the partly drawn map
  EXPECT_EQ(f.size(), size);
  EXPECT_EQ(f.model().layers().width(), side);
  EXPECT_EQ(f.controls().Picture1->width(), side + 2 * kSurfaceBorderPixels);
}

TEST_F(FormDrawingTest, PassRequestedDuringTheSaveDialogRunsAfterIt) {
  writeOutlines(2);
  writeMap(50, raster::rgb(9, 9, 9));
  Form1& f = showForm();
  bool passInsideDialog = false;
  saveDialog.whileShown = [&] {
    f.model().cmdDraw_Click();
    passInsideDialog = f.model().passRunning() || f.model().layers().picture()->width() != 50;
  };
  f.controls().cmdSavePict->click();
  EXPECT_FALSE(passInsideDialog);
  EXPECT_TRUE(waitUntil(
      [&] { return f.model().layers().picture()->width() == f.model().layers().width(); }));
}

}  // namespace
}  // namespace orbelle::shell::test
