// The whole station: the orbelle-station program with the map (in this process, on the private
// session bus), Hamlib's dummy rotator and rig, a DX cluster node and WSJT-X played by the test.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QPushButton>
#include <QTest>
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
using orbelle::test::MapOnBus;
using orbelle::test::waitUntil;

// A drawing pass, or the map's start by the bus, on a loaded machine.
constexpr int kSlowMs = 30000;

const QByteArray kFalklandsSpot =
    "DX de EA5WU-#:  14195.0  VP8LP        up 5 tnx QSO                   1359Z IM98\r\n";
const QByteArray kJapanSpot =
    "DX de XX9ZZ:     7023.1  JA1ABC       CW 12 dB 25 WPM CQ             2342Z\r\n";
const QByteArray kUnplacedSpot =
    "DX de W3LPL:    14025.0  XX9ZZ        CW                             1400Z\r\n";
const QByteArray kMalformedSpot =
    "DX de W3LPL:    14025.0  ZS6AAA       CW                             2460Z\r\n";
const QString kFalklandsText =
    QStringLiteral("VP8LP (by EA5WU-#) 14195 SSB 1359Z up 5 tnx QSO, Falkland Islands");
const QString kJapanText =
    QStringLiteral("JA1ABC (by XX9ZZ) 7023.1 CW 2342Z CW 12 dB 25 WPM CQ, Japan");

// A spot line made `minutesAgo` minutes ago by the clock.
QByteArray spotLine(const char* spotter, const char* kHz, const char* call, int minutesAgo) {
  const QString time =
      QDateTime::currentDateTimeUtc().addSecs(-60 * minutesAgo).toString(QStringLiteral("hhmm"));
  return QStringLiteral("DX de %1: %2 %3 CW %4Z\r\n")
      .arg(QLatin1String(spotter), QLatin1String(kHz), QLatin1String(call), time)
      .toLatin1();
}

class StationWithMap : public MapOnBus {
 protected:
  void SetUp() override {
    registerBusObjectRef();
    MapOnBus::SetUp();
    if (HasFatalFailure()) return;
    // A pass the window may have started by itself must not count as the station's.
    ASSERT_TRUE(waitUntil([&] { return !model->Drawing(); }, kSlowMs));
    QFile::remove(path(QStringLiteral("MapCache.bmp")));
    ctyFile = path(QStringLiteral("cty.dat"));
    QFile file(ctyFile);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(kCtyExcerpt);
  }
  void TearDown() override {
    if (station.running()) {
      EXPECT_EQ(station.stop(), 0) << station.output().toStdString();
    }
    EXPECT_TRUE(messages.shown.empty()) << "the map showed a message";
    MapOnBus::TearDown();
  }

  // Starts the station and waits until the map holds its callback object and has drawn.
  void startStation(const QStringList& arguments) {
    ASSERT_TRUE(station.start(arguments));
    ASSERT_TRUE(waitUntil([&] { return !callbackTarget().service.isEmpty(); }, kSlowMs))
        << station.output().toStdString();
    ASSERT_TRUE(waitUntil(
        [&] { return QFile::exists(path(QStringLiteral("MapCache.bmp"))) && !model->Drawing(); },
        kSlowMs))
        << station.output().toStdString();
  }
  QStringList at(const char* option, const HamlibDaemon& daemon) const {
    return {QLatin1String(option), QStringLiteral("127.0.0.1:%1").arg(daemon.port())};
  }
  QStringList clusterOptions(const FakePeer& node) const {
    return {QStringLiteral("--cluster"), QStringLiteral("127.0.0.1:%1").arg(node.port()),
            QStringLiteral("--call"),    QStringLiteral("K1ABC"),
            QStringLiteral("--cty"),     ctyFile};
  }
  int side() const { return imageSide(); }
  std::string output() const { return station.output().toStdString(); }

  StationProcess station;
  QString ctyFile;
};

