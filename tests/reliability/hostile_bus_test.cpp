// The map on a private bus under a hostile host's calls: every call is answered or refused, the
// map keeps working, and what it holds stays as the valid calls left it.

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QFile>
#include <algorithm>
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
  ASSERT_EQ(set("UTCOffset", -5).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("UTCOffset").toInt(), -5);
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

// Malformed and oversized headers are the picture files' own tests; here a file cut short.
TEST_F(HostileBus, ACutPictureIsRefused) {
  ASSERT_EQ(method("Draw").type(), QDBusMessage::ReplyMessage);
  const QString good = path("good.bmp"), cut = path("cut.bmp");
  ASSERT_EQ(method("SaveImage", {good}).type(), QDBusMessage::ReplyMessage);
  QFile goodFile(good), cutFile(cut);
  ASSERT_TRUE(goodFile.open(QIODevice::ReadOnly) && cutFile.open(QIODevice::WriteOnly));
  cutFile.write(goodFile.readAll().left(goodFile.size() / 2));
  cutFile.close();

  ASSERT_NE(model->layers().picture(), nullptr);
  const raster::Surface before = *model->layers().picture();
  EXPECT_EQ(method("LoadImage", {cut}).type(), QDBusMessage::ErrorMessage);
  // The picture the map showed is still the one it showed, not its readable half.
  const raster::Surface* after = model->layers().picture();
  ASSERT_TRUE(after && after->width() == before.width() && after->height() == before.height());
  EXPECT_TRUE(std::equal(before.pixels(), before.pixels() + before.width() * before.height(),
                         after->pixels()));
  ASSERT_EQ(method("LoadImage", {good}).type(), QDBusMessage::ReplyMessage);
  expectAliveAndDrawing();
}

}  // namespace
}  // namespace orbelle::server::test
