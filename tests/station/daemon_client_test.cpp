// The rotctld/rigctld client against the real daemons of Hamlib (dummy models on loopback), and
// against peers that hang or drop their connections.

#include "net/daemon_client.hpp"

#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cmath>

#include "core/rig_plan.hpp"
#include "support/fake_peer.hpp"
#include "support/hamlib_daemon.hpp"
#include "support/recording_report.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {

// Short delays so that reconnection is seen quickly.
DaemonClient::Timing quick() {
  DaemonClient::Timing t;
  t.connectTimeoutMs = 2000;
  t.replyTimeoutMs = 400;
  t.firstRetryMs = 50;
  t.maxRetryMs = 200;
  return t;
}

struct Ended {
  QString command;
  bool answered;
  int code;
};

class DaemonClientTest : public ::testing::Test {
 protected:
  // A client of `port` whose ended commands are collected in `ended`.
  std::unique_ptr<DaemonClient> client(const char* name, int port) {
    auto c = std::make_unique<DaemonClient>(name, Endpoint{"127.0.0.1", port}, report, quick());
    QObject::connect(c.get(), &DaemonClient::finished,
                     [this](const QString& command, bool answered, int code) {
                       ended.push_back({command, answered, code});
                     });
    return c;
  }
  bool waitForEnded(std::size_t count) {
    return waitUntil([&] { return ended.size() >= count; });
  }

  RecordingReport report;
  std::vector<Ended> ended;
};

TEST_F(DaemonClientTest, RotatorTurnsToTheHeadingAndStops) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  ASSERT_TRUE(rotctld.start());
  auto rotator = client("rotctld", rotctld.port());
  rotator->start();
  rotator->send({"P 9.0 0"});
  ASSERT_TRUE(waitForEnded(1));
  EXPECT_TRUE(ended[0].answered);
  EXPECT_EQ(ended[0].code, 0);
  // The dummy rotator turns a few degrees a second.
  EXPECT_TRUE(waitUntil([&] { return std::fabs(rotctld.number("p") - 9.0) < 0.5; }, 15000))
      << rotctld.number("p");

  rotator->send({"P 90.0 0"});
  pump(700);
  rotator->send({"S"});
  ASSERT_TRUE(waitForEnded(3));
  EXPECT_EQ(ended[2].command, "S");
  EXPECT_EQ(ended[2].code, 0);
  const double stoppedAt = rotctld.number("p");
  pump(600);
  EXPECT_EQ(rotctld.number("p"), stoppedAt);
  EXPECT_GT(stoppedAt, 9.0);
  EXPECT_LT(stoppedAt, 80.0);
  EXPECT_EQ(report.problemsWith("failed"), 0) << report.allProblems();
}

TEST_F(DaemonClientTest, RigTakesFrequencyModeAndSplit) {
  HamlibDaemon rigctld(QStringLiteral("rigctld"));
  ASSERT_TRUE(rigctld.start());
  auto rig = client("rigctld", rigctld.port());
  rig->start();
  const RigPlan plan = planRig({14195.0, 14200.0, "SSB"});
  rig->send(plan.commands);
  ASSERT_TRUE(waitForEnded(plan.commands.size()));
  for (const Ended& e : ended) EXPECT_EQ(e.code, 0) << e.command.toStdString();
  EXPECT_EQ(rigctld.query("f", 1), QStringList{"14195000"});
  EXPECT_EQ(rigctld.query("m", 1), QStringList{"USB"});
  EXPECT_EQ(rigctld.query("s", 2), (QStringList{"1", "VFOB"}));
  EXPECT_EQ(rigctld.query("i", 1), QStringList{"14200000"});

  ended.clear();
  const RigPlan simplex = planRig({7023.1, 0.0, "CW"});
  rig->send(simplex.commands);
  ASSERT_TRUE(waitForEnded(simplex.commands.size()));
  EXPECT_EQ(rigctld.query("f", 1), QStringList{"7023100"});
  EXPECT_EQ(rigctld.query("m", 1), QStringList{"CW"});
  EXPECT_EQ(rigctld.query("s", 1), QStringList{"0"});
}

TEST_F(DaemonClientTest, FailedCommandIsReportedAndTheNextOneSent) {
  HamlibDaemon rotctld(QStringLiteral("rotctld"));
  ASSERT_TRUE(rotctld.start());
  auto rotator = client("rotctld", rotctld.port());
  rotator->start();
  rotator->send({"P 460.0 0", "P 3.0 0"});  // 460 is beyond the dummy's range
  ASSERT_TRUE(waitForEnded(2));
  EXPECT_EQ(ended[0].code, -1);
  EXPECT_EQ(ended[1].code, 0);
  EXPECT_EQ(report.problemsWith("\"P 460.0 0\" failed: RPRT -1 (invalid parameter)"), 1)
      << report.allProblems();
}

