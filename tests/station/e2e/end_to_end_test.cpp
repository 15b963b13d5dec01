// The whole station: the orbelle-station program with the map (in this process, on the private
// session bus), Hamlib's dummy rotator and rig, and a DX cluster node played by the test.

#include <gtest/gtest.h>

#include <QFile>
#include <QPushButton>
#include <cmath>

#include "core/band.hpp"
#include "cty_excerpt.hpp"
#include "map_in_process.hpp"
#include "spots/spot_list.hpp"
#include "station_process.hpp"
#include "support/fake_peer.hpp"
#include "support/hamlib_daemon.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {

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

class StationWithMap : public MapInProcess {
 protected:
  void SetUp() override {
    MapInProcess::SetUp();
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
    MapInProcess::TearDown();
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

TEST_F(StationWithMap, PlacesTheMapHandsItTheCallbackObjectAndDraws) {
  startStation(
      {"--latitude", "48.1", "--longitude", "-11.6", "--max-dx-mi", "5000", "--utc-offset", "-1"});
  const CallbackTarget target = callbackTarget();
  EXPECT_TRUE(target.service.startsWith(QLatin1Char(':'))) << target.service.toStdString();
  EXPECT_EQ(target.path, "/orbelle/station/callback");
  EXPECT_EQ(model->state().plane.LatHere, 48.1);
  EXPECT_EQ(model->state().plane.LonHere, -11.6);
  EXPECT_EQ(model->state().plane.MaxDx, 5000);
  EXPECT_EQ(model->state().UTCOffset, -1.0);
  EXPECT_EQ(automation->serverCount(), 1u);
  // Ending the station releases its server object, and the window unloads with it.
  EXPECT_EQ(station.stop(), 0) << output();
  EXPECT_EQ(automation->serverCount(), 0u);
  EXPECT_TRUE(form->unloaded());
}

TEST_F(StationWithMap, PressesOnTheMapTurnTheRotatorAndStopRotorStopsIt) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  ASSERT_TRUE(rotctld.start());
  startStation(at("--rotctld", rotctld) + QStringList{"--max-dx-mi", "12437"});
  const int c = side() / 2;
  // Just east of north, so that the dummy rotator gets there in a moment.
  const int heading = readoutHeading(c + 6, c - 60);
  ASSERT_GT(heading, 1);
  ASSERT_LT(heading, 20);
  pressAt(c + 6, c - 60);
  EXPECT_TRUE(waitUntil([&] { return std::fabs(rotctld.number("p") - heading) < 0.5; }, kSlowMs))
      << rotctld.number("p") << "\n"
      << output();

  ASSERT_EQ(readoutHeading(side() - 1, c), 90);
  pressAt(side() - 1, c);
  pump(1000);
  form->controls().cmdStopRotor->click();
  ASSERT_TRUE(waitUntil([&] { return station.count(QStringLiteral(": S\n")) == 1; })) << output();
  pump(300);
  const double stoppedAt = rotctld.number("p");
  pump(700);
  EXPECT_EQ(rotctld.number("p"), stoppedAt);
  EXPECT_GT(stoppedAt, heading + 1.0);
  EXPECT_LT(stoppedAt, 85.0);
}

TEST_F(StationWithMap, RotatorWithItsStopInTheSouthGetsNegativeAzimuths) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  ASSERT_TRUE(rotctld.start());
  startStation(at("--rotctld", rotctld) + QStringList{"--rotator-stop", "south"});
  const int c = side() / 2;
  ASSERT_EQ(readoutHeading(0, c), 270);
  pressAt(0, c);
  // West is -90 here: the dummy rotator turns from 0 towards it, through negative azimuths.
  EXPECT_TRUE(waitUntil([&] { return rotctld.number("p") < -2.0; }, kSlowMs)) << output();
  EXPECT_EQ(station.count(QStringLiteral(": P -90.0 0\n")), 1) << output();
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

