// Presses on the map call the host's object on the bus; a failing or silent host leaves it working.

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QPushButton>

#include "server/bus_values.hpp"
#include "shell/host_notice.hpp"
#include "support/map_on_bus.hpp"

namespace orbelle::server::test {

// The host's callback object, on the host connection of the test: it records each call, and
// answers orbellesetrig with `rigAnswer` or, when `answer` is false, nothing at all.
class HostObject : public QObject, protected QDBusContext {
  Q_OBJECT

 public:
  std::vector<std::pair<QString, QVariantList>> calls;
  bool answer = true;
  std::function<void()> whileCalled;  // runs inside each call
  QVariantList rigAnswer;

 public slots:
  void orbellesetrotor(double heading) { record("orbellesetrotor", {heading}); }
  void orbellesetrig(const QDBusVariant& freq, const QDBusVariant& freqTx,
                     const QDBusVariant& mode) {
    record("orbellesetrig", {freq.variant(), freqTx.variant(), mode.variant()});
    if (!answer || rigAnswer.isEmpty()) return;
    QVariantList back;
    for (const QVariant& value : rigAnswer) back << QVariant::fromValue(QDBusVariant(value));
    setDelayedReply(true);
    connection().send(message().createReply(back));
  }
  void orbellestoprotor() { record("orbellestoprotor", {}); }

 private:
  void record(const char* method, const QVariantList& arguments) {
    calls.emplace_back(QString::fromLatin1(method), arguments);
    if (!answer) setDelayedReply(true);
    if (whileCalled) whileCalled();
  }
};

namespace {

using namespace orbelle::test;

class Callbacks : public MapWithServer {
 protected:
  void SetUp() override {
    MapWithServer::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(host.registerObject("/host", &hostObject, QDBusConnection::ExportAllSlots));
  }
  QDBusMessage setCallback(const QString& busName, const QString& objectPath,
                           const QString& object = {}) {
    return setProperty(object.isEmpty() ? server : object, object.isEmpty() ? kServer : kForm,
                       "Callback",
                       QVariant::fromValue(BusObjectRef{busName, QDBusObjectPath(objectPath)}));
  }
  void pressEast() { mouse(QEvent::MouseButtonPress, 599, 300, Qt::LeftButton); }

  HostObject hostObject;
};

// Only a set, reachable object is called: map, marker and stop presses reach it, and its
// by-reference answer goes out at the next press; a gone host or a missing method is reported.
TEST_F(Callbacks, PressesAskTheHostToTurnTheRotorAndSetTheRig) {
  ASSERT_EQ(setCallback(host.baseService(), "/host").type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(set("Callback", QString()).type(), QDBusMessage::ReplyMessage);
  pressEast();  // reaches no one
  // Bus names: dot-separated elements of [A-Za-z0-9_-], none empty or (unless unique) starting
  // with a digit, at most 255 characters.
  for (const QString& bad :
       QStringList{"host", ".a.b", "a..b", "org.1example", "a.b c", "a." + QString(300, 'b')}) {
    EXPECT_EQ(setCallback(bad, "/host").errorName(), error::kInvalidArgs) << bad.toStdString();
  }
  ASSERT_EQ(setCallback(host.baseService(), "/host", "/Form1").type(), QDBusMessage::ReplyMessage);
  BusObjectRef back;
  ASSERT_TRUE(busObjectRefOf(get("Callback"), back));
  EXPECT_EQ(back, (BusObjectRef{host.baseService(), QDBusObjectPath("/host")}));
  hostObject.rigAnswer = {21.4, 0.0, QStringLiteral("CHANGED")};

  ASSERT_EQ(readoutHeading(599, 300), 90);
  pressEast();
  mouse(QEvent::MouseButtonPress, 599, 300, Qt::RightButton);
  const double middle = readoutHeading(200, 480);
  mouse(QEvent::MouseButtonPress, 200, 480, Qt::MiddleButton);
  form->controls().cmdStopRotor->click();
  // A spot due east of the station, its spotter due south.
  ASSERT_EQ(set("Latitude", 0.0).type(), QDBusMessage::ReplyMessage);
  ASSERT_EQ(set("Longitude", 0.0).type(), QDBusMessage::ReplyMessage);
  const QDBusMessage added =
      method("AddSpot", {0.0, 90.0, 255, 14025.5, "CW", "K1ABC", "12:00", "W2XYZ", "loud", "Here",
                         -10.0, 0.0, 12632256.0, "There", 14030.0});
  ASSERT_EQ(added.type(), QDBusMessage::ReplyMessage) << added.errorMessage().toStdString();
  QWidget* spot = marker("K1ABC (by W2XYZ)", true);
  QWidget* spotter = marker("By W2XYZ", true);
  ASSERT_TRUE(spot && spotter);
  press(spot, Qt::RightButton);
  press(spotter, Qt::LeftButton);

  const QVariantList rig{14025.5, 14030.0, QStringLiteral("CW")};
  const std::vector<std::pair<QString, QVariantList>> expected = {
      {"orbellesetrotor", {90.0}},   {"orbellesetrotor", {270.0}},
      {"orbellesetrotor", {middle}}, {"orbellestoprotor", {}},
      {"orbellesetrotor", {270.0}},  {"orbellesetrig", rig},
      {"orbellesetrotor", {180.0}},  {"orbellesetrig", hostObject.rigAnswer}};
  ASSERT_TRUE(waitUntil([&] { return hostObject.calls.size() == expected.size(); }));
  EXPECT_EQ(hostObject.calls, expected);
  EXPECT_FALSE(form->notice().showing());

  const std::pair<const char*, const char*> unreachable[] = {{"org.example.Host_2-x", "/host"},
                                                             {"", "/nothing"}};
  for (const auto& [name, objectPath] : unreachable) {
    ASSERT_EQ(setCallback(*name ? QString(name) : host.baseService(), objectPath).type(),
              QDBusMessage::ReplyMessage);
    pressEast();
    EXPECT_TRUE(form->notice().showing());
    EXPECT_TRUE(form->notice().text().contains("orbellesetrotor")) << objectPath;
  }
  EXPECT_EQ(hostObject.calls.size(), expected.size());
}

// While the map waits for a host that never answers, it still answers the host's calls; then
// it reports the silence and goes on.
TEST_F(Callbacks, AHostThatNeverAnswersLeavesTheMapWorking) {
  hostObject.answer = false;
  ASSERT_EQ(setCallback(host.baseService(), "/host").type(), QDBusMessage::ReplyMessage);
  bool pressReturned = false;
  bool answeredDuringWait = false;
  std::unique_ptr<QDBusPendingCallWatcher> watcher;
  hostObject.whileCalled = [&] {
    QDBusMessage get = QDBusMessage::createMethodCall("Orbelle.server", server,
                                                      "org.freedesktop.DBus.Properties", "Get");
    get.setArguments({kServer, QStringLiteral("MaxDxMi")});
    watcher = std::make_unique<QDBusPendingCallWatcher>(host.asyncCall(get));
    QObject::connect(watcher.get(), &QDBusPendingCallWatcher::finished,
                     [&] { answeredDuringWait = !pressReturned && !watcher->isError(); });
  };
  pressEast();
  pressReturned = true;
  ASSERT_EQ(hostObject.calls.size(), 1u);
  EXPECT_TRUE(answeredDuringWait);
  EXPECT_TRUE(form->notice().text().contains("orbellesetrotor"));
  EXPECT_TRUE(form->notice().text().contains("NoReply")) << form->notice().text().toStdString();
}

}  // namespace
}  // namespace orbelle::server::test

#include "callbacks_test.moc"
