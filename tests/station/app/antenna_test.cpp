// The antenna's heading, from Hamlib's dummy rotator through the station to a map on the bus: a
// map that has no AntennaHeading property is told once, a map that has it follows the turn.

#include <gtest/gtest.h>

#include <QDBusMessage>
#include <QTest>
#include <cmath>

#include "app/station.hpp"
#include "e2e/fake_map.hpp"
#include "peers/hamlib_daemon.hpp"
#include "peers/recording_report.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {
using orbelle::test::waitUntil;

TEST(StationAntenna, HeadingFollowsTheRotatorOnMapsThatTakeIt) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  ASSERT_TRUE(rotctld.start());
  FakeMap map;
  map.hasAntennaHeading = false;
  ASSERT_TRUE(map.appear());
  const QString name = QStringLiteral("station-antenna");
  QDBusConnection host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
  Options options;
  options.rotctld = Endpoint{"127.0.0.1", rotctld.port()};
  RecordingReport report;
  Station::Timing timing;
  timing.map.firstRetryMs = 50;
  auto station = std::make_unique<Station>(options, CtyDat{}, host, report, timing);
  std::string error;
  ASSERT_TRUE(station->start(&error)) << error;
  // The map calls the station back as the real one does.
  const auto turnTo = [&](double heading) {
    // Not a blocking call: the station answers from this very thread.
    map.connection().asyncCall(QDBusMessage::createMethodCall(host.baseService(),
                                                              QString::fromLatin1(kCallbackPath),
                                                              {}, QStringLiteral("orbellesetrotor"))
                               << heading);
  };
  const auto last = [&] { return map.headings().isEmpty() ? -1.0 : map.headings().last(); };

  // The reading at connection goes out once; this map refuses it and gets nothing more.
  ASSERT_TRUE(waitUntil([&] { return report.notesWith("no AntennaHeading") == 1; }))
      << report.all();
  EXPECT_EQ(map.headings(), QList<double>{0.0});
  turnTo(5.0);
  ASSERT_TRUE(waitUntil([&] { return rotctld.number("p") > 4.5; }));
  EXPECT_EQ(map.headings().size(), 1);
  EXPECT_EQ(report.notesWith("no AntennaHeading"), 1);

  // A map that takes it starts: it gets the heading at once, then every step of the turn.
  map.vanish();
  map.hasAntennaHeading = true;
  ASSERT_TRUE(map.appear());
  ASSERT_TRUE(waitUntil([&] { return last() == 5.0; })) << report.all();
  const qsizetype before = map.headings().size();
  turnTo(20.0);
  ASSERT_TRUE(waitUntil([&] { return last() == 20.0; })) << report.all();
  const QList<double> turn = map.headings().mid(before - 1);
  EXPECT_GE(turn.size(), 4);  // read while it turns, not only where it ends
  EXPECT_TRUE(std::is_sorted(turn.begin(), turn.end()));
  EXPECT_EQ(std::adjacent_find(turn.begin(), turn.end()), turn.end());  // sent when changed only

  // rotctld gone: no heading.
  rotctld.stop();
  EXPECT_TRUE(waitUntil([&] { return std::isnan(last()); })) << report.all();
  station.reset();
  QDBusConnection::disconnectFromBus(name);
}

}  // namespace
}  // namespace orbelle::station::test
