// Loading and unloading the window: shown settings, UTC offset, position, cache and the close rule.

#include <QCloseEvent>
#include <QWindow>

#include "form_fixture.hpp"

namespace orbelle::shell::test {
namespace {

using FormLoadTest = FormTest;

// The close box: a close request that is not the program's own.
void closeBox(Form1& form) {
  QCloseEvent event;
  QCoreApplication::sendEvent(&form, &event);
}

// The controls show the settings; place, size, boxes and always-on-top come back at the next load.
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
  const QRect before = f.geometry();
  c.chkAlwaysOnTop->click();  // keeps the window's place and size
  EXPECT_TRUE(f.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint) && f.isVisible());
  EXPECT_EQ(f.geometry(), before);
  f.close();
  EXPECT_TRUE(f.unloaded());
  EXPECT_NE(
      iniText().find("ShowSun=No\nShowRivers=Yes\nMaxSpots= 25\nShowSpots=Yes\nShowSpotBy=No\n"
                     "ShowConnectingLines=No\nLeft= 4500\nTop= 3000\n"),
      std::string::npos)
      << iniText();
  const Form1::Controls& d = showForm().controls();
  EXPECT_TRUE(d.chkShowRivers->isChecked() && !d.chkShowSpotBy->isChecked());
  EXPECT_FALSE(d.chkShowConnectingLines->isEnabled());
  EXPECT_EQ(form->model().layers().width(), width);
  EXPECT_EQ(QPointF(form->leftTwips(), form->topTwips()), QPointF(4500.0, 3000.0));
  EXPECT_TRUE(d.chkAlwaysOnTop->isChecked() &&
              form->windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(messages.shown.empty());
}

// The stored UTC offset wins; the system's is used but not stored unless the operator changes it.
TEST_F(FormLoadTest, UtcOffsetFromTheSettingsOrTheSystem) {
  const struct {
    const char* ini;
    double system;
    const char* typed;    // into the field before the unload; null: nothing typed
    const char* shown;    // after the load
    const char* written;  // the key's line after the unload; null: no such key
  } cases[] = {
      {"", -5.5, nullptr, "-5.5", nullptr},
      {"[Settings]\nUTCOffset=\n", 0.0, nullptr, "0", "UTCOffset=\n"},  // left as it was
      {"[Settings]\nUTCOffset= 3\n", -1.0, nullptr, "3", "UTCOffset= 3\n"},
      {"", -1.0, "2", "-1", "UTCOffset= 2\n"},
      {"", -1.0, "-1", "-1", nullptr},
  };
  for (const auto& k : cases) {
    SCOPED_TRACE(std::string(k.ini) + " system " + std::to_string(k.system));
    QFile::remove(path(QStringLiteral("orbelle.ini")));
    if (*k.ini) writeIni(k.ini);
    hoursToUtc = k.system;
    const Form1::Controls& c = showForm().controls();
    EXPECT_EQ(c.txtUTCOffset->text(), k.shown);
    EXPECT_EQ(form->model().state().UTCOffsetSeconds, 3600.0 * c.txtUTCOffset->text().toDouble());
    if (k.typed) {
      c.cmdSetup->click();
      typeAndLeave(c.txtUTCOffset, QString::fromLatin1(k.typed), c.txtMaxDxMi);
    }
    form->close();
    EXPECT_EQ(iniText().find(k.written ? k.written : "UTCOffset") != std::string::npos,
              k.written != nullptr)
        << iniText();
  }
}

// The close box unloads, or only hides once a server object existed; in a pass it unloads after.
TEST_F(FormLoadTest, CloseBoxUnloadsUnlessAServerObjectExistedOrAfterAPass) {
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
