// The server and window objects' members and lifetime, driven over the private bus by a host.

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QTimer>
#include <cmath>
#include <optional>

#include "server/interface_description.hpp"
#include "shell/surface_widget.hpp"
#include "support/map_on_bus.hpp"
#include "text_helpers.hpp"

namespace orbelle::server::test {
namespace {
using namespace orbelle::test;

class ServerMembers : public MapWithServer {
 protected:
  bool iniHolds(const QString& key, int value) const {
    QFile file(path(QStringLiteral("orbelle.ini")));
    return file.open(QIODevice::ReadOnly) &&
           holdsSetting(QString::fromUtf8(file.readAll()), key, QString::number(value));
  }
  QString getError(const QString& name) {
    return call(server, "org.freedesktop.DBus.Properties", "Get", {kServer, name}).errorName();
  }
};

// Each property set in turn: what reads back afterwards (field rules applied), or the refusal.
TEST_F(ServerMembers, PropertiesFollowTheFieldRulesAndRefuseWhatDoesNotFit) {
  struct Case {
    QString name;
    QVariant value;
    const char* refused;  // the error name; null when the set succeeds
    QString read;         // the property read afterwards
    double expected;
  };
  const Case cases[] = {
      {"MaxDxMi", QVariant::fromValue<std::int16_t>(50), nullptr, "MaxDxKm", 160},
      {"MaxDxKm", 100, nullptr, "MaxDxMi", 62},  // no bounds; an int32 fits
      {"MaxDxMi", 70000, error::kInvalidArgs, "MaxDxMi", 62},
      {"MaxDxMi", QStringLiteral("500"), error::kInvalidArgs, "MaxDxMi", 62},
      {"Latitude", 95.0, nullptr, "Latitude", 95},
      {"Longitude", -200, nullptr, "Longitude", -200},
      {"UTCOffset", 2.5, nullptr, "UTCOffset", 2},  // half to even
      {"PixelSize", QVariant::fromValue<std::int16_t>(400), nullptr, "PixelSize", 404},  // 406.67-3
      {"Drawing", true, error::kPropertyReadOnly, "Drawing", 0},
      {"AntennaHeading", QStringLiteral("north"), error::kInvalidArgs, "AntennaHeading", NAN},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name.toStdString() + " = " + k.value.toString().toStdString());
    const QDBusMessage reply = set(k.name, k.value);
    EXPECT_EQ(reply.errorName(), k.refused ? QString::fromLatin1(k.refused) : QString())
        << reply.errorMessage().toStdString();
    const double read = property(server, kServer, k.read).toDouble();
    if (std::isnan(k.expected)) {
      EXPECT_TRUE(std::isnan(read));
    } else {
      EXPECT_EQ(read, k.expected);
    }
  }
  EXPECT_DOUBLE_EQ(form->surfaceWidthTwips(), 6100.0);  // PixelSize 400
  ASSERT_EQ(set("PixelSize", QVariant::fromValue<std::int16_t>(600)).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_NE(get("PixelSize").toInt(), 600);  // the surface is read, not the value set
  EXPECT_NEAR(get("PixelSize").toInt(), form->surfaceOuterWidthPixels() - 3.0, 0.5);
  EXPECT_EQ(form->controls().txtMaxDxMi->text(), "62");
  EXPECT_EQ(form->controls().txtLatHere->text(), "95");
  EXPECT_EQ(property("/Form1", kForm, "UTCOffsetSeconds").toDouble(), 7200.0);
  // The window holds what it is given; the server gives it rounded half to even.
  ASSERT_EQ(setProperty("/Form1", kForm, "UTCOffset", 5.5).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("UTCOffset").toInt(), 6);
  // The field's own validation bounds what is typed.
  model->setFieldText(model::OptionField::LatHere, form->controls().txtLatHere->text());
  model->txtLatHere_LostFocus();
  EXPECT_DOUBLE_EQ(model->state().plane.LatHere, 89.9);
  // Values the map holds that 16 bits cannot give are errors, not wrapped numbers.
  ASSERT_EQ(setProperty("/Form1", kForm, "MaxDx", QVariant::fromValue<std::int16_t>(30000)).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_EQ(getError("MaxDxKm"), error::kOverflow);
  ASSERT_EQ(setProperty("/Form1", kForm, "UTCOffset", 40000.0).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(getError("UTCOffset"), error::kOverflow);
}

// The first server object claims the window; variant slots keep exactly what the host stored.
TEST_F(ServerMembers, ObjectsClaimTheWindowAndKeepTheirSlots) {
  EXPECT_EQ(server, "/server/1");
  EXPECT_TRUE(model->ServerActive());
  EXPECT_EQ(get("Form").value<QDBusObjectPath>().path(), "/Form1");
  EXPECT_EQ(get("Callback"), QVariant(QString()));
  EXPECT_EQ(createServer(), "/server/2");
  form->close();
  EXPECT_FALSE(form->unloaded());
  EXPECT_FALSE(property("/Form1", kForm, "Visible").toBool());
  ASSERT_EQ(setProperty("/Form1", kForm, "Visible", true).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(form->isVisible());

  // A variant inside stays one level deep read after read; a structure keeps its signature.
  ASSERT_EQ(set("CallbackRef", QVariant::fromValue(QDBusVariant(5))).type(),
            QDBusMessage::ReplyMessage);
  for (int round = 0; round < 2; ++round) {
    const QVariant v = get("CallbackRef");
    ASSERT_EQ(v.metaType(), QMetaType::fromType<QDBusVariant>());
    EXPECT_EQ(v.value<QDBusVariant>().variant(), QVariant(5));
    ASSERT_EQ(set("CallbackRef", v).type(), QDBusMessage::ReplyMessage);
  }
  QDBusArgument pair;
  pair.beginStructure();
  pair << QStringLiteral(":1.9") << QDBusObjectPath("/host");
  pair.endStructure();
  ASSERT_EQ(set("CallbackRef", QVariant::fromValue(pair)).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("CallbackRef").value<QDBusArgument>().currentSignature(), "(so)");
  ASSERT_EQ(set("CallbackRef", 42).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("CallbackRef"), QVariant(42));
  ASSERT_EQ(set("Form", QStringLiteral("elsewhere")).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("Form"), QVariant(QStringLiteral("elsewhere")));
  ASSERT_EQ(method("class_initialize").type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("Form").value<QDBusObjectPath>().path(), "/Form1");
  ASSERT_EQ(method("setcallerref", {QVariant::fromValue(QDBusVariant(7))}).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_EQ(automation->CallerRef(), QVariant(7));

  EXPECT_EQ(property("/Form1", kForm, "Caption").toString(), "orbelle");
  // Twips at 96 dpi; the height follows from the width (surface 9000 - 960 - 200, plus 520).
  const std::pair<const char*, double> place[] = {
      {"Left", 1500.0}, {"Top", 750.0}, {"Width", 9000.0}, {"Height", 3000.0}};
  for (const auto& [name, twips] : place) {
    ASSERT_EQ(setProperty("/Form1", kForm, name, twips).type(), QDBusMessage::ReplyMessage);
  }
  EXPECT_EQ(form->pos(), QPoint(100, 50));
  EXPECT_DOUBLE_EQ(property("/Form1", kForm, "Width").toDouble(), 9000.0);
  EXPECT_DOUBLE_EQ(property("/Form1", kForm, "Height").toDouble(), 8360.0);
  ASSERT_EQ(setProperty("/Form1", kForm, "ShowSun", false).type(), QDBusMessage::ReplyMessage);
  EXPECT_FALSE(model->state().ShowSun);
  const QDBusMessage miles = call("/Form1", kForm, "DrawPoint", {0.0, 90.0, 255, 3});
  ASSERT_EQ(miles.type(), QDBusMessage::ReplyMessage) << miles.errorMessage().toStdString();
  EXPECT_GT(miles.arguments().at(0).toDouble(), 0.0);
  EXPECT_EQ(call("/Form1", kForm, "SetPixelSize", {40000}).errorName(), error::kInvalidArgs);
}

// orbelle-station's antenna heading: an orange line out from the station; NaN takes it away.
TEST_F(ServerMembers, AntennaHeadingIsDrawnFromTheStation) {
  EXPECT_TRUE(std::isnan(get("AntennaHeading").toDouble()));
  model->cmdDraw_Click();
  ASSERT_TRUE(waitUntil([&] { return model->settled() && model->hasPicture(); }));
  const QPoint centre = form->controls().Picture1->imageRect().center();
  const auto orangeAt = [&](QPoint offset) {
    const QImage image = form->controls().Picture1->grab().toImage();
    const QColor c = image.pixelColor(centre + offset);
    return c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 60;
  };
  const struct {
    double heading;
    std::vector<QPoint> orange, notOrange;
  } steps[] = {{90.0, {{100, 0}, {200, 0}}, {{0, 100}, {-100, 0}}},
               {180.0, {{0, 100}}, {}},
               {NAN, {}, {{0, 100}}}};
  EXPECT_FALSE(orangeAt({100, 0}));
  for (const auto& s : steps) {
    ASSERT_EQ(set("AntennaHeading", s.heading).type(), QDBusMessage::ReplyMessage);
    const double read = get("AntennaHeading").toDouble();
    EXPECT_TRUE(read == s.heading || (std::isnan(read) && std::isnan(s.heading))) << read;
    for (const QPoint& p : s.orange) {
      EXPECT_TRUE(orangeAt(p)) << s.heading << " at " << p.x() << "," << p.y();
    }
    for (const QPoint& p : s.notOrange) {
      EXPECT_FALSE(orangeAt(p)) << s.heading << " at " << p.x() << "," << p.y();
    }
  }
}

// What cannot be dispatched is an error naming the fault; GetAll and Introspect answer.
TEST_F(ServerMembers, CallsAreCheckedAgainstTheInterface) {
  const QString props = QStringLiteral("org.freedesktop.DBus.Properties");
  const auto setTo = [](const char* name, const QVariant& value) {
    return QVariantList{kServer, name, QVariant::fromValue(QDBusVariant(value))};
  };
  const struct {
    QString interface, member;
    QVariantList args;
    const char* error;
    const char* message;
  } cases[] = {
      {kServer, "Nope", {}, error::kUnknownMethod, "Nope"},
      {"test.Other", "Release", {}, error::kUnknownInterface, "test.Other"},
      {kServer, "DrawPath", {1.0, 2.0, 3.0}, error::kInvalidArgs, "the call has (ddd)"},
      {props, "Set", setTo("Missing", 1), error::kUnknownProperty, "Missing"},
      {props, "Get", {"test.Other", "MaxDxMi"}, error::kUnknownInterface, "test.Other"},
      {props, "Set", setTo("MaxDxMi", 70000), error::kInvalidArgs, "MaxDxMi: 70000"},
  };
  for (const auto& k : cases) {
    const QDBusMessage reply = call(server, k.interface, k.member, k.args);
    EXPECT_EQ(reply.errorName(), k.error) << k.member.toStdString();
    EXPECT_TRUE(reply.errorMessage().contains(k.message)) << reply.errorMessage().toStdString();
  }
  EXPECT_EQ(call(server, "", "DrawPath", {10.0, 20.0}).type(), QDBusMessage::ReplyMessage);
  const QDBusMessage all = call(server, props, "GetAll", {kServer});
  ASSERT_EQ(all.type(), QDBusMessage::ReplyMessage) << all.errorMessage().toStdString();
  QVariantMap values;
  all.arguments().at(0).value<QDBusArgument>() >> values;
  EXPECT_EQ(values.value("MaxDxMi").toInt(), model->state().plane.MaxDx);
  EXPECT_FALSE(values.value("Drawing").toBool());
  const QDBusMessage xml = call(server, "org.freedesktop.DBus.Introspectable", "Introspect");
  EXPECT_TRUE(
      xml.arguments().value(0).toString().contains(builtInInterface(kServer).xml.trimmed()));
}

TEST_F(ServerMembers, DrawPathTakesTwoOneOrNoArguments) {
  const geo::MapPlane& plane = model->state().plane;
  model->DrawPath(10.0, 0.0);
  const std::int16_t atZero = plane.PathX;
  ASSERT_EQ(method("DrawPath", {10.0, 20.0}).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(plane.PathShown);
  EXPECT_NE(plane.PathX, atZero);
  ASSERT_EQ(method("DrawPath", {10.0}).type(), QDBusMessage::ReplyMessage);  // longitude 0
  EXPECT_TRUE(plane.PathShown);
  EXPECT_EQ(plane.PathX, atZero);
  ASSERT_EQ(method("DrawPath").type(), QDBusMessage::ReplyMessage);  // latitude −99: removed
  EXPECT_FALSE(plane.PathShown);
  EXPECT_EQ(method("DrawPath", {"north"}).errorName(), error::kInvalidArgs);
  EXPECT_EQ(method("DrawPath", {1.0, 2.0, 3.0}).errorName(), error::kInvalidArgs);
}

// AddSpot's fifteen arguments for spot number n.
QVariantList spotArgs(int n) {
  return {10.0 + n,   20.0, 255,        14000.0 + n, "CW",  QString("C%1").arg(n),
          " 12:00 ",  "BY", "c",        "loc",       -91.0, 0.0,
          12632256.0, "l2", 21000.0 + n};
}

TEST_F(ServerMembers, ThirtySpotsFillTheRingOfTwentyFive) {
  for (int n = 1; n <= 30; ++n) {
    const QDBusMessage reply = method("AddSpot", spotArgs(n));
    ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  }
  const spots::SpotList& layer = model->spots();
  EXPECT_EQ(layer.MaxSpots(), 25);
  EXPECT_EQ(layer.NextSpot(), 6);
  // Spots 26 .. 30 took slots 1 .. 5; every value arrived in its place.
  const spots::SpotRow& first = layer.row(1);
  EXPECT_EQ(first.LatDeg, 36.0);
  EXPECT_EQ(first.SpotFreq, 14026.0);
  EXPECT_EQ(first.Mode, "CW");
  EXPECT_EQ(first.SpotBy, "BY");
  EXPECT_EQ(first.SpotByLat, -91.0);
  EXPECT_EQ(first.SpotLoc, "loc");
  EXPECT_EQ(first.SpotFreqTX, 21026.0);
  EXPECT_EQ(layer.row(6).LatDeg, 16.0);
  EXPECT_EQ(layer.slot(1).markers.spotText.substr(0, 12), "C26 (by BY) ");

  QVariantList wrong = spotArgs(31);
  wrong[4] = 7;  // Mode
  const QDBusMessage refused = method("AddSpot", wrong);
  EXPECT_EQ(refused.errorName(), error::kInvalidArgs);
  EXPECT_TRUE(refused.errorMessage().contains("argument 5, Mode:"))
      << refused.errorMessage().toStdString();
  wrong.removeLast();
  EXPECT_EQ(method("AddSpot", wrong).errorName(), error::kInvalidArgs);
  EXPECT_EQ(layer.NextSpot(), 6);
  // The window object takes spots too, and adds its two samples.
  ASSERT_EQ(call("/Form1", kForm, "AddSpot", spotArgs(31)).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(call("/Form1", kForm, "testspot").type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(layer.NextSpot(), 9);
}

TEST_F(ServerMembers, PictureFileErrorsComeBackAndTheMapGoesOn) {
  ASSERT_EQ(method("Draw").type(), QDBusMessage::ReplyMessage);
  for (const QString& name : {path("no/such/folder/map.bmp"), path("missing.bmp")}) {
    const QDBusMessage refused = method(name.contains("no/") ? "SaveImage" : "LoadImage", {name});
    EXPECT_EQ(refused.errorName(), error::kPictureFile);
    EXPECT_TRUE(refused.errorMessage().contains(QFileInfo(name).fileName()))
        << refused.errorMessage().toStdString();
  }
  EXPECT_EQ(get("MaxDxMi").toInt(), model->state().plane.MaxDx);
  ASSERT_EQ(method("SaveImage", {path("saved.bmp")}).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(QFileInfo(path("saved.bmp")).size() > 0);
  EXPECT_EQ(method("LoadImage", {path("saved.bmp")}).type(), QDBusMessage::ReplyMessage);
}

// Runs `action` once from inside the next pass, as a call from the host arrives there.
class DuringPass {
 public:
  DuringPass(const model::MapModel& model, std::function<void()> action) : model_(model) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this, action = std::move(action)] {
      if (!model_.passRunning()) return;
      timer_.stop();
      action();
    });
    timer_.start();
  }

 private:
  const model::MapModel& model_;
  QTimer timer_;
};

// A Draw or DrawAsync during a pass runs one more pass after it, and is answered only then.
TEST_F(ServerMembers, DrawDuringAPassRunsOneMorePassAfterIt) {
  writeOutlines(300);
  int passes = 0;
  QObject::connect(model.get(), &model::MapModel::passFinished, [&] { ++passes; });
  for (const QString member : {"Draw", "DrawAsync"}) {
    SCOPED_TRACE(member.toStdString());
    passes = 0;
    const QDBusMessage draw =
        QDBusMessage::createMethodCall("Orbelle.server", server, kServer, member);
    std::optional<QDBusPendingCall> second;
    bool answeredInsideAPass = false;
    DuringPass during(*model, [&] { second = host.asyncCall(draw, 60000); });
    QTimer watch;
    watch.setInterval(0);
    QObject::connect(&watch, &QTimer::timeout, [&] {
      if (second && second->isFinished() && model->passRunning()) {
        answeredInsideAPass = true;
      }
    });
    watch.start();
    const QDBusPendingCall first = host.asyncCall(draw, 60000);
    ASSERT_TRUE(waitUntil(
        [&] { return first.isFinished() && second && second->isFinished() && passes == 2; },
        60000));
    EXPECT_FALSE(first.isError()) << first.error().message().toStdString();
    EXPECT_FALSE(second->isError());
    if (member == "Draw") {
      EXPECT_FALSE(answeredInsideAPass);  // answered after its own pass
    }
    EXPECT_FALSE(get("Drawing").toBool());
    EXPECT_TRUE(QFileInfo::exists(path("MapCache.bmp")));
  }
  // Nothing more is due.
  EXPECT_FALSE(waitUntil([&] { return passes > 2; }, 300));
}

// Released inside its own Draw (whose pass lets events run, deferred deletes too), the object
// outlives the running handler, answers, and goes once it has returned.
TEST_F(ServerMembers, AnObjectReleasedInsideItsOwnDrawAnswersAndThenGoes) {
  writeOutlines(300);
  DuringPass during(*model, [&] {
    host.asyncCall(QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "Release"));
  });
  const QDBusPendingCall draw =
      host.asyncCall(QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "Draw"));
  ASSERT_TRUE(waitUntil([&] { return draw.isFinished() && ended; }, 60000));
  EXPECT_FALSE(draw.isError()) << draw.error().message().toStdString();
  EXPECT_EQ(method("DrawAsync").errorName(), error::kUnknownObject);
}

// The creator leaving mid-pass ends the program after the (cancelled) pass, settings written.
TEST_F(ServerMembers, TheCreatorLeavingDuringAPassEndsTheProgramAfterIt) {
  writeOutlines(300);
  DuringPass during(*model, [&] {
    host = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(hostName);
  });
  host.asyncCall(QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "Draw"));
  ASSERT_TRUE(waitUntil([&] { return ended; }, 60000));
  EXPECT_TRUE(form->unloaded());
  EXPECT_FALSE(model->passRunning());
  EXPECT_TRUE(model->CancelDraw());  // the unload came inside the pass and cancelled it
  EXPECT_EQ(automation->serverCount(), 0u);
  EXPECT_TRUE(QFileInfo::exists(path("orbelle.ini")));
}

// The creator leaving mid-pass unloads the window after it; a detached object keeps the program.
TEST_F(ServerMembers, TheCreatorLeavingDestroysItsObjectsButNotDetachedOnes) {
  writeOutlines(300);
  const QDBusMessage detached = call("/", kFactory, "CreateDetached");
  ASSERT_EQ(detached.arguments().value(0).value<QDBusObjectPath>().path(), "/server/2");
  ASSERT_EQ(set("MaxDxMi", 2345).type(), QDBusMessage::ReplyMessage);
  DuringPass during(*model, [&] {
    host = QDBusConnection(QString());  // the last reference: the connection closes
    QDBusConnection::disconnectFromBus(hostName);
  });
  host.asyncCall(QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "Draw"));
  ASSERT_TRUE(waitUntil([&] { return form->unloaded() && automation->serverCount() == 1; }));
  EXPECT_FALSE(model->passRunning());
  EXPECT_TRUE(model->CancelDraw());  // the unload came inside the pass and cancelled it
  EXPECT_TRUE(iniHolds("MaxDx", 2345));
  EXPECT_FALSE(ended);
}

// class_terminate unloads the window; the program ends with the last object released.
TEST_F(ServerMembers, TheProgramEndsWithItsLastReleasedObject) {
  const QString second = createServer();
  ASSERT_EQ(set("MaxDxMi", 1234).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(method("class_terminate").type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(form->unloaded());
  EXPECT_TRUE(iniHolds("MaxDx", 1234));
  EXPECT_EQ(
      call(second, "org.freedesktop.DBus.Properties", "Get", {kServer, "MaxDxMi"}).errorName(),
      error::kWindowUnloaded);
  EXPECT_EQ(property(second, kServer, "Form").value<QDBusObjectPath>().path(), "/Form1");
  ASSERT_EQ(method("Release").type(), QDBusMessage::ReplyMessage);
  EXPECT_FALSE(ended);
  EXPECT_EQ(method("DrawAsync").errorName(), error::kUnknownObject);
  ASSERT_EQ(call(second, kServer, "Release").type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(ended);
}

}  // namespace
}  // namespace orbelle::server::test
