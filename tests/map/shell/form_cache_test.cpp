// The map cache and pictures: first start, night shading, saving, loading and refreshes.

#include "form_fixture.hpp"
#include "geometry/projection.hpp"
#include "plane/map_plane.hpp"

namespace orbelle::shell::test {
namespace {

using FormCacheTest = FormTest;
const raster::Rgb kGreen = raster::rgb(0, 128, 0);
const raster::Rgb kSun = raster::rgb(255, 255, 0);

// Without a cached map (a file that is no bitmap is none) the start says so and draws one.
TEST_F(FormCacheTest, AStartWithoutACacheDrawsTheMap) {
  writeOutlines(3);
  QFile damaged(path(QStringLiteral("MapCache.bmp")));
  ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write("BM not a bitmap") > 0);
  damaged.close();
  for (const bool cached : {false, true}) {
    SCOPED_TRACE(cached);
    if (cached) writeMap(64, kGreen);
    Form1& f = loadForm();
    f.ShowAfterLoad();
    const QLabel* note = f.controls().lblDrawingNote;
    EXPECT_EQ(note->isVisible(), !cached);
    EXPECT_EQ(f.model().layers().shown().pixel(599, 599) == kGreen, cached);  // stretched, at once
    if (!cached) {
      EXPECT_TRUE(f.controls().Picture1->rect().contains(note->geometry()));
      ASSERT_TRUE(waitUntil([&] { return f.model().settled() && f.model().state().MapCached; }));
      EXPECT_EQ(f.model().layers().picture()->width(), f.model().layers().width());
    }
    EXPECT_FALSE(note->isVisible());
  }
}

// Sun over 75°W (noon, UTC-5, 20 March): night darkens the map until "Shade night" is off.
TEST_F(FormCacheTest, TheNightSideIsShadedUntilTheOptionIsOff) {
  writeMap(600, raster::rgb(0, 200, 0));
  Form1& f = showForm();
  const auto green = [&](double lat, double lon) {  // 200 by day, 100 at night, in between at dusk
    const geo::MapPlane& plane = f.model().state().plane;
    const raster::Surface& shown = f.model().layers().shown();
    const geo::PixelIndex i =
        geo::pixelIndexOf(plane, shown, geo::ProjectPoint(plane.LatHere, plane.LonHere, lat, lon));
    return raster::greenOf(shown.pixel(i.px, i.py).value_or(0));
  };
  f.model().redrawOverlay();
  EXPECT_EQ(std::vector<int>({green(33.9, -60.0), green(0.0, 18.0), green(-20.0, 105.0)}),
            std::vector<int>({200, 162, 100}));
  f.controls().chkShadeNight->click();
  EXPECT_EQ(green(-20.0, 105.0), 200);
}

// "Save picture" saves the cached map, refuses other extensions, or says why it cannot.
TEST_F(FormCacheTest, SavePictureSavesTheMapOrSaysWhyNot) {
  const QString bmp = path(QStringLiteral("map.bmp"));
  const QString jpg = path(QStringLiteral("map.jpg"));
  const QString unwritable = path(QStringLiteral("no-such-folder/map.bmp"));
  const struct {
    bool cached;
    std::deque<SaveDialogResult> answers;
    std::size_t dialogs;
    MessageIcon icon;  // of the one message; None: no message
  } cases[] = {
      {false, {}, 0, MessageIcon::Information},  // no picture yet
      {true, {}, 1, MessageIcon::None},          // cancelled
      {true, {{unwritable, false}}, 1, MessageIcon::Error},
      {true, {{jpg, true}, {bmp, false}}, 2, MessageIcon::Information},  // only BMP; then saved
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(k.dialogs);
    QFile::remove(path(QStringLiteral("MapCache.bmp")));
    messages.shown.clear();
    saveDialog.requests.clear();
    saveDialog.results = k.answers;
    if (k.cached) writeMap(64, kGreen);
    showForm().controls().cmdSavePict->click();
    EXPECT_EQ(saveDialog.requests.size(), k.dialogs);
    ASSERT_EQ(messages.shown.size(), k.icon == MessageIcon::None ? 0u : 1u);
    EXPECT_TRUE(messages.shown.empty() ||
                (messages.shown[0].title == "Save Picture" && messages.shown[0].icon == k.icon));
    EXPECT_FALSE(form->model().Drawing());
  }
  EXPECT_EQ(saveDialog.requests[0].filter, "Bitmap (*.bmp)|*.bmp");
  EXPECT_EQ(saveDialog.requests[0].initialFolder, dir.path());
  EXPECT_FALSE(QFile::exists(jpg));
  const raster::Surface saved = raster::readBmp(bmp);
  EXPECT_EQ(pixelsOf(saved, kGreen), 64 * 64);  // no overlay
  // A picture loads; a cache removed meanwhile no longer counts at the next refresh.
  EXPECT_THROW(form->model().LoadImage(path(QStringLiteral("missing.bmp"))), raster::PictureError);
  form->model().LoadImage(path(QStringLiteral("map.bmp")));
  QFile::remove(path(QStringLiteral("MapCache.bmp")));
  form->model().SunTimer_Timer();
  EXPECT_FALSE(form->model().state().MapCached);
  EXPECT_THROW(loadForm().model().SaveImage(bmp), raster::PictureError);
}

// Guards a fault: a pass that cannot write the cache kept counting the old file as the map.
TEST_F(FormCacheTest, UnwritableCacheKeepsTheNewMapShownAndStopsCountingTheOldOne) {
  QDir(dir.path()).mkdir(QStringLiteral("cache"));
  writeMap(64, raster::rgb(9, 9, 9), "cache/MapCache.bmp");
  writeOutlines(2);
  model::ModelServices s = modelServices();
  s.cacheFile = path(QStringLiteral("cache/MapCache.bmp"));
  model::MapModel& m = loadForm(s).model();
  ASSERT_TRUE(m.state().MapCached);
  ASSERT_TRUE(QDir(dir.path()).rename(QStringLiteral("cache"), QStringLiteral("gone")));
  bool cachedWhenTold = true;
  messages.whileShown = [&] { cachedWhenTold = m.state().MapCached; };
  m.cmdDraw_Click();
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_FALSE(cachedWhenTold);
  EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
  EXPECT_TRUE(m.layers().pictureVisible());
  m.SunTimer_Timer();  // the refresh does not bring the old map back
  EXPECT_FALSE(m.state().MapCached);
  EXPECT_EQ(m.layers().picture()->width(), m.layers().width());
  EXPECT_EQ(m.layers().picture()->pixel(0, 0), raster::kBlack);
}

}  // namespace
}  // namespace orbelle::shell::test
