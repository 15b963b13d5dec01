// The map cache and pictures: first start, night shading, saving, loading and refreshes.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>

#include "form_fixture.hpp"
#include "geometry/projection.hpp"
#include "model/map_layers.hpp"
#include "plane/map_plane.hpp"
#include "raster/qt/picture_file.hpp"
#include "shell/surface_widget.hpp"

namespace orbelle::shell::test {
namespace {

class FormCacheTest : public FormTest {
 protected:
  // A window whose cache holds a plain 64 × 64 map.
  Form1& withCachedMap() {
    raster::Surface map(64, 64, raster::rgb(0, 128, 0));
    map.plotPixel(10, 20, raster::rgb(255, 0, 0));
    raster::writeBmp(map, path(QStringLiteral("MapCache.bmp")));
    return showForm();
  }
};

// Without a cached map the first start says so and draws one; with one, nothing happens.
TEST_F(FormCacheTest, AStartWithoutACacheDrawsTheMap) {
  for (const bool cached : {false, true}) {
    SCOPED_TRACE(cached ? "cached" : "no cache");
    QFile::remove(path(QStringLiteral("MapCache.bmp")));
    if (cached) raster::writeBmp(raster::Surface(64, 64), path(QStringLiteral("MapCache.bmp")));
    writeOutlines(3);
    writeIni("[Settings]\nMaxDx=2000\n");
    Form1& f = loadForm();
    f.ShowAfterLoad();
    const QLabel* note = f.controls().lblDrawingNote;
    EXPECT_EQ(note->isVisible(), !cached);
    EXPECT_EQ(f.model().drawAsyncPending(), !cached);
    if (!cached) {
      EXPECT_TRUE(f.controls().Picture1->rect().contains(note->geometry()));
      EXPECT_EQ(note->text(), QString::fromUtf8("Drawing the map\u2026"));
      ASSERT_TRUE(
          waitUntil([&] { return f.model().settled() && f.model().state().MapCached; }, 20000));
      EXPECT_EQ(f.model().state().plane.MaxDx, 2000);
      EXPECT_EQ(f.model().layers().picture()->width(), f.model().layers().width());
    }
    EXPECT_FALSE(note->isVisible());
    f.close();
  }
}

// Sun over 75°W (noon, UTC-5, 20 March): night darkens by band until "Shade night" is off.
TEST_F(FormCacheTest, TheNightSideIsShadedUntilTheOptionIsOff) {
  raster::writeBmp(raster::Surface(600, 600, raster::rgb(0, 200, 0)),
                   path(QStringLiteral("MapCache.bmp")));
  Form1& f = showForm();
  ASSERT_TRUE(f.controls().chkShadeNight->isChecked());
  struct Place {
    double lat, lon;
    int shaded;  // green left when shaded, of 200
  };
  const Place places[] = {
      {33.9, -60.0, 200},  // day
      {0.0, 18.0, 162},    // the sun 3° below the horizon
      {0.0, 22.0, 137},    // 7°
      {0.0, 28.0, 118},    // 13°
      {0.0, 40.0, 100},    // 25°: night
      {-20.0, 105.0, 100},
  };
  const auto green = [&](const Place& p) {
    const geo::MapPlane& plane = f.model().state().plane;
    const raster::Surface& shown = f.model().layers().shown();
    const geo::PixelIndex i = geo::pixelIndexOf(
        plane, shown, geo::ProjectPoint(plane.LatHere, plane.LonHere, p.lat, p.lon));
    return raster::greenOf(shown.pixel(i.px, i.py).value_or(0));
  };
  f.model().redrawOverlay();
  for (const Place& p : places) EXPECT_EQ(green(p), p.shaded) << p.lat << "," << p.lon;
  f.controls().chkShadeNight->click();
  EXPECT_FALSE(f.model().state().ShadeNight);
  for (const Place& p : places) EXPECT_EQ(green(p), 200) << p.lat << "," << p.lon;
  f.close();
  EXPECT_NE(iniText().find("ShadeNight=No\n"), std::string::npos);
}

TEST_F(FormCacheTest, SaveLoopRefusesOtherExtensionsThenSaves) {
  Form1& f = withCachedMap();
  saveDialog.results = {{path(QStringLiteral("map.jpg")), true},
                        {path(QStringLiteral("map.bmp")), false}};
  bool drawingWhileShown = false;
  saveDialog.whileShown = [&] { drawingWhileShown = f.model().Drawing(); };
  f.controls().cmdSavePict->click();

  ASSERT_EQ(saveDialog.requests.size(), 2u);
  EXPECT_EQ(saveDialog.requests[0].filter, "Bitmap (*.bmp)|*.bmp");
  EXPECT_EQ(saveDialog.requests[0].defaultExtension, "bmp");
  EXPECT_EQ(saveDialog.requests[0].initialFolder, dir.path());
  EXPECT_TRUE(saveDialog.requests[0].overwritePrompt);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, "Can only save BMP format pictures.  Please try again");
  EXPECT_EQ(messages.shown[0].title, "Save Picture");
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Information);
  EXPECT_TRUE(drawingWhileShown);
  EXPECT_FALSE(f.model().Drawing());
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("map.jpg"))));
  // The saved picture is the cached map, without the overlay.
  const raster::Surface saved = raster::readBmp(path(QStringLiteral("map.bmp")));
  EXPECT_EQ(saved.width(), 64);
  EXPECT_EQ(saved.pixel(10, 20), raster::rgb(255, 0, 0));
  EXPECT_EQ(pixelsOf(saved, raster::rgb(255, 255, 0)), 0);
}

