#include "server/automation.hpp"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "model/map_model.hpp"
#include "server/bus_object.hpp"

namespace orbelle::server {
namespace {

QString registrationError(const QDBusConnection& connection, const QString& what) {
  const QDBusError error = connection.lastError();
  return error.isValid() ? QStringLiteral("%1: %2").arg(what, error.message()) : what;
}

}  // namespace

Automation::Automation(model::MapModel& model, QDBusConnection connection, Options options,
                       std::function<void()> onEnd)
    : model_(model),
      connection_(connection),
      options_(options),
      onEnd_(std::move(onEnd)),
      access_(model, connection, options.callbackTimeoutMs),
      creators_(QString(), connection, QDBusServiceWatcher::WatchForUnregistration) {
  registerBusTypes();
  connect(&model_, &model::MapModel::unloadedChanged, this, &Automation::endIfDone);
  connect(&creators_, &QDBusServiceWatcher::serviceUnregistered, this, &Automation::creatorLeft);
  connection_.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                      QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"),
                      this, SLOT(busDisconnected()));
}

Automation::~Automation() {
  for (const auto& [number, server] : servers_) connection_.unregisterObject(serverPath(number));
  if (windowObject_) connection_.unregisterObject(QString::fromLatin1(kWindowPath));
  if (factory_) connection_.unregisterObject(QString::fromLatin1(kFactoryPath));
  if (serviceOwned_) connection_.unregisterService(QString::fromLatin1(kServiceName));
}

QString Automation::serverPath(int number) {
  return QString::fromLatin1(kServerPathPrefix) + QString::number(number);
}

bool Automation::registerObjects(QString* error) {
  factory_ = makeFactoryObject(*this);
  windowObject_ = makeWindowObject(*this);
  if (!connection_.registerVirtualObject(QString::fromLatin1(kFactoryPath), factory_)) {
    if (error) *error = registrationError(connection_, QStringLiteral("cannot register /"));
    return false;
  }
  if (!connection_.registerVirtualObject(QString::fromLatin1(kWindowPath), windowObject_)) {
    if (error) *error = registrationError(connection_, QStringLiteral("cannot register /Form1"));
    return false;
  }
  return true;
}

bool Automation::registerService(QString* error) {
  if (!connection_.isConnected()) {
    if (error) *error = registrationError(connection_, QStringLiteral("no session bus"));
    return false;
  }
  if (!connection_.registerService(QString::fromLatin1(kServiceName))) {
    if (error) {
      *error = registrationError(connection_, QStringLiteral("cannot own %1").arg(kServiceName));
    }
    return false;
  }
  serviceOwned_ = true;
  return true;
}

QDBusObjectPath Automation::create(const QString& creator) {
  const int number = nextNumber_++;
  const QString path = serverPath(number);
  BusObject* object = makeServerObject(*this, number);
  if (!connection_.registerVirtualObject(path, object)) {
    delete object;
    throw BusError(QString::fromLatin1(error::kFailed),
                   registrationError(connection_, QStringLiteral("cannot register %1").arg(path)));
  }
  Server& server = servers_[number];
  server.object = object;
  server.state.number = number;
  server.state.creator = creator;
  if (!creator.isEmpty()) watchCreator(creator);
  initialize(server.state);
  return QDBusObjectPath(path);
}

ServerState& Automation::server(int number) {
  const auto found = servers_.find(number);
  if (found == servers_.end()) {
    throw BusError(QString::fromLatin1(error::kUnknownObject),
                   QStringLiteral("%1 has been released").arg(serverPath(number)));
  }
  return found->second.state;
}

void Automation::initialize(ServerState& state) {
  model_.setServerActive(true);
  state.Form = QVariant::fromValue(QDBusObjectPath(QString::fromLatin1(kWindowPath)));
  model_.setCallback(QVariant(), nullptr);
}

void Automation::release(int number) {
  const auto found = servers_.find(number);
  if (found == servers_.end()) return;
  connection_.unregisterObject(serverPath(number));
  const QString creator = found->second.state.creator;
  // A handler of this object may be running (Release itself, or a call whose pass let this
  // one in): the object goes once it has returned.
  found->second.object->retire();
  servers_.erase(found);
  if (!creator.isEmpty()) {
    bool more = false;
    for (const auto& [n, server] : servers_) more = more || server.state.creator == creator;
    if (!more) creators_.removeWatchedService(creator);
  }
  // The destruction steps: the window unloads (after a running pass) and writes the settings.
  model_.Unload();
  endIfDone();
}

void Automation::watchCreator(const QString& creator) {
  creators_.addWatchedService(creator);
  // A creator that left before the watch was in place is never reported: ask once.
  QDBusPendingCall pending =
      connection_.interface()->asyncCall(QStringLiteral("NameHasOwner"), creator);
  auto* watcher = new QDBusPendingCallWatcher(pending, this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, creator](QDBusPendingCallWatcher* call) {
            const QDBusPendingReply<bool> reply = *call;
            call->deleteLater();
            if (reply.isValid() && !reply.value()) creatorLeft(creator);
          });
}

void Automation::creatorLeft(const QString& service) {
  std::vector<int> owned;
  for (const auto& [number, server] : servers_) {
    if (server.state.creator == service) owned.push_back(number);
  }
  for (const int number : owned) release(number);
}

void Automation::busDisconnected() {
  std::vector<int> all;
  for (const auto& [number, server] : servers_) all.push_back(number);
  for (const int number : all) release(number);
  if (options_.endWithBus) model_.Unload();
  endIfDone();
}

void Automation::endIfDone() {
  if (ended_ || !model_.unloaded() || !servers_.empty()) return;
  ended_ = true;
  if (onEnd_) onEnd_();
}

}  // namespace orbelle::server
