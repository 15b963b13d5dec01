// Loading and unloading the window: defaults, UTC offset, settings round trip and the close rule.

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QWindow>

#include "form_fixture.hpp"
#include "model/map_layers.hpp"
#include "raster/qt/picture_file.hpp"

namespace orbelle::shell::test {
namespace {

using FormLoadTest = FormTest;

// The close box: a close request that is not the program's own.
void closeBox(Form1& form) {
  QCloseEvent event;
  QCoreApplication::sendEvent(&form, &event);
}

TEST_F(FormLoadTest, DefaultsWithoutSettingsFile) {
  Form1& f = loadForm();
  const Form1::Controls& c = f.controls();
  EXPECT_EQ(c.txtLatHere->text(), "33.9");
  EXPECT_EQ(c.txtLonHere->text(), "-84.179");
  // 12437.565... rounds to 12438, which the miles field bounds to 12437.
  EXPECT_EQ(c.txtMaxDxMi->text(), "12437");
  EXPECT_EQ(c.txtMaxDxKm->text(), "20015");
  EXPECT_EQ(f.model().state().plane.MaxDx, 12437);
  EXPECT_EQ(c.txtUTCOffset->text(), "5");
  EXPECT_EQ(f.model().state().UTCOffsetSeconds, 18000.0);
  EXPECT_TRUE(c.chkShowSun->isChecked());
  EXPECT_FALSE(c.chkShowRivers->isChecked());
  EXPECT_FALSE(c.chkAlwaysOnTop->isChecked());
  EXPECT_TRUE(c.chkShowSpots->isChecked() && c.chkShowSpotBy->isChecked() &&
              c.chkShowConnectingLines->isChecked());
  EXPECT_EQ(f.model().state().MaxSpots, 25);
  EXPECT_EQ(f.model().layers().width(), 600);  // the stored width comes back exactly
  EXPECT_FALSE(f.model().state().MapCached);
  EXPECT_FALSE(f.model().state().PaintDeferred);
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
    ASSERT_TRUE(f.unloaded());
    const std::string ini = iniText();
    if (k.written) {
      EXPECT_NE(ini.find(k.written), std::string::npos) << ini;
    } else {
      EXPECT_EQ(ini.find("UTCOffset"), std::string::npos) << ini;
    }
  }
}

TEST_F(FormLoadTest, SettingsWrittenAtUnloadComeBackAtTheNextLoad) {
  Form1& f = showForm();
  const Form1::Controls& c = f.controls();
  c.cmdSetup->click();
  typeAndLeave(c.txtLatHere, QStringLiteral("51.25"), c.txtLonHere);
  typeAndLeave(c.txtLonHere, QStringLiteral("-1.5"), c.txtUTCOffset);
  typeAndLeave(c.txtUTCOffset, QStringLiteral("5.5"), c.txtMaxDxMi);
  typeAndLeave(c.txtMaxDxMi, QStringLiteral("3000"), c.txtMaxDxKm);
  c.chkShowRivers->click();
  c.chkShowSun->click();
  c.chkShowSpotBy->click();
  f.move(300, 200);
  f.SetPixelSize(450);
  const int width = f.model().layers().width();
  bool unloadedSeen = false;
  QObject::connect(&f.model(), &model::MapModel::unloadedChanged, [&] { unloadedSeen = true; });
  f.close();
  EXPECT_TRUE(unloadedSeen);
  EXPECT_TRUE(f.unloaded());

  const std::string ini = iniText();
  EXPECT_NE(ini.find("LatHere= 51.25\nLonHere=-1.5\nUTCOffset= 5.5\nMaxDx= 3000\nShowSun=No\n"
                     "ShowRivers=Yes\nMaxSpots= 25\nShowSpots=Yes\nShowSpotBy=No\n"
                     "ShowConnectingLines=No\nLeft= 4500\nTop= 3000\n"),
            std::string::npos)
      << ini;

  Form1& g = loadForm();
  EXPECT_EQ(g.model().state().plane.LatHere, 51.25);
  EXPECT_EQ(g.model().state().plane.LonHere, -1.5);
  EXPECT_EQ(g.model().state().UTCOffset, 6.0);  // a fraction comes back as a whole hour
  EXPECT_EQ(g.model().state().plane.MaxDx, 3000);
  EXPECT_EQ(g.controls().txtMaxDxKm->text(), "4827");
  EXPECT_FALSE(g.model().state().ShowSun);
  EXPECT_TRUE(g.model().state().ShowRivers);
  EXPECT_TRUE(g.controls().chkShowRivers->isChecked());
  EXPECT_FALSE(g.controls().chkShowSpotBy->isChecked());
  EXPECT_FALSE(g.controls().chkShowConnectingLines->isEnabled());
  EXPECT_EQ(g.model().layers().width(), width);
  EXPECT_EQ(g.leftTwips(), 4500.0);
  EXPECT_EQ(g.topTwips(), 3000.0);
}

// Stored values out of range are brought back; a cache that is no bitmap counts as none.
TEST_F(FormLoadTest, StoredValuesAreBoundedAndADamagedCacheIsNone) {
  writeIni("[Settings]\nLeft=20000\nTop=-300\nMaxDx=99999\n");
  QFile cache(path(QStringLiteral("MapCache.bmp")));
  ASSERT_TRUE(cache.open(QIODevice::WriteOnly));
  cache.write("BM not really a bitmap");
  cache.close();
  Form1& f = loadForm();
  EXPECT_EQ(f.leftTwips(), 14360.0);
  EXPECT_EQ(f.topTwips(), 0.0);
  EXPECT_EQ(f.model().state().plane.MaxDx, 12437);
  EXPECT_EQ(f.controls().txtMaxDxMi->text(), "12437");
  EXPECT_FALSE(f.model().state().MapCached);
  EXPECT_EQ(f.model().layers().picture(), nullptr);
  writeIni("[Settings]\nMaxDx=-4\n");
  EXPECT_EQ(loadForm().model().state().plane.MaxDx, 100);
}

// The cached map of an earlier run is shown at once, stretched over the (larger) surface.
TEST_F(FormLoadTest, CachedMapOfAnEarlierRunIsShownAtOnce) {
  raster::Surface map(300, 300, raster::rgb(0, 128, 0));
  map.plotPixel(299, 299, raster::rgb(255, 0, 0));
  raster::writeBmp(map, path(QStringLiteral("MapCache.bmp")));
  Form1& f = loadForm();
  EXPECT_TRUE(f.model().state().MapCached);
  ASSERT_NE(f.model().layers().picture(), nullptr);
  EXPECT_EQ(f.model().layers().picture()->pixel(299, 299), raster::rgb(255, 0, 0));
  EXPECT_EQ(f.model().layers().shown().pixel(0, 0), raster::rgb(0, 128, 0));
  EXPECT_EQ(f.model().layers().shown().pixel(599, 599), raster::rgb(255, 0, 0));
}

// The close box unloads the window, or only hides it once a server object existed.
TEST_F(FormLoadTest, CloseBoxUnloadsUnlessAServerObjectExisted) {
  for (const bool server : {false, true}) {
    SCOPED_TRACE(server ? "server" : "no server");
    QFile::remove(path(QStringLiteral("orbelle.ini")));
    Form1& f = showForm();
    f.model().setServerActive(server);
    bool ended = false;
    QObject::connect(&f.model(), &model::MapModel::unloadedChanged, [&] { ended = true; });
    closeBox(f);
    EXPECT_EQ(f.unloaded(), !server);
    EXPECT_EQ(ended, !server);
    EXPECT_FALSE(f.isVisible());
    EXPECT_EQ(iniText().empty(), server);
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
