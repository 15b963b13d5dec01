// The server and window objects' members and lifetime, driven over the private bus by a host.

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QImage>
#include <QSettings>
#include <QTimer>
#include <cmath>

#include "server/interface_description.hpp"
#include "shell/surface_widget.hpp"
#include "support/map_on_bus.hpp"

namespace orbelle::server::test {
namespace {
using namespace orbelle::test;

const QString kProps = QStringLiteral("org.freedesktop.DBus.Properties");
const QString kWindow = QStringLiteral("/Form1");

class ServerMembers : public MapWithServer {
 protected:
  static QString interfaceOf(const QString& object) { return object == kWindow ? kForm : kServer; }
  // The property's value as text, or the error's name when it cannot be read.
  QString read(const QString& object, const QString& name) {
    const QDBusMessage reply = call(object, kProps, "Get", {interfaceOf(object), name});
    if (reply.type() == QDBusMessage::ErrorMessage) return reply.errorName();
    return reply.arguments().value(0).value<QDBusVariant>().variant().toString();
  }
  static bool ok(const QDBusMessage& reply) {
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    return reply.type() == QDBusMessage::ReplyMessage;
  }
  QDBusMessage asMessage(const QString& member) {
    return QDBusMessage::createMethodCall("Orbelle.server", server, kServer, member);
  }
  int storedMaxDx() const {
    return QSettings(path("orbelle.ini"), QSettings::IniFormat).value("Settings/MaxDx").toInt();
  }
};

// Each step sets a property (unless the value is empty) and reads one: its text or the error.
// The server's sets apply the field rules, the window's hold what they are given, and what 16
// bits cannot give is an error, not a wrapped number. Then the object's own slots and methods.
TEST_F(ServerMembers, PropertiesFollowTheFieldRulesAndRefuseWhatDoesNotFit) {
  const QString S = server;
  const QString F = kWindow;
  const auto int16 = [](int v) { return QVariant::fromValue<std::int16_t>(v); };
  form->close();
  EXPECT_FALSE(form->unloaded());
  const struct {
    QString object, name;
    QVariant value;
    const char* refused;  // the set's error; null when it succeeds
    QString read, expected;
  } steps[] = {
      {S, "MaxDxMi", int16(50), nullptr, "MaxDxKm", "160"},
      {S, "MaxDxKm", 100, nullptr, "MaxDxMi", "62"},                // no bounds; an int32 fits
      {S, "MaxDxMi", 70000, error::kInvalidArgs, "MaxDxMi", "62"},  // never wrapped
      {S, "MaxDxMi", QVariant::fromValue(~0ULL), error::kInvalidArgs, "MaxDxMi", "62"},
      {S, "MaxDxMi", true, error::kInvalidArgs, "MaxDxMi", "62"},
      {S, "MaxDxMi", QVariant::fromValue<quint16>(600), nullptr, "MaxDxMi", "600"},
      {S, "Latitude", 95.0, nullptr, "Latitude", "95"},  // bounds are for what is typed
      {S, "Longitude", -200, nullptr, "Longitude", "-200"},
      {S, "UTCOffset", 2.5, nullptr, "UTCOffset", "2"},                  // half to even
      {S, "UTCOffset", 32767.5, error::kInvalidArgs, "UTCOffset", "2"},  // rounds to 32768
      {S, "Latitude", "1.5", error::kInvalidArgs, "Latitude", "95"},
      {F, "", {}, nullptr, "UTCOffsetSeconds", "7200"},
      {S, "PixelSize", int16(400), nullptr, "PixelSize", "404"},  // the surface: 406.67 less 3
      {S, "Drawing", true, error::kPropertyReadOnly, "Drawing", "false"},
      {S, "CallbackRef", 42, nullptr, "CallbackRef", "42"},
      {S, "Form", "elsewhere", nullptr, "Form", "elsewhere"},
      {F, "UTCOffset", 5.5, nullptr, "UTCOffset", "5.5"},
      {S, "", {}, nullptr, "UTCOffset", "6"},
      {F, "MaxDx", int16(30000), nullptr, "MaxDx", "30000"},
      {S, "", {}, nullptr, "MaxDxKm", error::kOverflow},
      {F, "ShowSun", false, nullptr, "ShowSun", "false"},
      {F, "ShowSpots", false, nullptr, "ShowSpots", "false"},
      {F, "Caption", "host's map", nullptr, "Caption", "host's map"},
      {F, "Visible", true, nullptr, "Visible", "true"},
      // Twips at 96 dpi; the height follows from the width (surface 9000 - 960 - 200, plus 520).
      {F, "Left", 1500.0, nullptr, "Left", "1500"},
      {F, "Top", 750.0, nullptr, "Top", "750"},
      {F, "Width", 9000.0, nullptr, "Width", "9000"},
      {F, "Height", 3000.0, nullptr, "Height", "8360"},
  };
  for (const auto& k : steps) {
    SCOPED_TRACE(k.name.toStdString() + " = " + k.value.toString().toStdString());
    if (k.value.isValid()) {
      const QDBusMessage reply = setProperty(k.object, interfaceOf(k.object), k.name, k.value);
      EXPECT_EQ(reply.errorName(), k.refused ? QString::fromLatin1(k.refused) : QString());
    }
    EXPECT_EQ(read(k.object, k.read), k.expected) << k.read.toStdString();
  }
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->pos(), QPoint(100, 50));
  ASSERT_TRUE(ok(method("class_initialize")));
  EXPECT_EQ(get("Form").value<QDBusObjectPath>().path(), kWindow);
  ASSERT_TRUE(ok(method("setcallerref", {QVariant::fromValue(QDBusVariant(7))})));
  EXPECT_EQ(automation->CallerRef(), QVariant(7));
  const QDBusMessage miles = call(F, kForm, "DrawPoint", {0.0, 90.0, 255, 3});
  EXPECT_GT(miles.arguments().value(0).toDouble(), 0.0);
  const QVariantList wideColour = {0.0, 90.0, 1LL << 31, 3};
  EXPECT_EQ(call(F, kForm, "DrawPoint", wideColour).errorName(), error::kInvalidArgs);
  // A variant inside stays one level deep read after read.
  ASSERT_TRUE(ok(set("CallbackRef", QVariant::fromValue(QDBusVariant(5)))));
  for (int round = 0; round < 2; ++round) {
    const QVariant v = get("CallbackRef");
    ASSERT_EQ(v.metaType(), QMetaType::fromType<QDBusVariant>());
    EXPECT_EQ(v.value<QDBusVariant>().variant(), QVariant(5));
    ASSERT_TRUE(ok(set("CallbackRef", v)));
  }
}

// orbelle-station's antenna heading: an orange line out from the station; NaN takes it away.
TEST_F(ServerMembers, AntennaHeadingIsDrawnFromTheStation) {
  ASSERT_TRUE(ok(method("DrawAsync")));  // answered at once; the pass follows
  ASSERT_TRUE(waitUntil([&] { return model->settled() && model->hasPicture(); }));
  const auto orangeAt = [&](int dx, int dy) {
    const QPoint at = form->controls().Picture1->imageRect().center() + QPoint(dx, dy);
    const QColor c = form->controls().Picture1->grab().toImage().pixelColor(at);
    return c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 60;
  };
  EXPECT_FALSE(orangeAt(100, 0));
  ASSERT_TRUE(ok(set("AntennaHeading", 90.0)));
  EXPECT_TRUE(orangeAt(100, 0) && orangeAt(200, 0));
  EXPECT_FALSE(orangeAt(0, 100) || orangeAt(-100, 0));
  ASSERT_TRUE(ok(set("AntennaHeading", std::nan(""))));
  EXPECT_FALSE(orangeAt(100, 0));
  EXPECT_EQ(get("AntennaHeading").toString(), "nan");
}

// What cannot be dispatched is an error naming the fault; GetAll and Introspect answer; the
// window object takes AddSpot and adds its two samples.
TEST_F(ServerMembers, CallsAreCheckedAgainstTheInterface) {
  const auto setTo = [](const char* name, const QVariant& value) {
    return QVariantList{kServer, name, QVariant::fromValue(QDBusVariant(value))};
  };
  const QVariantList spot = {10.0, 20.0,  255,   14000.0, "CW",       "C1", " 12:00 ", "BY",
                             "c",  "loc", -91.0, 0.0,     12632256.0, "l2", 21000.0};
  QVariantList wrongMode = spot;
  wrongMode[4] = 7;
  const struct {
    QString interface, member;
    QVariantList args;
    const char* error;
    QString said;
  } cases[] = {
      {kServer, "Nope", {}, error::kUnknownMethod, "Nope"},
      {"test.Other", "Release", {}, error::kUnknownInterface, "test.Other"},
      {kServer, "DrawPath", {1.0, 2.0, 3.0}, error::kInvalidArgs, "the call has (ddd)"},
      {kProps, "Set", setTo("Missing", 1), error::kUnknownProperty, "Missing"},
      {kProps, "Get", {"test.Other", "MaxDxMi"}, error::kUnknownInterface, "test.Other"},
      {kServer, "SaveImage", {path("no/such/folder/map.bmp")}, error::kPictureFile, "map.bmp"},
      {kServer, "LoadImage", {path("missing.bmp")}, error::kPictureFile, "missing.bmp"},
      {kServer, "AddSpot", wrongMode, error::kInvalidArgs, "argument 5, Mode:"},
  };
  for (const auto& k : cases) {
    const QDBusMessage reply = call(server, k.interface, k.member, k.args);
    EXPECT_EQ(reply.errorName(), k.error) << k.member.toStdString();
    EXPECT_TRUE(reply.errorMessage().contains(k.said)) << reply.errorMessage().toStdString();
  }
  EXPECT_TRUE(ok(call(server, "", "DrawPath", {10.0, 20.0})));  // no interface named
  // DrawPath's left-out longitude is 0; a left-out latitude (-99) removes the path.
  const geo::MapPlane& plane = model->state().plane;
  ASSERT_TRUE(ok(method("DrawPath", {10.0})));
  const std::int16_t atZero = plane.PathX;
  model->DrawPath(10.0, 20.0);
  EXPECT_NE(plane.PathX, atZero);
  model->DrawPath(10.0, 0.0);
  EXPECT_EQ(plane.PathX, atZero);
  ASSERT_TRUE(ok(method("DrawPath")));
  EXPECT_FALSE(plane.PathShown);
  const QDBusMessage all = call(kWindow, kProps, "GetAll", {kForm});
  ASSERT_TRUE(ok(all));
  QVariantMap values;
  all.arguments().at(0).value<QDBusArgument>() >> values;
  EXPECT_EQ(values.value("MaxDx"), model->state().plane.MaxDx);
  const QDBusMessage xml = call(server, "org.freedesktop.DBus.Introspectable", "Introspect");
  EXPECT_TRUE(
      xml.arguments().value(0).toString().contains(builtInInterface(kServer).xml.trimmed()));

  ASSERT_TRUE(ok(call(kWindow, kForm, "AddSpot", spot)));
  EXPECT_EQ(model->spots().slot(1).markers.spotText.substr(0, 11), "C1 (by BY) ");
  ASSERT_TRUE(ok(call(kWindow, kForm, "testspot")));
  EXPECT_EQ(model->spots().NextSpot(), 4);  // and its two samples
}

// Runs `action` once from inside the next pass, as a call from the host arrives there.
std::unique_ptr<QTimer> duringPass(const model::MapModel& model, std::function<void()> action) {
  auto timer = std::make_unique<QTimer>();
  QObject::connect(timer.get(), &QTimer::timeout, [&model, t = timer.get(), action] {
    if (!model.passRunning()) return;
    t->stop();
    action();
  });
  timer->start(0);
  return timer;
}

// Released inside its own Draw (whose pass lets events run, deferred deletes too), the object
// outlives the running handler, answers, and goes once it has returned.
TEST_F(ServerMembers, AnObjectReleasedInsideItsOwnDrawAnswersAndThenGoes) {
  writeOutlines(300);
  const auto during = duringPass(*model, [&] { host.asyncCall(asMessage("Release")); });
  const QDBusPendingCall draw = host.asyncCall(asMessage("Draw"));
  ASSERT_TRUE(waitUntil([&] { return draw.isFinished() && ended; }, 60000));
  EXPECT_FALSE(draw.isError()) << draw.error().message().toStdString();
  EXPECT_EQ(method("DrawAsync").errorName(), error::kUnknownObject);
}

// The creator leaving mid-pass cancels the pass, unloads the window (settings written) and
// destroys its objects; a detached object remains and keeps the program running.
TEST_F(ServerMembers, TheCreatorLeavingDuringAPassLeavesTheDetachedObject) {
  writeOutlines(300);
  ASSERT_TRUE(ok(call("/", kFactory, "CreateDetached")));
  ASSERT_TRUE(ok(set("MaxDxMi", 2345)));
  const auto during = duringPass(*model, [&] {
    host = QDBusConnection(QString());  // the last reference: the connection closes
    QDBusConnection::disconnectFromBus(hostName);
  });
  host.asyncCall(asMessage("Draw"));
  ASSERT_TRUE(waitUntil([&] { return form->unloaded() && automation->serverCount() == 1; }));
  EXPECT_FALSE(model->passRunning());
  EXPECT_TRUE(model->CancelDraw());
  EXPECT_EQ(storedMaxDx(), 2345);
  EXPECT_FALSE(ended);
}

// class_terminate unloads the window; the program ends with the last object released.
TEST_F(ServerMembers, TheProgramEndsWithItsLastReleasedObject) {
  const QString second = createServer();
  EXPECT_EQ(second, "/server/2");
  EXPECT_TRUE(model->ServerActive());
  ASSERT_TRUE(ok(set("MaxDxMi", 1234)));
  ASSERT_TRUE(ok(method("class_terminate")));
  EXPECT_TRUE(form->unloaded());
  EXPECT_EQ(storedMaxDx(), 1234);
  EXPECT_EQ(read(second, "MaxDxMi"), error::kWindowUnloaded);
  ASSERT_TRUE(ok(method("Release")));
  EXPECT_FALSE(ended);
  EXPECT_EQ(method("DrawAsync").errorName(), error::kUnknownObject);
  ASSERT_TRUE(ok(call(second, kServer, "Release")));
  EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace orbelle::server::test
