// The cluster session against a loopback node played by the test.

#include "net/cluster_client.hpp"

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "peers/fake_peer.hpp"
#include "peers/recording_report.hpp"
#include "support/wait.hpp"

namespace orbelle::station::test {
namespace {
using orbelle::test::waitUntil;

class ClusterTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(node.listen()); }

  std::unique_ptr<ClusterClient> client(std::string password, std::vector<std::string> commands) {
    ClusterClient::Timing t;
    t.connectTimeoutMs = 2000;
    t.firstRetryMs = 50;
    t.maxRetryMs = 400;
    t.loginFallbackMs = 300;
    auto c = std::make_unique<ClusterClient>(Endpoint{"127.0.0.1", node.port()}, "K1ABC",
                                             std::move(password), std::move(commands), report, t);
    c->setSpotHandler([this](const DxSpot& spot) { spots.push_back(spot); });
    return c;
  }

  FakePeer node;
  RecordingReport report;
  std::vector<DxSpot> spots;
};

// Telnet offers refused, the call and commands after the prompt, spots on, dropped lines noted.
TEST_F(ClusterTest, LogsInAtThePromptAndPassesSpotsOn) {
  node.onConnection = [](FakePeer& peer) {
    // Offers, a refusal (no answer), a subnegotiation and a NOP among the text.
    peer.send(
        QByteArray("\xff\xfd\x01\xff\xfb\x03\xff\xfc\x05We\xff\xfa\x18\x01\xff\xf0lcome"
                   "\xff\xf1 to the node\r\nlogin: "));
  };
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    // The call follows the refusals of the telnet options on the same line.
    if (!line.endsWith("K1ABC")) return;
    peer.send(
        "DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    1359Z FN20\r\n"
        "WWV de W0MU <18>:   SFI=150, A=5, K=1, No Storms -> No Storms\r\n"
        "DX de W3LPL:     14025.0  ZS6AAA       CW 599 up 2                    2460Z\r\n"
        "DX de EA5WU-#:   7023.1  JA1ABC       CW 12 dB 25 WPM CQ             2342Z\a\a\r\n" +
        QByteArray(3000, 'x') +
        "\r\nDX de K1TTT:     21025.0  VP8LP        CW                             1400Z\r"
        "DX de K1TTT:     21026.0  VP8LP        CW                             1401Z\r"
        "DX de W3LPL:     14025.0  ZS6\xff\xff"  // IAC IAC: a 255 data byte
        "AA CW 1359Z\r\n");
  };
  auto cluster = client({}, {"set/dx/filter", "sh/dx 5"});
  cluster->start();
  ASSERT_TRUE(waitUntil([&] { return cluster->counters().malformed == 3; }));
  ASSERT_EQ(spots.size(), 4u);
  EXPECT_EQ(spots[1].comment + " " + spots[2].time + " " + spots[3].time,
            "CW 12 dB 25 WPM CQ 1400Z 1401Z");
  EXPECT_EQ(cluster->counters().otherLines, 2u);  // the welcome and WWV lines; the long one went
  EXPECT_EQ(report.notesWith("(spotted station is not a call sign): DX de W3LPL:     14025.0  "
                             "ZS6\\xffAA"),
            1)
      << report.all();
  EXPECT_TRUE(node.received().startsWith(QByteArray("\xff\xfc\x01\xff\xfe\x03", 6)));
  EXPECT_TRUE(node.received().endsWith("K1ABC\r\nset/dx/filter\r\nsh/dx 5\r\n"))
      << node.received().toStdString();
}

// The password when asked; a silent node gets the call and commands later, but no password.
TEST_F(ClusterTest, PasswordWhenAskedAndTheCallWithoutAPromptAfterAWhile) {
  node.onConnection = [](FakePeer& peer) { peer.send("Please enter your call: "); };
  node.onLine = [](FakePeer& peer, const QByteArray& line) {
    if (line == "K1ABC") peer.send("Password: ");
  };
  auto cluster = client("secret", {"sh/dx"});
  cluster->start();
  ASSERT_TRUE(waitUntil([&] { return node.received() == "K1ABC\r\nsecret\r\nsh/dx\r\n"; }))
      << node.received().toStdString();
  node.onConnection = nullptr;
  node.onLine = nullptr;
  node.drop();
  ASSERT_TRUE(waitUntil([&] { return node.connections() == 2 && node.received().size() == 14; }));
  EXPECT_EQ(node.received(), "K1ABC\r\nsh/dx\r\n");
  EXPECT_EQ(report.notesWith("no password prompt; password not sent"), 1) << report.all();
  EXPECT_EQ(report.eventsWith("logged in again"), 0) << report.all();
}

// An unreachable node is reported once and retried; a session it ends is logged in again.
TEST_F(ClusterTest, UnreachableNodeIsRetriedUntilItIsThere) {
  const int port = node.port();
  auto cluster = client({}, {});
  node.close();
  cluster->start();
  ASSERT_TRUE(waitUntil([&] { return report.problemsWith("cannot reach cluster") == 1; }));
  EXPECT_EQ(report.problemsWith("(connection refused); retrying"), 1) << report.all();
  node.onConnection = [](FakePeer& peer) { peer.send("login: "); };
  ASSERT_TRUE(node.listen(port));
  QSignalSpy loggedIn(cluster.get(), &ClusterClient::loggedIn);
  ASSERT_TRUE(orbelle::test::waitForSignals(loggedIn));
  EXPECT_EQ(report.problemsWith("cannot reach cluster"), 1) << report.all();
  node.drop();
  ASSERT_TRUE(waitUntil([&] { return report.eventsWith(": logged in again as K1ABC") == 1; }))
      << report.all();
  EXPECT_EQ(report.problemsWith("connection closed (closed by the other end)"), 1);
}

}  // namespace
}  // namespace orbelle::station::test
