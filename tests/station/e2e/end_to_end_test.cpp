// The orbelle-station program with the map in this process, Hamlib's dummy daemons, a cluster node.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QPushButton>
#include <cmath>

#include "bus/bus_object_ref.hpp"
#include "core/band.hpp"
#include "e2e/station_process.hpp"
#include "peers/cty_excerpt.hpp"
#include "peers/fake_peer.hpp"
#include "peers/hamlib_daemon.hpp"
#include "peers/wsjtx_sender.hpp"
#include "spots/spot_list.hpp"
#include "support/map_on_bus.hpp"

namespace orbelle::station::test {
namespace {
using orbelle::test::waitUntil;

// A drawing pass, or the map's start by the bus, on a loaded machine.
constexpr int kSlowMs = 30000;

// A spot line made `minutesAgo` minutes ago by the clock; its time as the map shows it.
QString spotTime(int minutesAgo) {
  return QDateTime::currentDateTimeUtc().addSecs(-60 * minutesAgo).toString("hhmm") + "Z";
}
QByteArray spotLine(const char* spotter, const char* kHz, const char* call, const QString& time,
                    const char* comment = "CW") {
  return QStringLiteral("DX de %1: %2 %3 %4 %5\r\n")
      .arg(spotter, kHz, call, comment, time)
      .toLatin1();
}

class StationWithMap : public orbelle::test::MapOnBus {
 protected:
  void SetUp() override {
    registerBusObjectRef();
    MapOnBus::SetUp();
    if (HasFatalFailure()) return;
    // A pass the window may have started by itself must not count as the station's.
    ASSERT_TRUE(waitUntil([&] { return !model->Drawing(); }, kSlowMs));
    QFile::remove(path(QStringLiteral("MapCache.bmp")));
    QFile file(path(QStringLiteral("cty.dat")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kCtyExcerpt);
  }
  void TearDown() override {
    if (station.running()) {
      EXPECT_EQ(station.stop(), 0) << output();
    }
    EXPECT_TRUE(messages.shown.empty()) << "the map showed a message";
    MapOnBus::TearDown();
  }

  // Starts the station and waits until the map holds its callback object and has drawn.
  void startStation(const QStringList& arguments) {
    ASSERT_TRUE(station.start(arguments));
    ASSERT_TRUE(waitUntil(
        [&] {
          return !callbackService().isEmpty() &&
                 QFile::exists(path(QStringLiteral("MapCache.bmp"))) && !model->Drawing();
        },
        kSlowMs))
        << output();
  }
  QStringList at(const char* option, int port) const {
    return {QLatin1String(option), QStringLiteral("127.0.0.1:%1").arg(port)};
  }
  bool waitForOutput(const char* part) {
    return waitUntil([&] { return station.count(QString::fromUtf8(part)) == 1; }, kSlowMs);
  }
  std::string output() const { return station.output().toStdString(); }

  StationProcess station;
};

// South stop: west is -90; the stop button stops it; decodes age out meanwhile.
TEST_F(StationWithMap, PressesTurnTheRotatorStopRotorStopsItAndDecodesAgeOut) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  ASSERT_TRUE(rotctld.start());
  const int port = freePort();
  startStation(at("--rotctld", rotctld.port()) +
               QStringList{"--rotator-stop", "south", "--wsjtx", QString::number(port), "--cty",
                           path("cty.dat"), "--max-age", "6s", "--utc-offset", "-1"});
  EXPECT_EQ(model->state().UTCOffset, -1.0);
  WsjtxSender wsjtx;
  const QTime now = QDateTime::currentDateTimeUtc().time();
  const QByteArray japan = wsjtx.decode(now, -7, 600, "DL1ABC JA1ABC R-07");
  for (const QByteArray& datagram :
       {wsjtx.heartbeat("2.6.1"), wsjtx.status(14074000, "FT8", "DL1ABC", "JO62"), japan,
        japan.chopped(3), QByteArray(7, '\xad'), wsjtx.decode(now, 0, 0, "CQ XX9ZZ"),
        wsjtx.close()}) {
    ASSERT_EQ(wsjtx.send(datagram, port), datagram.size());
  }
  EXPECT_TRUE(waitForOutput("spot: JA1ABC 14074 FT8 by DL1ABC (Japan)")) << output();

  const int c = form->controls().Picture1->imageRect().width() / 2;
  ASSERT_EQ(readoutHeading(0, c), 270);
  mouse(QEvent::MouseButtonPress, 0, c, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return rotctld.number("p") < -2.0; }, kSlowMs)) << output();
  EXPECT_EQ(station.count(QStringLiteral(": P -90.0 0\n")), 1) << output();
  form->controls().cmdStopRotor->click();
  ASSERT_TRUE(waitForOutput(": S\n")) << output();
  // The map shows where the rotor points, from north.
  EXPECT_TRUE(waitUntil(
      [&] {
        return std::fabs(model->state().AntennaHeading - (rotctld.number("p") + 360.0)) < 1.0;
      },
      kSlowMs))
      << model->state().AntennaHeading;
  rotctld.stop();
  EXPECT_TRUE(waitUntil([&] { return std::isnan(model->state().AntennaHeading); }, kSlowMs));

