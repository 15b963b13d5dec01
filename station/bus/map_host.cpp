#include "bus/map_host.hpp"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEventLoop>

#include "bus/bus_object_ref.hpp"
#include "bus/property_writer.hpp"
#include "orbelle_factory_interface.h"
#include "orbelle_form1_interface.h"
#include "orbelle_server_interface.h"

namespace orbelle::station {
namespace {

std::string text(const QString& s) { return s.toStdString(); }

std::string errorText(const QDBusError& error) {
  return text(error.name()) + ": " + text(error.message());
}

}  // namespace

MapHost::MapHost(QDBusConnection connection, Placement placement, QString callbackPath,
                 Report& report, Timing timing, QObject* parent)
    : QObject(parent),
      connection_(std::move(connection)),
      placement_(placement),
      callbackPath_(std::move(callbackPath)),
      report_(report),
      timing_(timing),
      backoff_(timing.firstRetryMs, timing.maxRetryMs),
      watcher_(QString::fromLatin1(kMapService), connection_,
               QDBusServiceWatcher::WatchForUnregistration) {
  registerBusObjectRef();
  retryTimer_.setSingleShot(true);
  connect(&retryTimer_, &QTimer::timeout, this, &MapHost::create);
  connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &MapHost::onMapGone);
  factory_ = std::make_unique<OrbelleFactoryInterface>(
      QString::fromLatin1(kMapService), QString::fromLatin1(kFactoryPath), connection_);
  factory_->setTimeout(timing_.callTimeoutMs);
  window_ = std::make_unique<OrbelleForm1Interface>(QString::fromLatin1(kMapService),
                                                    QString::fromLatin1(kWindowPath), connection_);
  window_->setTimeout(timing_.callTimeoutMs);
}

MapHost::~MapHost() = default;

void MapHost::start() { create(); }

void MapHost::create() {
  if (released_ || server_ || creating_) return;
  creating_ = true;
  auto* call = new QDBusPendingCallWatcher(factory_->Create(), this);
  connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    creating_ = false;
    const QDBusPendingReply<QDBusObjectPath> reply = *w;
    if (released_) return;
    if (reply.isError()) {
      report_.problem("cannot create a server object of the map (" + errorText(reply.error()) +
                      "); retrying");
      retryLater();
      return;
    }
    onCreated(reply.value().path());
  });
}

void MapHost::onCreated(const QString& path) {
  server_ = std::make_unique<Orbelle_serverInterface>(QString::fromLatin1(kMapService), path,
                                                      connection_);
  server_->setTimeout(timing_.callTimeoutMs);
  backoff_.reset();
  report_.event(std::string(attachedBefore_ ? "map ready again" : "map ready") +
                ": server object " + text(path));
  attachedBefore_ = true;

  const auto set = [this](const char* name, const QVariant& value) {
    QString error;
    if (const auto call = writeProperty(*server_, name, value, &error)) {
      watch(*call, QStringLiteral("setting %1").arg(QLatin1String(name)));
    } else {
      report_.problem("map: " + text(error));
    }
  };
  if (placement_.latitude) set("Latitude", *placement_.latitude);
  if (placement_.longitude) set("Longitude", *placement_.longitude);
  if (placement_.maxDxMi)
    set("MaxDxMi", QVariant::fromValue(static_cast<short>(*placement_.maxDxMi)));
  if (placement_.utcOffset) {
    set("UTCOffset", QVariant::fromValue(static_cast<short>(*placement_.utcOffset)));
  }
  set("Callback",
      QVariant::fromValue(BusObjectRef{connection_.baseService(), QDBusObjectPath(callbackPath_)}));
  watch(server_->DrawAsync(), QStringLiteral("DrawAsync"));
  headingTaken_ = true;
  headingFailing_ = false;
  sendHeading();
  emit attached();
}

void MapHost::watch(const QDBusPendingCall& call, const QString& what) {
  auto* watcher = new QDBusPendingCallWatcher(call, this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this,
          [this, what](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            if (w->isError())
              report_.problem("map: " + text(what) + " failed (" + errorText(w->error()) + ")");
          });
}

void MapHost::addSpot(const AddSpotFields& f) {
  if (server_) send(f);
}

void MapHost::showSpots(const std::vector<const AddSpotFields*>& oldestFirst) {
  if (!server_) return;
  // The map takes the calls in the order they were sent: the spots come after the clearing.
  watch(window_->ClearSpots(), QStringLiteral("ClearSpots"));
  for (const AddSpotFields* spot : oldestFirst) send(*spot);
}

void MapHost::setAntennaHeading(double degrees) {
  heading_ = degrees;
  sendHeading();
}

void MapHost::sendHeading() {
  if (!server_ || !heading_ || !headingTaken_) return;
  QDBusMessage set = QDBusMessage::createMethodCall(
      QString::fromLatin1(kMapService), server_->path(),
      QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Set"));
  set << QString::fromLatin1(kServerInterface) << QString::fromLatin1(kAntennaHeadingProperty)
      << QVariant::fromValue(QDBusVariant(*heading_));
  auto* watcher = new QDBusPendingCallWatcher(connection_.asyncCall(set, server_->timeout()), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    if (!w->isError()) {
      headingFailing_ = false;
      return;
    }
    if (w->error().type() == QDBusError::UnknownProperty) {
      // A map without the property: say so once, send it nothing more.
      if (headingTaken_) report_.note("map: no AntennaHeading property; heading not shown");
      headingTaken_ = false;
    } else if (!headingFailing_) {
      report_.problem("map: setting AntennaHeading failed (" + errorText(w->error()) + ")");
      headingFailing_ = true;
    }
  });
}

void MapHost::send(const AddSpotFields& f) {
  const auto q = [](const std::string& s) { return QString::fromStdString(s); };
  const QDBusPendingCall call =
      server_->AddSpot(f.LatDeg, f.LonDeg, f.Color, f.SpotFreq, q(f.Mode), q(f.SpotCall),
                       q(f.SpotTime), q(f.SpotBy), q(f.SpotComment), q(f.SpotLoc), f.SpotByLat,
                       f.SpotByLon, f.SpotByColor, q(f.SpotByLoc), f.SpotFreqTX);
  auto* watcher = new QDBusPendingCallWatcher(call, this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    // One report when spots start failing and one when they are taken again, not one per spot.
    if (w->isError()) {
      if (!spotsFailing_) report_.problem("map: AddSpot failed (" + errorText(w->error()) + ")");
      spotsFailing_ = true;
    } else if (spotsFailing_) {
      report_.problem("map: spots are taken again");
      spotsFailing_ = false;
    }
    emit spotDone(!w->isError());
  });
}

void MapHost::onMapGone() {
  if (released_ || (!server_ && !creating_)) return;
  server_.reset();
  report_.problem("the map has left the bus; it will be started again");
  retryLater();
}

void MapHost::retryLater() {
  if (!released_ && !retryTimer_.isActive()) retryTimer_.start(backoff_.next());
}

void MapHost::release(int timeoutMs) {
  released_ = true;
  retryTimer_.stop();
  if (!server_) return;
  server_->setTimeout(timeoutMs);
  // Wait with the event loop running, so that the station still answers the map meanwhile.
  QDBusPendingCallWatcher watcher(server_->Release());
  QEventLoop loop;
  connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
  QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
  if (!watcher.isFinished()) loop.exec();
  if (!watcher.isFinished()) {
    report_.problem("map: no answer to Release");
  } else if (watcher.isError()) {
    report_.problem("map: Release failed (" + errorText(watcher.error()) + ")");
  }
  server_.reset();
}

}  // namespace orbelle::station
