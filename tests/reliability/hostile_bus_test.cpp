// The map on a private bus under a hostile host's calls: every call is answered or refused, the
// map keeps working, and what it holds stays as the valid calls left it.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDataStream>
#include <QFile>
#include <cmath>
#include <limits>
#include <vector>

#include "support/map_on_bus.hpp"

namespace orbelle::server::test {
namespace {
using namespace orbelle::test;

const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

QVariantList spotArgs(const QVariant& lat, double lon, const QString& mode,
                      const QString& comment) {
  return {lat,     lon,   255,  14025.0, mode,       "DX1ABC", "12:00", "BY1X",
          comment, "loc", 40.0, -74.0,   12632256.0, "by loc", 14025.0};
}

class HostileBus : public MapWithServer {
 protected:
  // The map still answers, has not unloaded, holds its server object, and a pass runs to its end
  // and leaves the map cached.
  void expectAliveAndDrawing() {
    const QDBusMessage reply = call(server, kProperties, "Get", {kServer, "Drawing"});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_FALSE(reply.arguments().value(0).value<QDBusVariant>().variant().toBool());
    EXPECT_FALSE(form->unloaded());
    EXPECT_EQ(automation->serverCount(), 1u);
    ASSERT_EQ(method("Draw").type(), QDBusMessage::ReplyMessage);
    EXPECT_FALSE(model->Drawing());
    EXPECT_TRUE(model->state().MapCached);
  }
};

// One call per member with wrong argument types or counts (the conversions of each type are
// BusObject's own tests); "=" after a name writes that property.
TEST_F(HostileBus, WrongArgumentTypesAndCountsGetErrorReplies) {
  QDBusArgument pair;
  pair.beginStructure();
  pair << 1 << QStringLiteral("x");
  pair.endStructure();
  const QVariant bytes = QByteArray("\x00\xff", 2);
  const QVariant list = QStringList{QStringLiteral("a")};
  const QVariantList spot = spotArgs(10, 20, "CW", "c");
  const std::vector<std::pair<const char*, QVariantList>> cases = {
      {"class_initialize", {1}},
      {"class_terminate", {QStringLiteral("now")}},
      {"DrawAsync", {true}},
      {"Draw", {1.0, 2.0}},
      {"setcallerref", {1, 2}},
      {"SaveImage", {QStringLiteral("a.bmp"), QStringLiteral("b.bmp")}},
      {"LoadImage", {list}},
      {"DrawPath", {QVariant::fromValue(QDBusObjectPath("/x")), 2.0}},
      {"AddSpot", spotArgs(QStringLiteral("ten"), 20, "CW", "c")},
      {"AddSpot", spot.mid(0, spot.size() - 1)},
      {"Release", {server}},
      {"NoSuchMember", {}},
      {"Latitude=", {QStringLiteral("north")}},
      {"Longitude=", {list}},
      {"PixelSize=", {1.0e10}},
      {"MaxDxMi=", {QVariant::fromValue(pair)}},
      {"MaxDxKm=", {bytes}},
      {"UTCOffset=", {70000}},
      {"Drawing=", {false}},
      {"NoSuchProperty=", {1}},
  };
  for (const auto& [member, args] : cases) {
    const QString name = QString::fromLatin1(member);
    const QDBusMessage reply =
        name.endsWith('=') ? set(name.chopped(1), args.value(0)) : method(name, args);
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << member << " was accepted";
  }
  EXPECT_EQ(call(server, kProperties, "Get", {kServer, "NoSuchProperty"}).type(),
            QDBusMessage::ErrorMessage);
  // Nothing the refused calls carried was taken.
  EXPECT_EQ(model->spots().NextSpot(), 1);
  EXPECT_FALSE(model->state().plane.PathShown);
  expectAliveAndDrawing();
}

// Radii and sizes out of range are kept in bounds; NaN, infinities and 1e308 in every number are
// answered, and a pass from a station that is not a place ends; megabyte texts in a spot are kept.
TEST_F(HostileBus, ExtremeValuesAreAnsweredKeptInBoundsAndDrawingGoesOn) {
  for (const int miles : {0, -1, 32767, -32768}) {
    EXPECT_EQ(set("MaxDxMi", miles).type(), QDBusMessage::ReplyMessage) << miles;
    EXPECT_GE(get("MaxDxMi").toInt(), 100) << miles;
    EXPECT_LE(get("MaxDxMi").toInt(), 12437) << miles;
  }
  for (const int pixels : {0, -5, 32767, -32768, 300}) {
    EXPECT_EQ(set("PixelSize", pixels).type(), QDBusMessage::ReplyMessage) << pixels;
    // The window keeps its surface within what it can draw, and reports what it has.
    EXPECT_GE(model->layers().width(), 1) << pixels;
    EXPECT_LE(model->layers().width(), 4096) << pixels;
    EXPECT_EQ(get("PixelSize").toInt(), std::lround(form->surfaceOuterWidthPixels()) - 3) << pixels;
  }
  const double inf = std::numeric_limits<double>::infinity();
  for (const double x : {std::numeric_limits<double>::quiet_NaN(), inf, -inf, 1e308, -1e308}) {
    for (const char* name : {"Latitude", "Longitude"}) {
      EXPECT_NE(set(name, x).type(), QDBusMessage::InvalidMessage) << name << " " << x;
    }
    for (const QVariantList& args : {QVariantList{x, x}, QVariantList{x, 0.0}, QVariantList{x}}) {
      EXPECT_NE(method("DrawPath", args).type(), QDBusMessage::InvalidMessage);
    }
    QVariantList spot = spotArgs(x, x, "CW", "c");
    for (const int i : {3, 10, 11, 12, 14}) spot[i] = x;  // the frequencies, the spotter's place
    EXPECT_NE(method("AddSpot", spot).type(), QDBusMessage::InvalidMessage) << x;
    for (const char* name : {"PixelSize", "MaxDxMi", "MaxDxKm", "UTCOffset"}) {
      EXPECT_EQ(set(name, x).type(), QDBusMessage::ErrorMessage) << name << " " << x;
    }
    expectAliveAndDrawing();
  }
  // Back to a real station: the map is drawn from it.
  ASSERT_EQ(set("Latitude", 33.9).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(set("Longitude", -84.179).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("Latitude").toDouble(), 33.9);
  const QString mode(1 << 20, QLatin1Char('M')), comment(1 << 20, QChar(0x00e9));
  const int slot = model->spots().NextSpot();
  ASSERT_EQ(method("AddSpot", spotArgs(10, 20, mode, comment)).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(model->spots().NextSpot(), slot + 1);
  EXPECT_EQ(model->spots().row(slot).Mode.size(), std::size_t{1} << 20);
  // The comment lives in the marker's hover text.
  EXPECT_NE(model->spots().slot(slot).markers.spotText.find(comment.toStdString()),
            std::string::npos);
  ASSERT_EQ(method("DrawPath", {51.5, -0.1}).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(model->state().plane.PathShown);
  expectAliveAndDrawing();
}

// Malformed headers are the picture files' own tests; here a file cut short, and a real 1-bit
// picture of 32767 x 32767 pixels: 134 MB on disk (sparse), 4 GB as a surface.
TEST_F(HostileBus, CutAndGiganticPicturesAreRefused) {
  ASSERT_EQ(method("Draw").type(), QDBusMessage::ReplyMessage);
  const QString good = path("good.bmp"), cut = path("cut.bmp"), huge = path("huge.bmp");
  ASSERT_EQ(method("SaveImage", {good}).type(), QDBusMessage::ReplyMessage);
  QFile goodFile(good), cutFile(cut), hugeFile(huge);
  ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly) && cutFile.open(QIODevice::WriteOnly) &&
              hugeFile.open(QIODevice::WriteOnly));
  cutFile.write(goodFile.readAll().left(goodFile.size() / 2));
  cutFile.close();
  const quint32 side = 32767, rowBytes = 4096, offset = 62;
  QDataStream header(&hugeFile);
  header.setByteOrder(QDataStream::LittleEndian);
  // File header, then the 40-byte information header (planes 1, 1 bit per pixel), then the
  // palette: black, white.
  header << quint8('B') << quint8('M') << quint32(offset + rowBytes * side) << quint32(0) << offset
         << quint32(40) << side << side << quint16(1) << quint16(1) << quint32(0) << quint32(0)
         << quint32(0) << quint32(0) << quint32(0) << quint32(0) << quint32(0)
         << quint32(0x00ffffff);
  ASSERT_EQ(hugeFile.size(), offset);
  ASSERT_TRUE(hugeFile.resize(offset + qint64{rowBytes} * side));
  hugeFile.close();

  ASSERT_NE(model->layers().picture(), nullptr);
  const int widthBefore = model->layers().picture()->width();
  for (const QString& file : {cut, huge}) {
    EXPECT_EQ(method("LoadImage", {file}).type(), QDBusMessage::ErrorMessage) << file.toStdString();
    // The picture the map showed is still the one it showed.
    ASSERT_NE(model->layers().picture(), nullptr);
    EXPECT_EQ(model->layers().picture()->width(), widthBefore);
  }
  ASSERT_EQ(method("LoadImage", {good}).type(), QDBusMessage::ReplyMessage);
  expectAliveAndDrawing();
}

// Call number i of flooding client c: reads, writes, path lines, spots, passes and calls of
// members that do not exist (which alone fail).
QDBusMessage floodCall(const QString& server, int c, int i) {
  const auto make = [&](const QString& interface, const char* member, const QVariantList& args) {
    QDBusMessage m = QDBusMessage::createMethodCall("Orbelle.server", server, interface, member);
    m.setArguments(args);
    return m;
  };
  switch (i % 5) {
    case 0:
      return make(kProperties, "Get", {kServer, "Latitude"});
    case 1:
      return make(kProperties, "Set",
                  {kServer, "UTCOffset", QVariant::fromValue(QDBusVariant(qint16(c)))});
    case 2:
      return make(kServer, "DrawPath", {10.0 + c, static_cast<double>(i % 180)});
    case 3:
      return make(kServer, "AddSpot",
                  spotArgs(c, i % 90, "CW", QStringLiteral("%1/%2").arg(c).arg(i)));
    default:
      return make(kServer, i % 100 == 4 ? "DrawAsync" : "NoSuchMember", {});
  }
}

TEST_F(HostileBus, TenThousandCallsFromSeveralClientsAtOnce) {
  constexpr int kClients = 4, kCallsPerClient = 2500;
  // Each client keeps as many calls waiting as the bus lets one connection have (its default
  // limit is 128 pending replies), so the map always has hundreds of calls queued.
  constexpr int kInFlight = 120;
  struct Client {
    QDBusConnection connection{QString()};
    std::vector<std::pair<int, QDBusPendingCall>> waiting;  // call number, call
    int next = 0;
  };
  std::vector<Client> clients(kClients);
  for (int c = 0; c < kClients; ++c) {
    clients[c].connection = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                          QStringLiteral("flood-%1").arg(c));
    ASSERT_TRUE(clients[c].connection.isConnected());
  }
  int answers = 0, unexpected = 0;
  const bool done = waitUntil(
      [&] {
        bool finished = true;
        for (int c = 0; c < kClients; ++c) {
          Client& client = clients[c];
          std::erase_if(client.waiting, [&](const auto& sent) {
            const auto& [i, pending] = sent;
            if (!pending.isFinished()) return false;
            ++answers;
            if (pending.isError() != (i % 5 == 4 && i % 100 != 4) && ++unexpected <= 5) {
              ADD_FAILURE() << "client " << c << ", call " << i << ": "
                            << (pending.isError() ? pending.error().message().toStdString()
                                                  : "accepted");
            }
            return true;
          });
          while (client.next < kCallsPerClient && client.waiting.size() < kInFlight) {
            const int i = client.next++;
            client.waiting.emplace_back(i, client.connection.asyncCall(floodCall(server, c, i)));
          }
          finished = finished && client.next == kCallsPerClient && client.waiting.empty();
        }
        return finished;
      },
      240000);
  ASSERT_TRUE(done) << "calls left unanswered after " << answers << " answers";
  EXPECT_EQ(unexpected, 0);
  for (int c = 0; c < kClients; ++c) {
    QDBusConnection::disconnectFromBus(QStringLiteral("flood-%1").arg(c));
  }

  // Every spot went into the ring: 2000 spots have gone round its 25 slots 80 times.
  EXPECT_EQ(model->spots().NextSpot(), 2000 % 25 + 1);
  // A DrawAsync near the end of the flood may still be waiting for its timer: settle it too.
  ASSERT_TRUE(waitUntil(
      [&] {
        return !model->Drawing() && !model->passRunning() && !model->refreshing() &&
               !model->drawAsyncPending();
      },
      120000));
  expectAliveAndDrawing();
}

}  // namespace
}  // namespace orbelle::server::test