// With its stop in the south, west is -90: the dummy rotator turns there through negative
// azimuths, and the map shows them as headings from north.
TEST_F(StationWithMap, PressesTurnTheRotatorStopRotorStopsItAndTheMapShowsItsHeading) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  ASSERT_TRUE(rotctld.start());
  startStation(at("--rotctld", rotctld) + QStringList{"--rotator-stop", "south"});
  const int c = side() / 2;
  // Just east of north, so that the dummy rotator gets there in a moment.
  const int heading = readoutHeading(c + 6, c - 60);
  ASSERT_GT(heading, 1);
  ASSERT_LT(heading, 20);
  mouse(QEvent::MouseButtonPress, c + 6, c - 60, Qt::LeftButton);
  EXPECT_TRUE(waitUntil([&] { return std::fabs(rotctld.number("p") - heading) < 0.5; }, kSlowMs))
      << rotctld.number("p") << "\n"
      << output();

  ASSERT_EQ(readoutHeading(0, c), 270);
  mouse(QEvent::MouseButtonPress, 0, c, Qt::LeftButton);
  ASSERT_TRUE(waitUntil([&] { return rotctld.number("p") < -2.0; }, kSlowMs)) << output();
  EXPECT_EQ(station.count(QStringLiteral(": P -90.0 0\n")), 1) << output();
  form->controls().cmdStopRotor->click();
  ASSERT_TRUE(waitUntil([&] { return station.count(QStringLiteral(": S\n")) == 1; }, kSlowMs))
      << output();
  // Stopped: the position no longer changes.
  double stoppedAt = rotctld.number("p");
  ASSERT_TRUE(waitUntil(
      [&] {
        const double now = rotctld.number("p");
        const bool still = now == stoppedAt;
        stoppedAt = now;
        return still;
      },
      kSlowMs));
  EXPECT_FALSE(waitUntil([&] { return rotctld.number("p") != stoppedAt; }, 700));
  EXPECT_GT(stoppedAt, -85.0);
  EXPECT_TRUE(waitUntil(
      [&] { return std::fabs(model->state().AntennaHeading - (stoppedAt + 360.0)) < 1.0; },
      kSlowMs))
      << model->state().AntennaHeading << " " << stoppedAt;
  // The rotator gone: the map shows no heading.
  rotctld.stop();
  EXPECT_TRUE(waitUntil([&] { return std::isnan(model->state().AntennaHeading); }, kSlowMs));
}

TEST_F(StationWithMap, ClusterSpotsReachTheMapAndAPressOnOneTunesTheRig) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  HamlibDaemon rigctld(QStringLiteral("rigctld"));
  ASSERT_TRUE(rotctld.start());
  ASSERT_TRUE(rigctld.start());
  FakePeer node;
  ASSERT_TRUE(node.listen());
  node.onConnection = [](FakePeer& peer) { peer.send("Welcome\r\nlogin: "); };
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    if (line == "K1ABC") {
      peer.send("Hello K1ABC\r\n" + kFalklandsSpot + kMalformedSpot + kUnplacedSpot + kJapanSpot);
    }
  };
  startStation(at("--rotctld", rotctld) + at("--rigctld", rigctld) + clusterOptions(node) +
               QStringList{"--latitude", "40", "--longitude", "-75", "--max-dx-mi", "12437"});
  const spots::SpotList& layer = model->spots();
  ASSERT_TRUE(waitUntil([&] { return layer.NextSpot() == 3; }, kSlowMs)) << output();
  // One line for each connection made, without --verbose too.
  for (const QString& made :
       {QStringLiteral("map ready: server object /server/"),
        QStringLiteral("rotctld at 127.0.0.1:%1: reached").arg(rotctld.port()),
        QStringLiteral("rigctld at 127.0.0.1:%1: reached").arg(rigctld.port()),
        QStringLiteral("cluster 127.0.0.1:%1: logged in as K1ABC").arg(node.port())}) {
    EXPECT_EQ(station.count(made), 1) << made.toStdString() << "\n" << output();
  }

  // Each field in its place is the bus parts' test; here the spots' texts and colours.
  const spots::SlotMarkers& markers = layer.slot(1).markers;
  EXPECT_EQ(markers.spotText, kFalklandsText.toStdString());
  EXPECT_EQ(markers.spotterText, "By EA5WU-#, Spain (VP8LP)");
  EXPECT_EQ(static_cast<std::int32_t>(markers.spotColor), bandColor(14195.0));
  EXPECT_EQ(layer.row(1).SpotFreqTX, 14200.0);
  EXPECT_EQ(layer.slot(2).markers.spotText, kJapanText.toStdString());
  EXPECT_LT(layer.row(2).SpotByLat, -90.0);  // the spotter is in no country of the file

  QWidget* falklandsMarker = marker(kFalklandsText);
  ASSERT_NE(falklandsMarker, nullptr);
  press(falklandsMarker);
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("i", 1) == QStringList{"14200000"}; }, kSlowMs))
      << output();
  EXPECT_EQ(rigctld.query("f", 1), QStringList{"14195000"});
  EXPECT_EQ(rigctld.query("m", 1), QStringList{"USB"});
  EXPECT_EQ(rigctld.query("s", 2), (QStringList{"1", "VFOB"}));

  QWidget* japanMarker = marker(kJapanText);
  ASSERT_NE(japanMarker, nullptr);
  press(japanMarker);
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("f", 1) == QStringList{"7023100"}; }, kSlowMs))
      << output();
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("s", 1) == QStringList{"0"}; }, kSlowMs));
  EXPECT_EQ(rigctld.query("m", 1), QStringList{"CW"});

  // A map that starts again shows the spots it showed before.
  const std::vector<std::string> shown = shownSpots();
  closeMap();
  openMap();
  ASSERT_TRUE(waitUntil([&] { return shownSpots() == shown; }, kSlowMs)) << output();
  EXPECT_NE(marker(kFalklandsText), nullptr);
  EXPECT_EQ(station.count(QStringLiteral("map ready again")), 1) << output();

  EXPECT_EQ(station.stop(), 0);
  EXPECT_EQ(automation->serverCount(), 0u);
  EXPECT_EQ(station.count(QStringLiteral("cluster: 3 spots, 1 unreadable spot lines, "
                                         "1 spots not placed")),
            1)
      << output();
}

