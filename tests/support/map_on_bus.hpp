#pragma once

// The map on the test's private session bus, in the test's own process: a loaded model and map
// window in a temporary working folder with small outline files, served as Orbelle.server by the
// map's own automation code, and a second connection of the test acting as the host. Calls from
// the host connection wait in a local event loop, so the map (same thread) answers them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "model/map_model.hpp"
#include "server/automation.hpp"
#include "server/bus_values.hpp"
#include "shell/form1.hpp"
#include "shell/surface_widget.hpp"
#include "spots/spot_list.hpp"
#include "support/map_fakes.hpp"
#include "support/outline_files.hpp"
#include "support/wait.hpp"

namespace orbelle::test {

inline const QString kServer = QStringLiteral("Orbelle._server");
inline const QString kForm = QStringLiteral("Orbelle.Form1");
inline const QString kFactory = QStringLiteral("Orbelle.Factory");

class MapOnBus : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    oldCwd = QDir::currentPath();
    // The window keeps its settings and cache in the working folder.
    ASSERT_TRUE(QDir::setCurrent(dir.path()) && QDir().mkpath(path("mapdata")));
    writeOutlines(20);
    openMap();
    if (HasFatalFailure()) return;
    host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, hostName);
    ASSERT_TRUE(host.isConnected());
  }
  void TearDown() override {
    host = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(hostName);
    closeMap();
    QDir::setCurrent(oldCwd);
  }

  QString path(const QString& name) const { return dir.filePath(name); }
  // Outline files of `polylines` one-degree squares: a pass lets events run once per polyline.
  void writeOutlines(int polylines) const { writeOutlineFiles(path("mapdata"), polylines); }
  // A new map window and its bus objects (SetUp opens one), and their end: the map leaves the
  // bus, as when its program ends.
  void openMap() {
    model::ModelServices modelServices;
    modelServices.messages = &messages;
    modelServices.programFolder = dir.path().toStdString();
    model = std::make_unique<model::MapModel>(modelServices);
    shell::FormServices services;
    services.messages = &messages;
    services.help = &help;
    services.saveDialog = &saveDialog;
    services.screenSizeTwips = [] { return QSizeF(15360.0, 11520.0); };
    form = std::make_unique<shell::Form1>(*model, services);
    const QDBusConnection bus = QDBusConnection::sessionBus();
    ASSERT_TRUE(bus.isConnected()) << "run under dbus-run-session";
    server::Automation::Options options;
    options.callbackTimeoutMs = callbackTimeoutMs;
    automation =
        std::make_unique<server::Automation>(*model, bus, options, [this] { ended = true; });
    QString error;
    ASSERT_TRUE(automation->registerObjects(&error) && automation->registerService(&error))
        << error.toStdString();
    form->Form_Load();
    form->ShowAfterLoad();
  }
  void closeMap() {
    automation.reset();
    form.reset();
    model.reset();
  }

  // Calls from the host connection; the reply (or error) message.
  QDBusMessage call(const QString& objectPath, const QString& interface, const QString& member,
                    const QVariantList& args = {}) {
    QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("Orbelle.server"),
                                                          objectPath, interface, member);
    message.setArguments(args);
    return host.call(message, QDBus::BlockWithGui, 60000);
  }
  QDBusMessage setProperty(const QString& objectPath, const QString& interface, const QString& name,
                           const QVariant& value) {
    return call(objectPath, "org.freedesktop.DBus.Properties", "Set",
                {interface, name, QVariant::fromValue(QDBusVariant(value))});
  }
  // The property's value; a failed Get fails the test and gives an invalid value.
  QVariant property(const QString& objectPath, const QString& interface, const QString& name) {
    const QVariant value =
        result(call(objectPath, "org.freedesktop.DBus.Properties", "Get", {interface, name}), name);
    return value.value<QDBusVariant>().variant();
  }
  // A new server object through the factory; its path.
  QString createServer() {
    return result(call("/", kFactory, "Create"), "Create").value<QDBusObjectPath>().path();
  }
  // The reply's one value; an error fails the test and gives an invalid value.
  static QVariant result(const QDBusMessage& reply, const QString& what) {
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
        << what.toStdString() << ": " << reply.errorMessage().toStdString();
    return reply.arguments().size() == 1 ? reply.arguments().at(0) : QVariant();
  }

  // Mouse events at pixel (px, py) of the map image, as the operator makes them.
  void mouse(QEvent::Type type, int px, int py, Qt::MouseButton button = Qt::NoButton) {
    shell::SurfaceWidget* surface = form->controls().Picture1;
    send(surface, type, surface->imageRect().topLeft() + QPointF(px, py), button);
  }
  // The heading the pointer readout shows for pixel (px, py).
  int readoutHeading(int px, int py) {
    mouse(QEvent::MouseMove, px, py);
    return form->controls().lblDirDisplay->text().chopped(1).toInt();  // "123°"
  }
  // The spots the map shows, slot by slot: "CALL (by SPOTTER)" from each hover text.
  std::vector<std::string> shownSpots() const {
    std::vector<std::string> out;
    const spots::SpotList& list = model->spots();
    for (int i = 1; i <= list.MaxSpots(); ++i) {
      const std::string& text = list.slot(i).markers.spotText;
      if (list.slot(i).filled) out.push_back(text.substr(0, text.find(')') + 1));
    }
    return out;
  }
  // The visible spot or spotter marker whose hover text is (or, with `prefix`, starts with)
  // `text`, or null.
  QWidget* marker(const QString& text, bool prefix = false) const {
    for (QWidget* child : form->controls().Picture1->findChildren<QWidget*>()) {
      const QString tip = child->toolTip();
      if (child->isVisible() && (prefix ? tip.startsWith(text) : tip == text)) return child;
    }
    return nullptr;
  }
  static void press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton) {
    send(widget, QEvent::MouseButtonPress, QRectF(widget->rect()).center(), button);
  }
  static void send(QWidget* widget, QEvent::Type type, QPointF pos, Qt::MouseButton button) {
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button,
                      type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
  // The bus name of the object the window's Callback holds; empty when it holds none.
  QString callbackService() const {
    return model->Callback().value<server::BusObjectRef>().service;
  }

  QTemporaryDir dir;
  QString oldCwd;
  FakeMessages messages;
  FakeSaveDialog saveDialog;
  FakeHelp help;
  std::unique_ptr<model::MapModel> model;
  std::unique_ptr<shell::Form1> form;
  std::unique_ptr<server::Automation> automation;
  int callbackTimeoutMs = server::Automation::Options{}.callbackTimeoutMs;
  bool ended = false;  // the map asked its program to end
  QDBusConnection host{QString()};
  const QString hostName = QStringLiteral("host");  // the host connection's name in QtDBus
};

// The map with one server object created by the host, and its members.
class MapWithServer : public MapOnBus {
 protected:
  // Hosts that never answer a callback are given up on quickly.
  MapWithServer() { callbackTimeoutMs = 400; }
  void SetUp() override {
    MapOnBus::SetUp();
    if (HasFatalFailure()) return;
    server = createServer();
    ASSERT_FALSE(server.isEmpty());
  }
  QVariant get(const QString& name) { return property(server, kServer, name); }
  QDBusMessage set(const QString& name, const QVariant& value) {
    return setProperty(server, kServer, name, value);
  }
  QDBusMessage method(const QString& name, const QVariantList& args = {}) {
    return call(server, kServer, name, args);
  }

  QString server;
};

}  // namespace orbelle::test
