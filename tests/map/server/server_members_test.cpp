// The server object's members and lifetime, the window object and the factory, driven over the
// private bus by a host connection of the test.

#include <QCheckBox>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QImage>
#include <cmath>
#include <optional>

#include "model/map_layers.hpp"
#include "shell/surface_widget.hpp"
#include "support/map_on_bus.hpp"
#include "text_helpers.hpp"

namespace orbelle::server::test {
namespace {
using namespace orbelle::test;

class ServerMembers : public MapWithServer {
 protected:
  QString iniText() const {
    QFile file(path(QStringLiteral("orbelle.ini")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
  }
  bool iniHolds(const QString& key, int value) const {
    return holdsSetting(iniText(), key, QString::number(value));
  }
};

TEST_F(ServerMembers, CreationClaimsTheWindow) {
  EXPECT_EQ(server, "/server/1");
  EXPECT_TRUE(model->ServerActive());
  EXPECT_EQ(get("Form").value<QDBusObjectPath>().path(), "/Form1");
  EXPECT_EQ(get("Callback"), QVariant(QString()));  // nothing stored
  EXPECT_EQ(createServer(), "/server/2");
  // The close box now only hides the window.
  form->close();
  EXPECT_FALSE(form->unloaded());
  EXPECT_FALSE(property("/Form1", kForm, "Visible").toBool());
  ASSERT_EQ(setProperty("/Form1", kForm, "Visible", true).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(form->isVisible());
}

TEST_F(ServerMembers, RadiusSettersRunTheFieldValidations) {
  ASSERT_EQ(set("MaxDxMi", QVariant::fromValue<std::int16_t>(50)).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("MaxDxMi").toInt(), 100);
  EXPECT_EQ(get("MaxDxKm").toInt(), 160);
  EXPECT_EQ(form->controls().txtMaxDxKm->text(), "160");
  ASSERT_EQ(set("MaxDxKm", 100).type(), QDBusMessage::ReplyMessage);  // an int32 is fine
  EXPECT_EQ(get("MaxDxMi").toInt(), 62);  // the kilometre field has no bounds
  EXPECT_EQ(form->controls().txtMaxDxMi->text(), "62");

  const QDBusMessage wrapped = set("MaxDxMi", 70000);
  EXPECT_EQ(wrapped.errorName(), error::kInvalidArgs);
  EXPECT_EQ(set("MaxDxMi", QStringLiteral("500")).errorName(), error::kInvalidArgs);
  EXPECT_EQ(model->state().plane.MaxDx, 62);
  // A radius the kilometres cannot show in 16 bits is an error, not a wrapped number.
  ASSERT_EQ(setProperty("/Form1", kForm, "MaxDx", QVariant::fromValue<std::int16_t>(30000)).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_EQ(
      call(server, "org.freedesktop.DBus.Properties", "Get", {kServer, "MaxDxKm"}).errorName(),
      error::kOverflow);
}

TEST_F(ServerMembers, StationIsStoredWithoutTheFieldBounds) {
  ASSERT_EQ(set("Latitude", 95.0).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(set("Longitude", -200).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("Latitude").toDouble(), 95.0);
  EXPECT_EQ(get("Longitude").toDouble(), -200.0);
  EXPECT_EQ(model->state().plane.LatHere, 95.0);
  EXPECT_EQ(form->controls().txtLatHere->text(), "95");
  // The field's own validation bounds what is typed.
  model->setFieldText(model::OptionField::LatHere, form->controls().txtLatHere->text());
  model->txtLatHere_LostFocus();
  EXPECT_DOUBLE_EQ(model->state().plane.LatHere, 89.9);
}

// orbelle-station's antenna heading: a line from the station out along it, due east for 90; NaN
// takes it away. A value that is no number is refused.
TEST_F(ServerMembers, AntennaHeadingIsDrawnFromTheStation) {
  EXPECT_TRUE(std::isnan(get("AntennaHeading").toDouble()));
  model->cmdDraw_Click();
  ASSERT_TRUE(waitUntil([&] { return model->settled() && model->hasPicture(); }));
  const auto grab = [&] {
    return form->controls().Picture1->grab().toImage().convertToFormat(QImage::Format_RGB32);
  };
  const QPoint centre = form->controls().Picture1->imageRect().center();
  const auto orangeAt = [&](const QImage& image, QPoint offset) {
    const QColor c = image.pixelColor(centre + offset);
    return c.red() > 200 && c.green() > 100 && c.green() < 180 && c.blue() < 60;
  };
  const QImage before = grab();
  ASSERT_EQ(set("AntennaHeading", 90.0).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("AntennaHeading").toDouble(), 90.0);
  const QImage east = grab();
  EXPECT_FALSE(orangeAt(before, {100, 0}));
  EXPECT_TRUE(orangeAt(east, {100, 0}));
  EXPECT_TRUE(orangeAt(east, {200, 0}));
  EXPECT_FALSE(orangeAt(east, {0, 100}));
  EXPECT_FALSE(orangeAt(east, {-100, 0}));
  ASSERT_EQ(set("AntennaHeading", 180.0).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(orangeAt(grab(), {0, 100}));
  ASSERT_EQ(set("AntennaHeading", std::nan("")).type(), QDBusMessage::ReplyMessage);
  EXPECT_FALSE(orangeAt(grab(), {0, 100}));
  EXPECT_EQ(set("AntennaHeading", QStringLiteral("north")).errorName(),
            "org.freedesktop.DBus.Error.InvalidArgs");
}

TEST_F(ServerMembers, PixelSizeReadsTheSurfaceNotTheValueSet) {
  ASSERT_EQ(set("PixelSize", QVariant::fromValue<std::int16_t>(400)).type(),
            QDBusMessage::ReplyMessage);
  // A surface of 6100 twips (406 2/3 pixels) square, less 3, rounded.
  EXPECT_DOUBLE_EQ(form->surfaceWidthTwips(), 6100.0);
  EXPECT_EQ(get("PixelSize").toInt(), 404);
  ASSERT_EQ(set("PixelSize", QVariant::fromValue<std::int16_t>(600)).type(),
            QDBusMessage::ReplyMessage);
  const int read = get("PixelSize").toInt();
  EXPECT_NE(read, 600);
  EXPECT_NEAR(read, form->surfaceOuterWidthPixels() - 3.0, 0.5);
}

TEST_F(ServerMembers, UtcOffsetRoundsHalfToEvenAndRefusesWhatDoesNotFit) {
  ASSERT_EQ(set("UTCOffset", 2.5).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(model->state().UTCOffset, 2.0);
  EXPECT_EQ(property("/Form1", kForm, "UTCOffsetSeconds").toDouble(), 7200.0);
  model->setFieldText(model::OptionField::UTCOffset, QStringLiteral("5.5"));
  model->txtUTCOffset_LostFocus();
  EXPECT_EQ(get("UTCOffset").toInt(), 6);
  ASSERT_EQ(setProperty("/Form1", kForm, "UTCOffset", 40000.0).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(
      call(server, "org.freedesktop.DBus.Properties", "Get", {kServer, "UTCOffset"}).errorName(),
      error::kOverflow);
  EXPECT_EQ(set("Drawing", true).errorName(), error::kPropertyReadOnly);
}

TEST_F(ServerMembers, DrawPathTakesTwoOneOrNoArguments) {
  const geo::MapPlane& plane = model->state().plane;
  ASSERT_EQ(method("DrawPath", {10.0, 20.0}).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(plane.PathShown);
  const std::int16_t x = plane.PathX;
  ASSERT_EQ(method("DrawPath", {10.0}).type(), QDBusMessage::ReplyMessage);  // longitude 0
  EXPECT_TRUE(plane.PathShown);
  EXPECT_NE(plane.PathX, x);
  model->DrawPath(10.0, 0.0);
  const std::int16_t atZero = plane.PathX;
  ASSERT_EQ(method("DrawPath", {10.0}).type(), QDBusMessage::ReplyMessage);
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
  const QDBusMessage unwritable = method("SaveImage", {path("no/such/folder/map.bmp")});
  EXPECT_EQ(unwritable.errorName(), error::kPictureFile);
  EXPECT_TRUE(unwritable.errorMessage().contains("map.bmp"))
      << unwritable.errorMessage().toStdString();
  const QDBusMessage missing = method("LoadImage", {path("missing.bmp")});
  EXPECT_EQ(missing.errorName(), error::kPictureFile);
  EXPECT_TRUE(missing.errorMessage().contains("missing.bmp"));
  EXPECT_EQ(get("MaxDxMi").toInt(), model->state().plane.MaxDx);
  ASSERT_EQ(method("SaveImage", {path("saved.bmp")}).type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(QFileInfo(path("saved.bmp")).size() > 0);
  EXPECT_EQ(method("LoadImage", {path("saved.bmp")}).type(), QDBusMessage::ReplyMessage);
}

// Counts the passes that start: each one disables "&Options" when it sets Drawing.
class PassCounter : public QObject {
 public:
  explicit PassCounter(const shell::Form1& form) : options_(form.controls().cmdSetup) {
    options_->installEventFilter(this);
  }
  ~PassCounter() override { options_->removeEventFilter(this); }
  int passes = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::EnabledChange && !options_->isEnabled()) ++passes;
    return false;
  }

 private:
  QPushButton* options_;
};

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

TEST_F(ServerMembers, DrawDuringAPassRunsOneMorePassAfterIt) {
  writeOutlines(300);
  PassCounter counter(*form);
  const QDBusMessage draw =
      QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "Draw");
  std::optional<QDBusPendingCall> second;
  bool answeredInsideAPass = false;
  DuringPass during(*model, [&] { second = host.asyncCall(draw, 60000); });
  QTimer watch;
  watch.setInterval(0);
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (second && second->isFinished() && model->passRunning()) answeredInsideAPass = true;
  });
  watch.start();
  const QDBusPendingCall first = host.asyncCall(draw, 60000);
  ASSERT_TRUE(
      waitUntil([&] { return first.isFinished() && second && second->isFinished(); }, 60000));
  EXPECT_FALSE(first.isError()) << first.error().message().toStdString();
  EXPECT_FALSE(second->isError());
  EXPECT_FALSE(answeredInsideAPass);
  EXPECT_EQ(counter.passes, 2);
  EXPECT_FALSE(model->passRunning());
}

TEST_F(ServerMembers, DrawAsyncDuringAPassRunsOneMorePassAfterIt) {
  writeOutlines(300);
  PassCounter counter(*form);
  DuringPass during(*model, [&] {
    host.asyncCall(QDBusMessage::createMethodCall("Orbelle.server", server, kServer, "DrawAsync"));
  });
  ASSERT_EQ(method("DrawAsync").type(), QDBusMessage::ReplyMessage);
  ASSERT_TRUE(waitUntil([&] { return counter.passes == 2 && !model->passRunning(); }, 60000));
  EXPECT_FALSE(get("Drawing").toBool());
  EXPECT_TRUE(QFileInfo::exists(path("MapCache.bmp")));
  // Nothing more is due.
  EXPECT_FALSE(waitUntil([&] { return counter.passes > 2; }, 300));
}

TEST_F(ServerMembers, TheCreatorLeavingDuringAPassUnloadsTheWindowAfterIt) {
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

TEST_F(ServerMembers, ReleaseUnloadsTheWindowAndEndsTheProgram) {
  ASSERT_EQ(set("MaxDxMi", 1234).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(method("Release").type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(form->unloaded());
  EXPECT_TRUE(ended);
  EXPECT_TRUE(iniHolds("MaxDx", 1234)) << iniText().toStdString();
  EXPECT_EQ(method("DrawAsync").errorName(), "org.freedesktop.DBus.Error.UnknownObject");
}

TEST_F(ServerMembers, AnotherObjectOutlivesTheWindowItsSiblingUnloaded) {
  const QString second = createServer();
  ASSERT_EQ(method("class_terminate").type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(form->unloaded());
  EXPECT_FALSE(ended);
  EXPECT_EQ(
      call(second, "org.freedesktop.DBus.Properties", "Get", {kServer, "MaxDxMi"}).errorName(),
      error::kWindowUnloaded);
  EXPECT_EQ(property(second, kServer, "Form").value<QDBusObjectPath>().path(), "/Form1");
  ASSERT_EQ(method("Release").type(), QDBusMessage::ReplyMessage);
  EXPECT_FALSE(ended);
  ASSERT_EQ(call(second, kServer, "Release").type(), QDBusMessage::ReplyMessage);
  EXPECT_TRUE(ended);
}

TEST_F(ServerMembers, TheCreatorLeavingDestroysItsObjectsButNotDetachedOnes) {
  const QDBusMessage detached = call("/", kFactory, "CreateDetached");
  const QString kept = detached.arguments().value(0).value<QDBusObjectPath>().path();
  ASSERT_EQ(kept, "/server/2");
  ASSERT_EQ(set("MaxDxMi", 2345).type(), QDBusMessage::ReplyMessage);
  host = QDBusConnection(QString());  // the last reference: the connection closes
  QDBusConnection::disconnectFromBus(hostName);
  ASSERT_TRUE(waitUntil([&] { return automation->serverCount() == 1; }));
  EXPECT_TRUE(form->unloaded());
  EXPECT_TRUE(iniHolds("MaxDx", 2345)) << iniText().toStdString();
  EXPECT_FALSE(ended);  // the detached object remains
}

TEST_F(ServerMembers, VariantSlotsKeepWhatTheHostStored) {
  ASSERT_EQ(set("CallbackRef", 42).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("CallbackRef"), QVariant(42));
  ASSERT_EQ(set("Form", QStringLiteral("elsewhere")).type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("Form"), QVariant(QStringLiteral("elsewhere")));
  ASSERT_EQ(method("class_initialize").type(), QDBusMessage::ReplyMessage);
  EXPECT_EQ(get("Form").value<QDBusObjectPath>().path(), "/Form1");
  ASSERT_EQ(method("setcallerref", {QVariant::fromValue(QDBusVariant(7))}).type(),
            QDBusMessage::ReplyMessage);
  EXPECT_EQ(automation->CallerRef(), QVariant(7));
}

TEST_F(ServerMembers, WindowMembersReachTheWindow) {
  EXPECT_EQ(property("/Form1", kForm, "Caption").toString(), "orbelle");
  ASSERT_EQ(setProperty("/Form1", kForm, "Left", 1500.0).type(), QDBusMessage::ReplyMessage);
  EXPECT_DOUBLE_EQ(property("/Form1", kForm, "Left").toDouble(), 1500.0);
  ASSERT_EQ(setProperty("/Form1", kForm, "ShowSun", false).type(), QDBusMessage::ReplyMessage);
  EXPECT_FALSE(model->state().ShowSun);
  const QDBusMessage miles = call("/Form1", kForm, "DrawPoint", {0.0, 90.0, 255, 3});
  ASSERT_EQ(miles.type(), QDBusMessage::ReplyMessage) << miles.errorMessage().toStdString();
  EXPECT_GT(miles.arguments().at(0).toDouble(), 0.0);
  EXPECT_EQ(call("/Form1", kForm, "SetPixelSize", {40000}).errorName(), error::kInvalidArgs);
}

}  // namespace
}  // namespace orbelle::server::test
