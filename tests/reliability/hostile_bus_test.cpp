// The map on a private bus under a hostile host's calls: every call is answered or refused, the
// map keeps working, and what it holds stays as the valid calls left it.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFile>
#include <QPushButton>
#include <cmath>
#include <limits>
#include <vector>

#include "raster/qt/picture_file.hpp"
#include "server/bus_values.hpp"
#include "support/map_on_bus.hpp"

namespace orbelle::server::test {
namespace {
using namespace orbelle::test;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

QVariantList spotArgs(double lat, double lon, const QString& mode, const QString& comment) {
  return {lat,     lon,   255,  14025.0, mode,       "DX1ABC", "12:00", "BY1X",
          comment, "loc", 40.0, -74.0,   12632256.0, "by loc", 14025.0};
}

class HostileBus : public MapWithServer {
 protected:
  // The map still answers, has not unloaded, holds its server object and is not drawing.
  void expectAlive() {
    const QDBusMessage reply = call(server, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {kServer, QStringLiteral("Drawing")});
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_FALSE(reply.arguments().value(0).value<QDBusVariant>().variant().toBool());
    EXPECT_FALSE(form->unloaded());
    EXPECT_EQ(automation->serverCount(), 1u);
  }
  // A pass runs to its end and leaves the map cached.
  void expectDraws() {
    const QDBusMessage reply = method(QStringLiteral("Draw"));
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    EXPECT_FALSE(model->Drawing());
    EXPECT_TRUE(model->state().MapCached);
  }
};

TEST_F(HostileBus, WrongArgumentTypesAndCountsGetErrorReplies) {
  QDBusArgument structure;
  structure.beginStructure();
  structure << 1 << QStringLiteral("x");
  structure.endStructure();
  const QVariant bytes = QByteArray("\x00\xff", 2);
  const QVariant list = QStringList{QStringLiteral("a")};
  const QVariant path = QVariant::fromValue(QDBusObjectPath("/x"));
  const QVariant pair = QVariant::fromValue(structure);

  struct Case {
    const char* member;
    QVariantList args;
  };
  QVariantList spot = spotArgs(10, 20, "CW", "c");
  QVariantList spotWithText = spot;
  spotWithText[0] = QStringLiteral("ten");
  QVariantList spotTooLong = spot;
  spotTooLong << 1.0;
  QVariantList spotTooShort = spot;
  spotTooShort.removeLast();
  const std::vector<Case> cases = {
      {"class_initialize", {1}},
      {"class_terminate", {QStringLiteral("now")}},
      {"DrawAsync", {true}},
      {"Draw", {1.0, 2.0}},
      {"setcallerref", {1, 2}},
      {"SaveImage", {bytes}},
      {"SaveImage", {QStringLiteral("a.bmp"), QStringLiteral("b.bmp")}},
      {"LoadImage", {list}},
      {"DrawPath", {QStringLiteral("north"), 2.0}},
      {"DrawPath", {path}},
      {"AddSpot", spotWithText},
      {"AddSpot", spotTooLong},
      {"AddSpot", spotTooShort},
      {"Release", {server}},
      {"NoSuchMember", {}}};
  for (const Case& c : cases) {
    const QDBusMessage reply = method(QString::fromLatin1(c.member), c.args);
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage)
        << c.member << " with " << c.args.size() << " arguments was accepted";
  }
  struct PropertyCase {
    const char* name;
    QVariant value;
  };
  const std::vector<PropertyCase> properties = {{"Latitude", QStringLiteral("north")},
                                                {"Longitude", list},
                                                {"PixelSize", QStringLiteral("big")},
                                                {"PixelSize", 1.0e10},
                                                {"MaxDxMi", pair},
                                                {"MaxDxKm", bytes},
                                                {"UTCOffset", 70000},
                                                {"Drawing", false},
                                                {"NoSuchProperty", 1}};
  for (const PropertyCase& p : properties) {
    EXPECT_EQ(set(QString::fromLatin1(p.name), p.value).type(), QDBusMessage::ErrorMessage)
        << p.name;
  }
  EXPECT_EQ(call(server, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
                 {kServer, QStringLiteral("NoSuchProperty")})
                .type(),
            QDBusMessage::ErrorMessage);
  // Nothing the refused calls carried was taken.
  EXPECT_EQ(model->spots().NextSpot(), 1);
  EXPECT_FALSE(model->state().plane.PathShown);
  expectAlive();
  expectDraws();
}

TEST_F(HostileBus, ExtremeNumbersAreAnsweredKeptInBoundsAndDrawingGoesOn) {
  for (const int miles : {0, -1, 32767, -32768}) {
    EXPECT_EQ(set(QStringLiteral("MaxDxMi"), miles).type(), QDBusMessage::ReplyMessage) << miles;
    const int stored = get(QStringLiteral("MaxDxMi")).toInt();
    EXPECT_GE(stored, 100) << miles;
    EXPECT_LE(stored, 12437) << miles;
  }
  for (const int pixels : {0, -5, 32767, -32768, 300}) {
    EXPECT_EQ(set(QStringLiteral("PixelSize"), pixels).type(), QDBusMessage::ReplyMessage)
        << pixels;
    // The window keeps its surface within what it can draw, and reports what it has.
    EXPECT_GE(model->layers().width(), 1) << pixels;
    EXPECT_LE(model->layers().width(), 4096) << pixels;
    EXPECT_EQ(get(QStringLiteral("PixelSize")).toInt(),
              static_cast<int>(std::lround(form->surfaceOuterWidthPixels())) - 3)
        << pixels;
    expectAlive();
  }
  const std::vector<double> extremes = {kNaN, kInf, -kInf, 1e308, -1e308};
  for (const double x : extremes) {
    for (const char* name : {"Latitude", "Longitude"}) {
      const QDBusMessage reply = set(QString::fromLatin1(name), x);
      EXPECT_NE(reply.type(), QDBusMessage::InvalidMessage) << name << " " << x;
    }
    for (const QVariantList& args : {QVariantList{x, x}, QVariantList{x, 0.0}, QVariantList{x}}) {
      EXPECT_NE(method(QStringLiteral("DrawPath"), args).type(), QDBusMessage::InvalidMessage);
    }
    QVariantList spot = spotArgs(x, x, "CW", "c");
    for (const int i : {3, 10, 11, 12, 14}) spot[i] = x;  // the frequencies, the spotter's place
    EXPECT_NE(method(QStringLiteral("AddSpot"), spot).type(), QDBusMessage::InvalidMessage) << x;
    for (const char* name : {"PixelSize", "MaxDxMi", "MaxDxKm", "UTCOffset"}) {
      EXPECT_EQ(set(QString::fromLatin1(name), x).type(), QDBusMessage::ErrorMessage)
          << name << " " << x;
    }
    // A pass from a station that is not a place still ends.
    expectDraws();
    expectAlive();
  }
  // Back to a real station: the map is drawn from it.
  ASSERT_EQ(set(QStringLiteral("Latitude"), 33.9).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(set(QStringLiteral("Longitude"), -84.179).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get(QStringLiteral("Latitude")).toDouble(), 33.9);
  ASSERT_EQ(method(QStringLiteral("DrawPath"), {51.5, -0.1}).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(model->state().plane.PathShown);
  expectDraws();
  expectAlive();
}

TEST_F(HostileBus, MegabyteStringsInASpot) {
  const QString mode(1 << 20, QLatin1Char('M'));
  const QString comment(1 << 20, QChar(0x00e9));
  const QDBusMessage reply = method(QStringLiteral("AddSpot"), spotArgs(10, 20, mode, comment));
  ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  const spots::SpotRow& row = model->spots().row(1);
  EXPECT_EQ(row.Mode.size(), static_cast<std::size_t>(1 << 20));
  // The comment lives in the marker's hover text.
  const std::string& hover = model->spots().slot(1).markers.spotText;
  EXPECT_NE(hover.find(comment.toStdString()), std::string::npos);
  ASSERT_EQ(method(QStringLiteral("AddSpot"), spotArgs(11, 21, "CW", "small")).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_EQ(model->spots().NextSpot(), 3);
  expectDraws();
  expectAlive();
}

TEST_F(HostileBus, CorruptAndGiganticPicturesAreRefused) {
  ASSERT_EQ(method(QStringLiteral("Draw")).type(), QDBusMessage::ReplyMessage);
  const QString good = path(QStringLiteral("good.bmp"));
  ASSERT_EQ(method(QStringLiteral("SaveImage"), {good}).type(), QDBusMessage::ReplyMessage);
  QFile goodFile(good);
  ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly));
  const QByteArray bytes = goodFile.readAll();

  auto write = [&](const QString& name, const QByteArray& content) {
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return path(name);
  };
  // Malformed headers are the picture files' own tests; here a file cut short, and
  const QString cut = write(QStringLiteral("cut.bmp"), bytes.left(bytes.size() / 2));
  // a real 1-bit picture of 32767 x 32767 pixels: 134 MB on disk (sparse), 4 GB as a surface.
  QByteArray header(62, '\0');
  header[0] = 'B';
  header[1] = 'M';
  const quint32 rowBytes = 4096, side = 32767, offset = 62;
  const quint64 fileSize = offset + quint64{rowBytes} * side;
  auto put32 = [&](int at, quint32 v) {
    for (int i = 0; i < 4; ++i) header[at + i] = static_cast<char>((v >> (8 * i)) & 0xff);
  };
  put32(2, static_cast<quint32>(fileSize));
  put32(10, offset);
  put32(14, 40);
  put32(18, side);
  put32(22, side);
  header[26] = 1;         // planes
  header[28] = 1;         // bits per pixel
  put32(58, 0x00ffffff);  // palette: black, white
  const QString huge = write(QStringLiteral("huge.bmp"), header);
  ASSERT_TRUE(QFile(huge).resize(static_cast<qint64>(fileSize)));

  ASSERT_NE(model->layers().picture(), nullptr);
  const int widthBefore = model->layers().picture()->width();
  for (const QString& file : {cut, huge}) {
    const QDBusMessage reply = method(QStringLiteral("LoadImage"), {file});
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << file.toStdString();
    expectAlive();
  }
  // The picture the map showed is still the one it showed.
  ASSERT_NE(model->layers().picture(), nullptr);
  EXPECT_EQ(model->layers().picture()->width(), widthBefore);
  ASSERT_EQ(method(QStringLiteral("LoadImage"), {good}).type(), QDBusMessage::ReplyMessage);
  expectDraws();
}

// Call number i of a flooding client c: reads, writes, path lines, spots, passes and calls of
// members that do not exist.
QDBusMessage floodCall(const QString& server, int c, int i) {
  const QString properties = QStringLiteral("org.freedesktop.DBus.Properties");
  QDBusMessage m;
  switch (i % 5) {
    case 0:
      m = QDBusMessage::createMethodCall("Orbelle.server", server, properties, "Get");
      m.setArguments({kServer, QStringLiteral("Latitude")});
      break;
    case 1:
      m = QDBusMessage::createMethodCall("Orbelle.server", server, properties, "Set");
      m.setArguments({kServer, QStringLiteral("UTCOffset"),
                      QVariant::fromValue(QDBusVariant(static_cast<qint16>(c)))});
      break;
    case 2:
      m = QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "DrawPath");
      m.setArguments({10.0 + c, static_cast<double>(i % 180)});
      break;
    case 3:
      m = QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "AddSpot");
      m.setArguments(spotArgs(c, i % 90, "CW", QStringLiteral("%1/%2").arg(c).arg(i)));
      break;
    default:
      m = QDBusMessage::createMethodCall("Orbelle.server", server, kServer,
                                         i % 100 == 4 ? "DrawAsync" : "NoSuchMember");
      break;
  }
  return m;
}

