#include "support/map_on_bus.hpp"

#include <QApplication>
#include <QDBusObjectPath>
#include <QDir>
#include <QMouseEvent>

#include "server/bus_values.hpp"
#include "spots/spot_list.hpp"

namespace orbelle::test {

void MapOnBus::SetUp() {
  ASSERT_TRUE(dir.isValid());
  oldCwd = QDir::currentPath();
  // The window keeps its settings and cache in the working folder.
  ASSERT_TRUE(QDir::setCurrent(dir.path()));
  ASSERT_TRUE(QDir().mkpath(path(QStringLiteral("mapdata"))));
  writeOutlines(20);
  openMap();
  if (HasFatalFailure()) return;
  static int connections = 0;
  hostName = QStringLiteral("host-%1").arg(++connections);
  host = QDBusConnection::connectToBus(QDBusConnection::SessionBus, hostName);
  ASSERT_TRUE(host.isConnected());
}

void MapOnBus::TearDown() {
  host = QDBusConnection(QString());
  QDBusConnection::disconnectFromBus(hostName);
  closeMap();
  QDir::setCurrent(oldCwd);
}

void MapOnBus::openMap() {
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
  automation = std::make_unique<server::Automation>(*model, bus, options, [this] { ended = true; });
  QString error;
  ASSERT_TRUE(automation->registerObjects(&error)) << error.toStdString();
  ASSERT_TRUE(automation->registerService(&error)) << error.toStdString();
  form->Form_Load();
  form->ShowAfterLoad();
}

QDBusMessage MapOnBus::call(const QString& objectPath, const QString& interface,
                            const QString& member, const QVariantList& args) {
  QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("Orbelle.server"),
                                                        objectPath, interface, member);
  message.setArguments(args);
  return host.call(message, QDBus::BlockWithGui, 60000);
}

QVariant MapOnBus::property(const QString& objectPath, const QString& interface,
                            const QString& name) {
  const QDBusMessage reply = call(objectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                  QStringLiteral("Get"), {interface, name});
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
      << name.toStdString() << ": " << reply.errorMessage().toStdString();
  if (reply.arguments().size() != 1) return {};
  return reply.arguments().at(0).value<QDBusVariant>().variant();
}

QString MapOnBus::createServer() {
  const QDBusMessage reply = call(QStringLiteral("/"), kFactory, QStringLiteral("Create"));
  EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
  if (reply.arguments().size() != 1) return {};
  return reply.arguments().at(0).value<QDBusObjectPath>().path();
}

void MapOnBus::mouse(QEvent::Type type, int px, int py, Qt::MouseButton button) {
  shell::SurfaceWidget* surface = form->controls().Picture1;
  const QPointF pos = surface->imageRect().topLeft() + QPointF(px, py);
  QMouseEvent event(type, pos, surface->mapToGlobal(pos), button,
                    type == QEvent::MouseMove ? Qt::NoButton : button, Qt::NoModifier);
  QApplication::sendEvent(surface, &event);
}

std::vector<std::string> MapOnBus::shownSpots() const {
  std::vector<std::string> out;
  const spots::SpotList& list = model->spots();
  for (int i = 1; i <= list.MaxSpots(); ++i) {
    const std::string& text = list.slot(i).markers.spotText;
    if (list.slot(i).filled) out.push_back(text.substr(0, text.find(')') + 1));
  }
  return out;
}

QWidget* MapOnBus::marker(const QString& text, bool prefix) const {
  for (QWidget* child : form->controls().Picture1->findChildren<QWidget*>()) {
    if (!child->isVisible()) continue;
    if (prefix ? child->toolTip().startsWith(text) : child->toolTip() == text) return child;
  }
  return nullptr;
}

void MapOnBus::press(QWidget* widget, Qt::MouseButton button) {
  const QPointF pos = QRectF(widget->rect()).center();
  QMouseEvent event(QEvent::MouseButtonPress, pos, widget->mapToGlobal(pos), button, button,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

MapOnBus::CallbackTarget MapOnBus::callbackTarget() const {
  const QVariant value = model->Callback();
  if (value.metaType() != QMetaType::fromType<server::BusObjectRef>()) return {};
  const auto ref = value.value<server::BusObjectRef>();
  return {ref.service, ref.path.path()};
}

void MapWithServer::SetUp() {
  MapOnBus::SetUp();
  if (HasFatalFailure()) return;
  server = createServer();
  ASSERT_FALSE(server.isEmpty());
}

}  // namespace orbelle::test
