// Drawing from the window: a pass and its window state, cancelling, DrawAsync, events meanwhile.

#include <QCursor>
#include <QFile>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

#include "form_fixture.hpp"
#include "layout_rules.hpp"
#include "model/map_layers.hpp"
#include "raster/qt/picture_file.hpp"
#include "shell/surface_widget.hpp"

namespace orbelle::shell::test {
namespace {

using FormDrawingTest = FormTest;

QByteArray fileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A pass disables the panel's buttons, reports a missing file, goes on, and caches the map.
TEST_F(FormDrawingTest, APassShowsItsStateReportsMissingFilesAndCachesTheMap) {
  writeOutlines(3, "country.pnt");
  Form1& f = showForm();
  f.controls().cmdSetup->click();
  bool panelHidden = false, optionsOff = false, saveOff = false, cancelOn = false, busy = false;
  messages.whileShown = [&] {
    panelHidden = !f.controls().FrameSetup->isVisible();
    optionsOff = !f.controls().cmdSetup->isEnabled();
    saveOff = !f.controls().cmdSavePict->isEnabled();
    cancelOn = f.controls().cmdCancel->isEnabled();
    busy = f.cursor().shape() == Qt::WaitCursor;
  };
  f.controls().cmdDraw->click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text,
            QStringLiteral("File %1/mapdata/country.pnt does not exist").arg(dir.path()));
  EXPECT_EQ(messages.shown[0].title, "orbelle");
  EXPECT_TRUE(panelHidden && optionsOff && saveOff && cancelOn && busy);
  EXPECT_TRUE(f.controls().cmdSetup->isEnabled() && f.controls().cmdSavePict->isEnabled());
  EXPECT_FALSE(f.controls().cmdCancel->isEnabled());
  EXPECT_NE(f.cursor().shape(), Qt::WaitCursor);
  EXPECT_FALSE(f.controls().FrameSetup->isVisible());  // stays hidden after the pass
  EXPECT_FALSE(f.model().passRunning() || f.model().Drawing());
  EXPECT_TRUE(f.model().state().MapCached && f.model().layers().pictureVisible());
  const raster::Surface cached = raster::readBmp(path(QStringLiteral("MapCache.bmp")));
  EXPECT_EQ(cached.width(), f.model().layers().width());
  // Whole Earth: black outside the rim in the corner.
  EXPECT_EQ(cached.pixel(0, 0), raster::kBlack);
  EXPECT_EQ(f.model().layers().picture()->pixel(0, 0), raster::kBlack);
  EXPECT_EQ(f.model().layers().mapLayer().pixel(0, 0), raster::kWhite);
  EXPECT_TRUE(f.model().sunTimerActive());
}

TEST_F(FormDrawingTest, CancelledPassLeavesTheCacheAsItWas) {
  writeOutlines(60);
  raster::writeBmp(raster::Surface(50, 50, raster::rgb(9, 9, 9)),
                   path(QStringLiteral("MapCache.bmp")));
  const QByteArray before = fileBytes(path(QStringLiteral("MapCache.bmp")));
  Form1& f = showForm();
  ASSERT_TRUE(f.model().state().MapCached);
  QTimer::singleShot(0, &f, [&] {
    EXPECT_TRUE(f.controls().cmdCancel->isEnabled());
    f.controls().cmdCancel->click();
    EXPECT_FALSE(f.controls().cmdCancel->isEnabled());
  });
  f.controls().cmdDraw->click();
  EXPECT_TRUE(f.model().CancelDraw());
  EXPECT_FALSE(f.model().Drawing());
  EXPECT_EQ(fileBytes(path(QStringLiteral("MapCache.bmp"))), before);
  EXPECT_TRUE(f.model().state().MapCached);
  EXPECT_FALSE(f.model().layers().pictureVisible());  // hidden until the next completed pass
  // The partly drawn map stays on the map layer, and shows.
  EXPECT_EQ(f.model().layers().shown().pixel(0, 0), raster::kBlack);
}

TEST_F(FormDrawingTest, DrawAsyncRunsThePassFromTheOneShotTimer) {
  writeOutlines(2);
  Form1& f = showForm();
  EXPECT_FALSE(f.model().drawAsyncPending());
  f.model().DrawAsync();
  EXPECT_FALSE(f.model().state().MapCached);  // nothing yet: the call returned at once
  EXPECT_TRUE(waitUntil([&] { return f.model().state().MapCached; }));
  EXPECT_FALSE(f.model().drawAsyncPending());
}

TEST_F(FormDrawingTest, PassRequestedDuringTheSaveDialogRunsAfterIt) {
  writeOutlines(2);
  raster::writeBmp(raster::Surface(50, 50, raster::rgb(9, 9, 9)),
                   path(QStringLiteral("MapCache.bmp")));
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

TEST_F(FormDrawingTest, ResizeDuringAPassSnapsBack) {
  writeOutlines(20);
  Form1& f = showForm();
  const QSize before = f.size();
  const double surface = f.surfaceWidthTwips();
  const int side = f.model().layers().width();
  QTimer::singleShot(0, &f, [&] {
    f.resize(before.width() + 60, before.height());
    f.SetPixelSize(300);
  });
  f.controls().cmdDraw->click();
  EXPECT_EQ(f.size(), before);
  EXPECT_EQ(f.surfaceWidthTwips(), surface);
  EXPECT_EQ(f.model().layers().width(), side);
  EXPECT_EQ(f.controls().Picture1->width(), side + 2 * kSurfaceBorderPixels);
}

}  // namespace
}  // namespace orbelle::shell::test
