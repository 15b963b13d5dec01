// The rotctld/rigctld client against peers that hang, wake up again or drop their connections.

#include "net/daemon_client.hpp"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "peers/fake_peer.hpp"
#include "peers/recording_report.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {
using orbelle::test::waitUntil;

class DaemonClientTest : public ::testing::Test {
 protected:
  // A client of `port`, with short delays, whose ended commands are collected in `ended`.
  std::unique_ptr<DaemonClient> client(const char* name, int port, DaemonClient::Read probe) {
    DaemonClient::Timing t;
    t.connectTimeoutMs = 2000;
    t.replyTimeoutMs = 400;
    t.firstRetryMs = 50;
    t.maxRetryMs = 200;
    auto c = std::make_unique<DaemonClient>(name, Endpoint{"127.0.0.1", port}, probe, report, t);
    QObject::connect(c.get(), &DaemonClient::finished,
                     [this](const QString& command, bool answered, int code) {
                       ended.push_back({command, answered, code});
                     });
    return c;
  }
  // Waits until `command` has ended; whether it was answered.
  bool answered(const QString& command) {
    EXPECT_TRUE(waitUntil([&] { return !ended.empty() && ended.back().command == command; }))
        << command.toStdString() << "\n"
        << report.all();
    return !ended.empty() && ended.back().answered;
  }

  struct Ended {
    QString command;
    bool answered;
    int code;
  };
  RecordingReport report;
  std::vector<Ended> ended;
};

// Failures reported, newer requests supersede waiting ones, a hung daemon gets nothing stale.
TEST_F(DaemonClientTest, HungDaemonGetsNoStaleCommandsAndCountsOnlyWhenItAnswers) {
  FakePeer daemon;
  ASSERT_TRUE(daemon.listen());
  bool hung = false;
  std::vector<QByteArray> executed;
  daemon.onLine = [&](FakePeer& peer, const QByteArray& line) {
    if (hung) return;  // the kernel takes the bytes; the daemon never reads them
    if (line == "p") {
      peer.send("12.0\n0.0\n");
    } else if (line == "P 460.0 0") {
      peer.send("RPRT -1\n");
    } else {
      executed.push_back(line);
      peer.send("RPRT 0\n");
    }
  };
  auto rotator = client("rotctld", daemon.port(), {"p", 2});
  QSignalSpy ready(rotator.get(), &DaemonClient::ready);
  rotator->start();
  ASSERT_TRUE(orbelle::test::waitForSignals(ready));
  rotator->send({"P 460.0 0"});
  EXPECT_TRUE(answered("P 460.0 0"));
  EXPECT_EQ(ended.back().code, -1);
  EXPECT_EQ(report.problemsWith("\"P 460.0 0\" failed: RPRT -1 (invalid parameter)"), 1)
      << report.all();
  rotator->send({"P 1.0 0"});
  rotator->replace({"P 2.0 0"});
  rotator->replace({"P 3.0 0"});
  ASSERT_TRUE(waitUntil([&] { return rotator->isIdle(); }));
  EXPECT_EQ(executed, (std::vector<QByteArray>{"P 1.0 0", "P 3.0 0"}));

  hung = true;
  rotator->replace({"P 10.0 0"});
  ASSERT_TRUE(waitUntil([&] {
    return report.problemsWith(
               "no reply to \"P 10.0 0\" within 0.4 s (timed out); not sent again") == 1;
  })) << report.all();
  // Requests while it hangs: the newest waits for an answer that does not come, and is dropped.
  rotator->replace({"P 20.0 0"});
  rotator->replace({"P 30.0 0"});
  EXPECT_FALSE(answered("P 30.0 0"));
  EXPECT_EQ(report.problemsWith("\"P 30.0 0\" not sent (it does not answer)"), 1) << report.all();

  hung = false;
  ASSERT_TRUE(orbelle::test::waitForSignals(ready, 2));
  EXPECT_EQ(report.eventsWith("connected again"), 1) << report.all();
  rotator->replace({"P 40.0 0"});
  EXPECT_TRUE(answered("P 40.0 0"));
  EXPECT_EQ(executed.back(), "P 40.0 0");  // and nothing that was asked while it hung
  EXPECT_EQ(executed.size(), 3u);
}

// A command lost with its connection is sent again once: lost twice, it is given up.
TEST_F(DaemonClientTest, CommandLostWithItsConnectionIsSentAgainOnce) {
  FakePeer dropping;
  ASSERT_TRUE(dropping.listen());
  int dropsLeft = 2;
  dropping.onLine = [&](FakePeer& peer, const QByteArray& line) {
    if (line == "f") {
      peer.send("14074000\n");
    } else if (dropsLeft-- > 0) {
      peer.drop();
    } else {
      peer.send("RPRT 0\n");
    }
  };
  auto rig = client("rigctld", dropping.port(), {"f", 1});
  rig->start();
  rig->send({"F 14025000"});
  EXPECT_FALSE(answered("F 14025000"));
  EXPECT_EQ(report.problemsWith("\"F 14025000\" not sent: connection lost twice"), 1)
      << report.all();
}

}  // namespace
}  // namespace orbelle::station::test