// No picture, a cancelled dialog, an unwritable file: what each says; the window stays usable.
TEST_F(FormCacheTest, SavesThatCannotHappenAreReported) {
  struct Case {
    bool cached;
    QString file;  // the dialog's answer; empty: cancelled
    std::size_t dialogs;
    const char* title;  // the message's; null: none
    MessageIcon icon;
  };
  const Case cases[] = {
      {false, QString(), 0, "Save Picture", MessageIcon::Information},
      {true, QString(), 1, nullptr, MessageIcon::None},
      {true, path(QStringLiteral("no-such-folder/map.bmp")), 1, "Save Picture", MessageIcon::Error},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.file.toStdString());
    QFile::remove(path(QStringLiteral("MapCache.bmp")));
    messages.shown.clear();
    saveDialog.requests.clear();
    if (!k.file.isEmpty()) saveDialog.results = {{k.file, false}};
    Form1& f = k.cached ? withCachedMap() : showForm();
    f.controls().cmdSavePict->click();
    EXPECT_EQ(saveDialog.requests.size(), k.dialogs);
    ASSERT_EQ(messages.shown.size(), k.title ? 1u : 0u);
    if (k.title && k.dialogs) {
      EXPECT_EQ(messages.shown[0].icon, k.icon);
    }
    if (k.title) {
      EXPECT_EQ(messages.shown[0].title, k.title);
    }
    EXPECT_FALSE(f.model().Drawing());
    EXPECT_TRUE(f.controls().cmdSavePict->isEnabled());
    if (!k.cached) {
      EXPECT_THROW(f.model().SaveImage(path(QStringLiteral("x.bmp"))), raster::PictureError);
    }
  }
  EXPECT_THROW(form->model().LoadImage(path(QStringLiteral("missing.bmp"))), raster::PictureError);
}

TEST_F(FormCacheTest, LoadedPictureStaysUntilARefreshBringsTheCacheBack) {
  Form1& f = withCachedMap();
  raster::writeBmp(raster::Surface(32, 32, raster::rgb(0, 0, 200)),
                   path(QStringLiteral("other.bmp")));
  f.model().LoadImage(path(QStringLiteral("other.bmp")));
  EXPECT_EQ(f.model().layers().picture()->width(), 32);
  f.model().SaveImage(path(QStringLiteral("copy.bmp")));
  EXPECT_EQ(raster::readBmp(path(QStringLiteral("copy.bmp"))).pixel(0, 0), raster::rgb(0, 0, 200));
  EXPECT_TRUE(f.model().state().MapCached);
  f.model().SunTimer_Timer();
  EXPECT_EQ(f.model().layers().picture()->width(), 64);
  // A cache removed meanwhile is no longer reloaded.
  QFile::remove(path(QStringLiteral("MapCache.bmp")));
  f.model().SunTimer_Timer();
  EXPECT_FALSE(f.model().state().MapCached);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormCacheTest, UnwritableCacheKeepsTheNewMapShownAndStopsCountingTheOldOne) {
  QDir(dir.path()).mkdir(QStringLiteral("cache"));
  raster::writeBmp(raster::Surface(64, 64, raster::rgb(9, 9, 9)),
                   path(QStringLiteral("cache/MapCache.bmp")));
  writeOutlines(2);
  model::ModelServices s = modelServices();
  s.cacheFile = path(QStringLiteral("cache/MapCache.bmp"));
  makeForm(s).Form_Load();
  form->show();
  ASSERT_TRUE(form->model().state().MapCached);
  // The cache's folder goes away: the pass cannot write its map there.
  ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("cache"), QStringLiteral("gone")));
  bool cachedWhenTold = true;
  messages.whileShown = [&] { cachedWhenTold = form->model().state().MapCached; };
  form->model().cmdDraw_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(cachedWhenTold);  // the old file no longer holds the map that is shown
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
  EXPECT_FALSE(form->model().state().MapCached);
  ASSERT_NE(form->model().layers().picture(), nullptr);
  EXPECT_EQ(form->model().layers().picture()->width(), form->model().layers().width());
  EXPECT_TRUE(form->model().layers().pictureVisible());
  // The refresh does not bring the old map back.
  form->model().SunTimer_Timer();
  EXPECT_EQ(form->model().layers().picture()->width(), form->model().layers().width());
  EXPECT_EQ(form->model().layers().picture()->pixel(0, 0), raster::kBlack);
}

TEST_F(FormCacheTest, RepaintsKeepTheOverlayWhileThePointerMoves) {
  Form1& f = withCachedMap();
  const raster::Rgb marker = raster::rgb(7, 7, 7);
  f.model().pointerMoved();
  f.model().DrawPoint(-50.0, 120.0, marker, 12);
  f.hide();
  f.show();  // a repaint: the layers are recomposed, and Form_Paint holds back
  processEvents();
  EXPECT_EQ(pixelsOf(f.model().layers().shown(), raster::rgb(255, 255, 0)), 0);
  f.model().SunTimer_Timer();  // any refresh ends the deferral
  f.model().layers().recompose();
  ASSERT_EQ(pixelsOf(f.model().layers().shown(), raster::rgb(255, 255, 0)), 0);
  f.hide();
  f.show();
  processEvents();
  EXPECT_GT(pixelsOf(f.model().layers().shown(), raster::rgb(255, 255, 0)), 0);
}

}  // namespace
}  // namespace orbelle::shell::test
