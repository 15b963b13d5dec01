// The cluster session against a loopback node played by the test.

#include "net/cluster_client.hpp"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "support/fake_peer.hpp"
#include "support/recording_report.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {

ClusterClient::Timing quick() {
  ClusterClient::Timing t;
  t.connectTimeoutMs = 2000;
  t.firstRetryMs = 50;
  t.maxRetryMs = 400;
  t.stableSessionMs = 60000;
  t.loginFallbackMs = 300;
  return t;
}

// Spot lines as nodes send them, and some that only look like spots.
const QByteArray kSpotsAndNoise =
    "DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    1359Z FN20\r\n"
    "WWV de W0MU <18>:   SFI=150, A=5, K=1, No Storms -> No Storms\r\n"
    "DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    2460Z\r\n"
    "DX de EA5WU-#:   7023.1  JA1ABC       CW 12 dB 25 WPM CQ             2342Z\a\a\r\n";

class ClusterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(node.listen()); }

  std::unique_ptr<ClusterClient> client(std::string password = {},
                                        std::vector<std::string> commands = {}, int port = 0) {
    auto c =
        std::make_unique<ClusterClient>(Endpoint{"127.0.0.1", port ? port : node.port()}, "K1ABC",
                                        std::move(password), std::move(commands), report, quick());
    c->setSpotHandler([this](const DxSpot& spot) { spots.push_back(spot); });
    return c;
  }

  FakePeer node;
  RecordingReport report;
  std::vector<DxSpot> spots;
};

TEST_F(ClusterTest, LogsInAtThePromptAndPassesSpotsOn) {
  node.onConnection = [](FakePeer& peer) {
    // Telnet negotiation first, as nodes behind telnet daemons do.
    peer.send(QByteArray("\xff\xfd\x01\xff\xfb\x03", 6) + "Welcome to the node\r\nlogin: ");
  };
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    // The call follows the refusals of the telnet options on the same line.
    if (line.endsWith("K1ABC")) peer.send(kSpotsAndNoise + QByteArray(3000, 'x') + "\r\n");
  };
  auto cluster = client({}, {"set/dx/filter", "sh/dx 5"});
  QSignalSpy loggedIn(cluster.get(), &ClusterClient::loggedIn);
  cluster->start();
  ASSERT_TRUE(waitUntil([&] { return spots.size() == 2; }));
  EXPECT_EQ(loggedIn.count(), 1);
  EXPECT_EQ(spots[0].call, "ZS6AAA");
  EXPECT_EQ(spots[0].locator, "FN20");
  EXPECT_EQ(spots[1].spotter, "EA5WU-#");
  EXPECT_EQ(spots[1].comment, "CW 12 dB 25 WPM CQ");
  ASSERT_TRUE(waitUntil([&] { return cluster->counters().malformed == 2; }));
  EXPECT_EQ(cluster->counters().spots, 2u);
  EXPECT_EQ(cluster->counters().otherLines, 2u);  // the welcome and WWV lines
  // Every offer refused, then the call sign and the commands, each ended by CR LF.
  EXPECT_TRUE(node.received().startsWith(QByteArray("\xff\xfc\x01\xff\xfe\x03", 6)));
  EXPECT_TRUE(node.received().endsWith("K1ABC\r\nset/dx/filter\r\nsh/dx 5\r\n"))
      << node.received().toStdString();
}

TEST_F(ClusterTest, PasswordWhenTheNodeAsksForOne) {
  node.onConnection = [](FakePeer& peer) { peer.send("Please enter your call: "); };
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    if (line == "K1ABC") peer.send("Password: ");
  };
  auto cluster = client("secret", {"sh/dx"});
  cluster->start();
  ASSERT_TRUE(waitUntil([&] { return node.lines().size() == 3; }));
  EXPECT_EQ(node.lines(), (QList<QByteArray>{"K1ABC", "secret", "sh/dx"}));
}

TEST_F(ClusterTest, CallSignSentWithoutAPromptAfterAWhile) {
  auto cluster = client();
  cluster->start();
  ASSERT_TRUE(waitUntil([&] { return node.lines().size() == 1; }));
  EXPECT_EQ(node.lines().first(), "K1ABC");
}

TEST_F(ClusterTest, DroppedSessionIsReopenedAndLoggedInAgain) {
  node.onConnection = [](FakePeer& peer) { peer.send("login: "); };
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    if (line == "K1ABC") peer.send(kSpotsAndNoise);
  };
  auto cluster = client();
  QSignalSpy ended(cluster.get(), &ClusterClient::sessionEnded);
  cluster->start();
  ASSERT_TRUE(waitUntil([&] { return spots.size() == 2; }));
  node.drop();
  ASSERT_TRUE(waitUntil([&] { return spots.size() == 4; }));
  EXPECT_EQ(node.connections(), 2);
  EXPECT_EQ(ended.count(), 1);
  EXPECT_EQ(cluster->counters().sessions, 2u);
  EXPECT_EQ(report.problemsWith("connection closed"), 1) << report.allProblems();
  EXPECT_EQ(report.problemsWith("connected again"), 1) << report.allProblems();
}

TEST_F(ClusterTest, UnreachableNodeIsRetriedUntilItIsThere) {
  const int port = node.port();
  node.close();
  auto cluster = client({}, {}, port);
  cluster->start();
  pump(500);
  EXPECT_EQ(report.problemsWith("cannot reach cluster"), 1) << report.allProblems();
  ASSERT_TRUE(node.listen(port));
  ASSERT_TRUE(waitUntil([&] { return node.lines().size() == 1; }, 5000));
  EXPECT_EQ(report.problemsWith("connected again"), 1) << report.allProblems();
}

}  // namespace
}  // namespace orbelle::station::test
