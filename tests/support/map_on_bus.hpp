#pragma once

// The map on the test's private session bus, in the test's own process: a loaded model and map
// window in a temporary working folder with small outline files, served as Orbelle.server by the
// map's own automation code, and a second connection of the test acting as the host. Calls from
// the host connection wait in a local event loop, so the map (same thread) answers them.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLabel>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <string>
#include <vector>

#include "model/map_model.hpp"
#include "server/automation.hpp"
#include "shell/form1.hpp"
#include "shell/surface_widget.hpp"
#include "support/map_fakes.hpp"
#include "support/outline_files.hpp"
#include "support/wait.hpp"

namespace orbelle::test {

inline const QString kServer = QStringLiteral("Orbelle._server");
inline const QString kForm = QStringLiteral("Orbelle.Form1");
inline const QString kFactory = QStringLiteral("Orbelle.Factory");

class MapOnBus : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  QString path(const QString& name) const { return dir.filePath(name); }
  // Outline files of `polylines` one-degree squares: a pass lets events run once per polyline.
  void writeOutlines(int polylines) const { writeOutlineFiles(path("mapdata"), polylines); }
  // A new map window and its bus objects (SetUp opens one), and their end: the map leaves the
  // bus, as when its program ends.
  void openMap();
  void closeMap() {
    automation.reset();
    form.reset();
    model.reset();
  }

  // Calls from the host connection; the reply (or error) message.
  QDBusMessage call(const QString& objectPath, const QString& interface, const QString& member,
                    const QVariantList& args = {});
  QDBusMessage setProperty(const QString& objectPath, const QString& interface, const QString& name,
                           const QVariant& value) {
    return call(objectPath, "org.freedesktop.DBus.Properties", "Set",
                {interface, name, QVariant::fromValue(QDBusVariant(value))});
  }
  // The property's value; a failed Get fails the test and gives an invalid value.
  QVariant property(const QString& objectPath, const QString& interface, const QString& name);
  // A new server object through the factory; its path.
  QString createServer();

  // The map image's width (= height) in pixels.
  int imageSide() const { return form->controls().Picture1->imageRect().width(); }
  // Mouse events at pixel (px, py) of the map image, as the operator makes them.
  void mouse(QEvent::Type type, int px, int py, Qt::MouseButton button = Qt::NoButton);
  // The heading the pointer readout shows for pixel (px, py).
  int readoutHeading(int px, int py) {
    mouse(QEvent::MouseMove, px, py);
    return form->controls().lblDirDisplay->text().chopped(1).toInt();  // "123°"
  }
  // The spots the map shows, slot by slot: "CALL (by SPOTTER)" from each hover text.
  std::vector<std::string> shownSpots() const;
  // The visible spot or spotter marker whose hover text is (or, with `prefix`, starts with)
  // `text`, or null.
  QWidget* marker(const QString& text, bool prefix = false) const;
  static void press(QWidget* widget, Qt::MouseButton button = Qt::LeftButton);
  // The (so) value the window's Callback holds; empty service when it holds none.
  struct CallbackTarget {
    QString service;
    QString path;
  };
  CallbackTarget callbackTarget() const;

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
  QString hostName;  // the host connection's name in QtDBus
};

// The map with one server object created by the host, and its members.
class MapWithServer : public MapOnBus {
 protected:
  // Hosts that never answer a callback are given up on quickly.
  MapWithServer() { callbackTimeoutMs = 400; }
  void SetUp() override;
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
