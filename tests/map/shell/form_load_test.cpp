// Loading and unloading the window: shown settings, UTC offset, position, cache and the close rule.

#include <QCloseEvent>

#include "form_fixture.hpp"

namespace orbelle::shell::test {
namespace {

using FormLoadTest = FormTest;

// The close box: a close request that is not the program's own.
void closeBox(Form1& form) {
  QCloseEvent event;
  QCoreApplication::sendEvent(&form, &event);
}

// The controls show the settings; the window's place, size and boxes come back at the next load.
TEST_F(FormLoadTest, SettingsAreShownWrittenAtUnloadAndLoadedAgain) {
  Form1& f = showForm();
  const Form1::Controls& c = f.controls();
  EXPECT_EQ(c.txtLatHere->text() + c.txtLonHere->text() + c.txtUTCOffset->text(), "33.9-84.1795");
  EXPECT_EQ(c.txtMaxDxMi->text() + " " + c.txtMaxDxKm->text(), "12437 20015");
  EXPECT_TRUE(c.chkShowSun->isChecked() && !c.chkShowRivers->isChecked());
  EXPECT_EQ(f.model().layers().width(), 600);  // the stored width comes back exactly
  c.chkShowSun->click();
  c.chkShowRivers->click();
  c.chkShowSpotBy->click();
  f.move(300, 200);
  f.SetPixelSize(450);
  const int width = f.model().layers().width();
  f.close();
  EXPECT_TRUE(f.unloaded());
  EXPECT_NE(iniText().find("ShowSun=No\nShowRivers=Yes\n"), std::string::npos);
  EXPECT_NE(iniText().find("ShowSpotBy=No\nShowConnectingLines=No\nLeft= 4500\nTop= 3000\n"),
            std::string::npos)
      << iniText();
  Form1& g = loadForm();
  EXPECT_TRUE(g.controls().chkShowRivers->isChecked());
  EXPECT_FALSE(g.controls().chkShowSpotBy->isChecked());
  EXPECT_FALSE(g.controls().chkShowConnectingLines->isEnabled());
  EXPECT_EQ(g.model().layers().width(), width);
  EXPECT_EQ(QPointF(g.leftTwips(), g.topTwips()), QPointF(4500.0, 3000.0));
  EXPECT_TRUE(messages.shown.empty());
}

// The stored UTC offset wins; the system's is used but not stored unless the operator changes it.
TEST_F(FormLoadTest, UtcOffsetFromTheSettingsOrTheSystem) {
  struct Case {
    const char* ini;
    double system;
    const char* typed;  // into the field before the unload; null: nothing typed
    const char* shown;
    double seconds;
    const char* written;  // the key's line after the unload; null: no such key
  };
  const Case cases[] = {
      {"", -5.5, nullptr, "-5.5", -19800.0, nullptr},
      {"[Settings]\nUTCOffset=\n", 0.0, nullptr, "0", 0.0, "UTCOffset=\n"},  // left as it was
      {"[Settings]\nUTCOffset= 3\n", -1.0, nullptr, "3", 10800.0, "UTCOffset= 3\n"},
      {"[Settings]\nUTCOffset= -1\n", -1.0, nullptr, "-1", -3600.0, "UTCOffset=-1\n"},
      {"", -1.0, "2", "-1", -3600.0, "UTCOffset= 2\n"},
      {"", -1.0, "-1", "-1", -3600.0, nullptr},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(std::string(k.ini) + " system " + std::to_string(k.system));
    QFile::remove(path(QStringLiteral("orbelle.ini")));
    if (*k.ini) writeIni(k.ini);
    hoursToUtc = k.system;
    Form1& f = showForm();
    const Form1::Controls& c = f.controls();
    EXPECT_EQ(c.txtUTCOffset->text(), k.shown);
    EXPECT_EQ(f.model().state().UTCOffsetSeconds, k.seconds);
    if (k.typed) {
      c.cmdSetup->click();
      typeAndLeave(c.txtUTCOffset, QString::fromLatin1(k.typed), c.txtMaxDxMi);
    }
    f.close();
    const std::string ini = iniText();
    EXPECT_EQ(ini.find(k.written ? k.written : "UTCOffset") != std::string::npos,
              k.written != nullptr)
        << ini;
  }
}

// A place off the screen is brought back; a damaged cache is none, a good one shown stretched.
TEST_F(FormLoadTest, StoredPlaceIsBoundedAndTheCacheShownOrIgnored) {
  writeIni("[Settings]\nLeft=20000\nTop=-300\n");
  QFile cache(path(QStringLiteral("MapCache.bmp")));
  ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
  cache.write("BM not really a bitmap");
  cache.close();
  Form1& f = loadForm();
  EXPECT_EQ(QPointF(f.leftTwips(), f.topTwips()), QPointF(14360.0, 0.0));
  EXPECT_FALSE(f.model().state().MapCached);
  EXPECT_EQ(f.model().layers().picture(), nullptr);
  raster::Surface map(300, 300, raster::rgb(0, 128, 0));
  map.plotPixel(299, 299, raster::rgb(255, 0, 0));
  raster::writeBmp(map, path(QStringLiteral("MapCache.bmp")));
  const raster::Surface& shown = loadForm().model().layers().shown();
  EXPECT_EQ(shown.pixel(0, 0), raster::rgb(0, 128, 0));
  EXPECT_EQ(shown.pixel(599, 599), raster::rgb(255, 0, 0));
}

// The close box unloads the window, or only hides it once a server object existed.
TEST_F(FormLoadTest, CloseBoxUnloadsUnlessAServerObjectExisted) {
  for (const bool server : {false, true}) {
    SCOPED_TRACE(server);
    QFile::remove(path(QStringLiteral("orbelle.ini")));
    Form1& f = showForm();
    f.model().setServerActive(server);
    bool ended = false;
    QObject::connect(&f.model(), &model::MapModel::unloadedChanged, [&] { ended = true; });
    closeBox(f);
    EXPECT_EQ(ended, !server);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(iniText().find("[Settings]") != std::string::npos, !server);
    f.Unload();
    EXPECT_TRUE(f.unloaded() && ended);
  }
}

TEST_F(FormLoadTest, CloseDuringAPassCancelsItAndUnloadsAfterwards) {
  writeOutlines(40);
  Form1& f = showForm();
  bool ended = false;
  QObject::connect(&f.model(), &model::MapModel::unloadedChanged, [&] { ended = true; });
  bool wasRunning = false;
  QTimer::singleShot(0, &f, [&] {
    wasRunning = f.model().passRunning();
    closeBox(f);
  });
  f.controls().cmdDraw->click();
  EXPECT_TRUE(wasRunning);
  EXPECT_TRUE(f.model().CancelDraw());
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("MapCache.bmp"))));
  EXPECT_TRUE(waitUntil([&] { return ended; }));
}

}  // namespace
}  // namespace orbelle::shell::test