  const spots::SpotRow& falklands = layer.row(1);
  EXPECT_DOUBLE_EQ(falklands.LatDeg, -51.63);
  EXPECT_DOUBLE_EQ(falklands.LonDeg, -58.72);
  EXPECT_EQ(falklands.Color, bandColor(14195.0));
  EXPECT_EQ(falklands.SpotFreq, 14195.0);
  EXPECT_EQ(falklands.Mode, "SSB");
  EXPECT_EQ(falklands.SpotBy, "EA5WU-#");
  EXPECT_DOUBLE_EQ(falklands.SpotByLat, 40.37);
  EXPECT_DOUBLE_EQ(falklands.SpotByLon, -4.88);
  EXPECT_EQ(falklands.SpotLoc, "Falkland Islands");
  EXPECT_EQ(falklands.SpotFreqTX, 14200.0);
  const spots::SlotMarkers& markers = layer.slot(1).markers;
  EXPECT_EQ(markers.spotText, kFalklandsText.toStdString());
  EXPECT_EQ(markers.spotterText, "By EA5WU-#, Spain (VP8LP)");
  EXPECT_EQ(static_cast<std::int32_t>(markers.spotColor), bandColor(14195.0));
  EXPECT_EQ(markers.spotterColor, raster::rgb(192, 192, 192));

  const spots::SpotRow& japan = layer.row(2);
  EXPECT_EQ(japan.SpotLoc, "Japan");
  EXPECT_EQ(japan.Color, bandColor(7023.1));
  EXPECT_NE(japan.Color, falklands.Color);
  EXPECT_LT(japan.SpotByLat, -90.0);  // the spotter is in no country of the file
  EXPECT_EQ(layer.slot(2).markers.spotText, kJapanText.toStdString());

  QWidget* falklandsMarker = marker(kFalklandsText);
  ASSERT_NE(falklandsMarker, nullptr);
  press(falklandsMarker);
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("i", 1) == QStringList{"14200000"}; }))
      << output();
  EXPECT_EQ(rigctld.query("f", 1), QStringList{"14195000"});
  EXPECT_EQ(rigctld.query("m", 1), QStringList{"USB"});
  EXPECT_EQ(rigctld.query("s", 2), (QStringList{"1", "VFOB"}));

  QWidget* japanMarker = marker(kJapanText);
  ASSERT_NE(japanMarker, nullptr);
  press(japanMarker);
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("f", 1) == QStringList{"7023100"}; }))
      << output();
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("s", 1) == QStringList{"0"}; }));
  EXPECT_EQ(rigctld.query("m", 1), QStringList{"CW"});

  EXPECT_EQ(station.stop(), 0);
  EXPECT_EQ(station.count(QStringLiteral("cluster: 3 spots, 1 unreadable spot lines, "
                                         "1 spots not placed")),
            1)
      << output();
}

TEST_F(StationWithMap, RestartedRigDaemonAndDroppedClusterSessionAreSurvived) {
  HamlibDaemon rigctld(QStringLiteral("rigctld"));
  ASSERT_TRUE(rigctld.start());
  FakePeer node;
  ASSERT_TRUE(node.listen());
  node.onConnection = [](FakePeer& peer) { peer.send("login: "); };
  // The first session brings one spot, the next one another.
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    if (line == "K1ABC") peer.send(peer.connections() == 1 ? kFalklandsSpot : kJapanSpot);
  };
  startStation(at("--rigctld", rigctld) + clusterOptions(node) +
               QStringList{"--max-dx-mi", "12437"});
  const spots::SpotList& layer = model->spots();
  ASSERT_TRUE(waitUntil([&] { return layer.NextSpot() == 2; }, kSlowMs)) << output();

  const int port = rigctld.port();
  rigctld.stop();
  ASSERT_TRUE(waitUntil([&] { return station.count(QStringLiteral("connection lost")) >= 1; }))
      << output();
  ASSERT_TRUE(rigctld.start(port));
  node.drop();
  ASSERT_TRUE(waitUntil([&] { return layer.NextSpot() == 3; }, kSlowMs)) << output();
  EXPECT_EQ(node.connections(), 2);
  EXPECT_EQ(layer.row(2).SpotLoc, "Japan");
  EXPECT_GE(station.count(QStringLiteral("cluster 127.0.0.1")), 1);

  // The new daemon's dummy rig starts on 145 MHz: the press reaches the new daemon.
  QWidget* falklandsMarker = marker(kFalklandsText);
  ASSERT_NE(falklandsMarker, nullptr);
  press(falklandsMarker);
  EXPECT_TRUE(waitUntil([&] { return rigctld.query("f", 1) == QStringList{"14195000"}; }))
      << output();
  EXPECT_GE(station.count(QStringLiteral("connected again")), 2) << output();
}

}  // namespace
}  // namespace orbelle::station::test