  EXPECT_TRUE(waitForOutput("1 spots older than --max-age removed from the map")) << output();
  EXPECT_TRUE(waitUntil([&] { return shownSpots().empty(); }, kSlowMs));
  EXPECT_EQ(station.stop(), 0);
  EXPECT_TRUE(
      waitForOutput("WSJT-X: 7 datagrams, 2 unreadable, 1 decodes without a spot; spots: "
                    "1 shown, 0 filtered out, 0 duplicates, 0 too old, 1 aged out"))
      << output();
}

// Cluster spots filtered, de-duplicated, aged; a press tunes the rig; the map restarts.
TEST_F(StationWithMap, ClusterSpotsReachTheMapAndAPressOnOneTunesTheRig) {
  HamlibDaemon rigctld(QStringLiteral("rigctld"));
  ASSERT_TRUE(rigctld.start());
  const QString now = spotTime(0);
  // Replaced, older duplicate, malformed, unplaced, 15 m filtered out, too old.
  const QByteArray spots = spotLine("W3LPL", "14190.0", "VP8LP", spotTime(1)) +
                           spotLine("EA5WU-#", "14195.0", "VP8LP", now, "up 5 tnx QSO") +
                           spotLine("K1TTT", "14200.0", "VP8LP", spotTime(2)) +
                           spotLine("W3LPL", "14025.0", "ZS6AAA", "2460Z") +
                           spotLine("W3LPL", "14025.0", "XX9ZZ", now) +
                           spotLine("XX9ZZ", "7023.1", "JA1ABC", now, "CW 12 dB 25 WPM CQ") +
                           spotLine("W3LPL", "21025.0", "ZS6AAA", now) +
                           spotLine("W3LPL", "14030.0", "JA1ABC", spotTime(120));
  FakePeer node;
  ASSERT_TRUE(node.listen());
  node.onConnection = [](FakePeer& peer) { peer.send("Welcome\r\nlogin: "); };
  node.onLine = [spots](FakePeer& peer, const QByteArray& line) {
    if (line == "K1ABC") peer.send(spots);
  };
  startStation(at("--rigctld", rigctld.port()) + at("--cluster", node.port()) +
               QStringList{"--call", "K1ABC", "--cty", path("cty.dat"), "--latitude", "40",
                           "--longitude", "-75", "--max-dx-mi", "12437", "--bands", "20m,40m",
                           "--max-age", "60"});
  const QString falklands =
      "VP8LP (by EA5WU-#) 14195 SSB " + now + " up 5 tnx QSO, Falkland Islands";
  const QString japan = "JA1ABC (by XX9ZZ) 7023.1 CW " + now + " CW 12 dB 25 WPM CQ, Japan";
  ASSERT_TRUE(waitUntil([&] { return marker(falklands) && marker(japan); }, kSlowMs)) << output();
  EXPECT_EQ(station.count(QStringLiteral("map ready: server object /server/")), 1) << output();
  // AddSpot's fields where the map keeps them: VP8's place, the spotter's (Spain), split up 5.
  const spots::SpotList& list = model->spots();
  int slot = 1;
  while (slot < list.MaxSpots() && list.slot(slot).markers.spotText.rfind("VP8LP (by EA5", 0))
    ++slot;
  const spots::SpotRow& r = list.slot(slot).row;
  EXPECT_EQ(std::tie(r.LatDeg, r.LonDeg, r.Color, r.SpotByLat, r.SpotByLon, r.SpotFreqTX),
            std::tuple(-51.63, -58.72, bandColor(14195.0), 40.37, -4.88, 14200.0));
  press(marker(falklands));
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("i", 1) == QStringList{"14200000"}; }, kSlowMs))
      << output();
  EXPECT_EQ(rigctld.query("s", 2), (QStringList{"1", "VFOB"}));
  EXPECT_TRUE(waitForOutput("no rotctld given: rotor request ignored")) << output();

  const std::vector<std::string> shown = shownSpots();
  closeMap();
  openMap();
  ASSERT_TRUE(waitUntil([&] { return shownSpots() == shown; }, kSlowMs)) << output();
  EXPECT_EQ(station.count(QStringLiteral("map ready again")), 1) << output();
  EXPECT_EQ(station.stop(), 0);
  EXPECT_EQ(automation->serverCount(), 0u);
  EXPECT_EQ(station.count(QStringLiteral("cluster: 7 spots, 1 unreadable spot lines, 1 spots not "
                                         "placed, 1 sessions; spots: 3 shown, 1 filtered out, 2 "
                                         "duplicates, 1 too old, 0 aged out")),
            1)
      << output();
}

}  // namespace
}  // namespace orbelle::station::test