bool floodCallShouldFail(int i) { return i % 5 == 4 && i % 100 != 4; }

TEST_F(HostileBus, TenThousandCallsFromSeveralClientsAtOnce) {
  constexpr int kClients = 4;
  constexpr int kCallsPerClient = 2500;
  // Each client keeps as many calls waiting as the bus lets one connection have (its default
  // limit is 128 pending replies), so the map always has hundreds of calls queued.
  constexpr int kInFlight = 120;
  struct Sent {
    int index = 0;
    QDBusPendingCall call;
  };
  struct Client {
    QString name;
    QDBusConnection connection{QString()};
    std::vector<Sent> waiting;
    int next = 0;
  };
  std::vector<Client> clients(kClients);
  for (int c = 0; c < kClients; ++c) {
    clients[c].name = QStringLiteral("flood-%1").arg(c);
    clients[c].connection =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, clients[c].name);
    ASSERT_TRUE(clients[c].connection.isConnected());
  }
  int replies = 0, errors = 0, unexpected = 0;
  auto settle = [&](int c, const Sent& sent) {
    const bool failed = sent.call.isError();
    (failed ? errors : replies) += 1;
    if (failed != floodCallShouldFail(sent.index) && ++unexpected <= 5) {
      ADD_FAILURE() << "client " << c << ", call " << sent.index << ": "
                    << (failed ? sent.call.error().message().toStdString() : "accepted");
    }
  };
  const bool done = waitUntil(
      [&] {
        bool finished = true;
        for (int c = 0; c < kClients; ++c) {
          Client& client = clients[c];
          std::erase_if(client.waiting, [&](const Sent& sent) {
            if (!sent.call.isFinished()) return false;
            settle(c, sent);
            return true;
          });
          while (client.next < kCallsPerClient &&
                 static_cast<int>(client.waiting.size()) < kInFlight) {
            const int i = client.next++;
            client.waiting.push_back({i, client.connection.asyncCall(floodCall(server, c, i))});
          }
          finished = finished && client.next == kCallsPerClient && client.waiting.empty();
        }
        return finished;
      },
      240000);
  ASSERT_TRUE(done) << "calls left unanswered after " << replies + errors << " answers";
  EXPECT_EQ(unexpected, 0);
  EXPECT_EQ(replies + errors, kClients * kCallsPerClient);
  for (const Client& client : clients) QDBusConnection::disconnectFromBus(client.name);

  // Every spot went into the ring: 2000 spots have gone round its 25 slots 80 times.
  EXPECT_EQ(model->spots().NextSpot(), 2000 % 25 + 1);
  // A DrawAsync near the end of the flood may still be waiting for its timer: settle it too.
  ASSERT_TRUE(waitUntil(
      [&] {
        return !model->Drawing() && !model->passRunning() && !model->refreshing() &&
               !model->drawAsyncPending();
      },
      120000));
  expectAlive();
  expectDraws();
}

}  // namespace
}  // namespace orbelle::server::test