TEST_F(DaemonClientTest, RestartedDaemonIsReconnected) {
  HamlibDaemon rigctld(QStringLiteral("rigctld"));
  ASSERT_TRUE(rigctld.start());
  const int port = rigctld.port();
  auto rig = client("rigctld", port);
  QSignalSpy connects(rig.get(), &DaemonClient::connected);
  rig->start();
  ASSERT_TRUE(waitUntil([&] { return connects.count() == 1; }));

  rigctld.stop();
  // (The daemons now and then reset a fresh connection themselves: at least once, then.)
  ASSERT_TRUE(waitUntil([&] { return report.problemsWith("connection lost") >= 1; }))
      << report.allProblems();
  ASSERT_TRUE(rigctld.start(port));
  rig->send({"F 21074000"});
  ASSERT_TRUE(waitForEnded(1));
  EXPECT_TRUE(ended[0].answered);
  EXPECT_EQ(ended[0].code, 0);
  EXPECT_EQ(rigctld.query("f", 1), QStringList{"21074000"});
  EXPECT_GE(report.problemsWith("connected again"), 1) << report.allProblems();
}

TEST_F(DaemonClientTest, UnreachableDaemonIsReportedOnceAndCommandsAreNotKept) {
  const int port = freePort();
  auto rig = client("rigctld", port);
  rig->start();
  pump(600);  // several attempts at growing delays
  EXPECT_EQ(report.problemsWith("cannot reach rigctld at 127.0.0.1:"), 1) << report.allProblems();

  rig->send({"F 14025000", "M CW 0"});
  ASSERT_TRUE(waitForEnded(2));
  EXPECT_FALSE(ended[0].answered);
  EXPECT_FALSE(ended[1].answered);
  EXPECT_EQ(report.problemsWith("not sent"), 2) << report.allProblems();
  EXPECT_TRUE(rig->isIdle());

  // Once the daemon is there, commands go through, and the old ones were not kept.
  HamlibDaemon rigctld(QStringLiteral("rigctld"));
  ASSERT_TRUE(rigctld.start(port));
  rig->send({"F 7074000"});
  ASSERT_TRUE(waitForEnded(3));
  EXPECT_TRUE(ended[2].answered);
  EXPECT_EQ(rigctld.query("f", 1), QStringList{"7074000"});
}

TEST_F(DaemonClientTest, DaemonThatDoesNotAnswerIsLeftAndReconnected) {
  FakePeer silent;
  ASSERT_TRUE(silent.listen());
  auto rotator = client("rotctld", silent.port());
  rotator->start();
  ASSERT_TRUE(waitUntil([&] { return silent.connections() == 1; }));
  rotator->send({"P 10.0 0", "P 20.0 0"});
  ASSERT_TRUE(waitForEnded(1));
  EXPECT_FALSE(ended[0].answered);
  EXPECT_EQ(report.problemsWith("no reply to \"P 10.0 0\""), 1) << report.allProblems();
  // The next command goes out on a new connection.
  ASSERT_TRUE(waitUntil([&] { return silent.connections() == 2; }));
  ASSERT_TRUE(waitUntil([&] { return silent.lines().contains("P 20.0 0"); }));
  silent.send("RPRT 0\n");
  ASSERT_TRUE(waitForEnded(2));
  EXPECT_TRUE(ended[1].answered);
}

TEST_F(DaemonClientTest, CommandLostWithItsConnectionIsSentAgainOnce) {
  FakePeer dropping;
  ASSERT_TRUE(dropping.listen());
  int dropsLeft = 2;
  // Drops the connection on the first two commands it reads, answers afterwards.
  dropping.onLine = [&](FakePeer& peer, const QByteArray&) {
    if (dropsLeft-- > 0) {
      peer.drop();
    } else {
      peer.send("RPRT 0\n");
    }
  };
  auto rig = client("rigctld", dropping.port());
  rig->start();
  rig->send({"F 14025000"});
  ASSERT_TRUE(waitForEnded(1));
  EXPECT_FALSE(ended[0].answered);  // lost twice: given up
  EXPECT_EQ(report.problemsWith("\"F 14025000\" not sent: connection lost twice"), 1)
      << report.allProblems();

  dropsLeft = 1;
  rig->send({"F 7000000"});
  ASSERT_TRUE(waitForEnded(2));
  EXPECT_TRUE(ended[1].answered);  // lost once, answered on the second try
  EXPECT_EQ(ended[1].command, "F 7000000");
}

}  // namespace
}  // namespace orbelle::station::test