TEST_F(StationWithMap, FiltersDuplicatesAndTheAgeLimit) {
  FakePeer node;
  ASSERT_TRUE(node.listen());
  node.onConnection = [](FakePeer& peer) { peer.send("login: "); };
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    if (line != "K1ABC") return;
    peer.send(spotLine("EA5WU", "14025.0", "VP8LP", 0) + spotLine("W3LPL", "21025.0", "ZS6AAA", 0) +
              spotLine("EA5WU", "7023.0", "JA1ABC", 0) + spotLine("XX9ZZ", "14026.0", "VP8LP", 0) +
              spotLine("W3LPL", "14030.0", "JA1ABC", 120));
  };
  startStation(clusterOptions(node) + QStringList{"--bands", "20m,40m", "--max-age", "6s"});
  // 15 m is filtered out, the two-hour old spot is too old, the second VP8LP replaces the first.
  const std::vector<std::string> kept{"JA1ABC (by EA5WU)", "VP8LP (by XX9ZZ)"};
  ASSERT_TRUE(waitUntil([&] { return shownSpots() == kept; }, kSlowMs)) << output();
  // Then they age out: the map shows none.
  ASSERT_TRUE(waitUntil([&] { return shownSpots().empty(); }, kSlowMs)) << output();
  EXPECT_EQ(marker(kFalklandsText), nullptr);
  EXPECT_EQ(station.stop(), 0);
  EXPECT_EQ(station.count(QStringLiteral("spots: 3 shown, 1 filtered out, 1 duplicates, 1 too old, "
                                         "2 aged out")),
            1)
      << output();
  EXPECT_EQ(station.count(QStringLiteral("spot of ZS6AAA not shown: band 15m not chosen")), 1);
}

TEST_F(StationWithMap, WsjtxDecodesAppearOnTheMap) {
  const int port = freePort();
  startStation({"--wsjtx", QString::number(port), "--cty", ctyFile, "--latitude", "48",
                "--longitude", "11", "--max-dx-mi", "12000", "--utc-offset", "-1"});
  EXPECT_EQ(model->state().plane.LatHere, 48.0);
  EXPECT_EQ(model->state().plane.LonHere, 11.0);
  EXPECT_EQ(model->state().plane.MaxDx, 12000);
  EXPECT_EQ(model->state().UTCOffset, -1.0);
  const CallbackTarget target = callbackTarget();
  EXPECT_TRUE(target.service.startsWith(QLatin1Char(':'))) << target.service.toStdString();
  EXPECT_EQ(target.path, "/orbelle/station/callback");
  EXPECT_EQ(station.count(QStringLiteral("listening for WSJT-X on 127.0.0.1:%1").arg(port)), 1);
  WsjtxSender wsjtx;
  const QTime now = QDateTime::currentDateTimeUtc().time();
  const QByteArray cq = wsjtx.decode(now, -12, 1234, "CQ VP8LP GD18");
  for (const QByteArray& datagram :
       {wsjtx.heartbeat("2.6.1"), wsjtx.status(14074000, "FT8", "DL1ABC", "JO62"), cq,
        cq.chopped(3), QByteArray(7, '\xad'), wsjtx.decode(now, -7, 600, "DL1ABC JA1ABC R-07")}) {
    ASSERT_EQ(wsjtx.send(datagram, static_cast<quint16>(port)), datagram.size());
  }
  const QString time = now.toString(QStringLiteral("hhmm")) + QLatin1Char('Z');
  const QString falklands = QStringLiteral(
                                "VP8LP (by DL1ABC) 14074 FT8 %1 -12 dB 1234 Hz: CQ VP8LP GD18, "
                                "Falkland Islands")
                                .arg(time);
  const QString japan =
      QStringLiteral("JA1ABC (by DL1ABC) 14074 FT8 %1 -7 dB 600 Hz: DL1ABC JA1ABC R-07, Japan")
          .arg(time);
  ASSERT_TRUE(waitUntil([&] { return marker(falklands) && marker(japan); }, kSlowMs)) << output();
  const spots::SpotRow& row = model->spots().row(1);
  EXPECT_DOUBLE_EQ(row.LatDeg, -51.5);  // GD18
  EXPECT_EQ(row.SpotByLat, 48.0);       // this station
  EXPECT_EQ(station.count(QStringLiteral("WSJT-X \"WSJT-X\" 2.6.1 heard from 127.0.0.1:")), 1)
      << output();
  EXPECT_EQ(station.count(QStringLiteral("dropped: message cut off")), 1) << output();
  EXPECT_EQ(station.count(QStringLiteral("dropped: not a WSJT-X datagram")), 1) << output();
  // Without rotctld, a press on a spot is noted and turns nothing.
  press(marker(falklands));
  EXPECT_TRUE(waitUntil(
      [&] { return station.count(QStringLiteral("no rotctld given: rotor request ignored")) == 1; },
      kSlowMs))
      << output();
}

}  // namespace
}  // namespace orbelle::station::test
