#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <deque>
#include <memory>
#include <optional>

#include "core/backoff.hpp"
#include "core/report.hpp"
#include "core/spot_fields.hpp"

class OrbelleFactoryInterface;
class Orbelle_serverInterface;

// The station as the map's host: creates a server object through the map's factory (the bus
// starts the map when it is not running), places the map (Latitude, Longitude, MaxDxMi,
// UTCOffset), hands it the station's callback object as Callback, starts a drawing pass with
// DrawAsync, and adds spots. The server object is kept for as long as the station runs and
// released at the end. When the map leaves the bus, the host creates a new object after a
// delay that doubles up to a ceiling, and places it again.

namespace orbelle::station {

inline constexpr const char* kMapService = "Orbelle.server";
inline constexpr const char* kFactoryPath = "/";

class MapHost : public QObject {
  Q_OBJECT

 public:
  struct Placement {
    std::optional<double> latitude;
    std::optional<double> longitude;
    std::optional<int> maxDxMi;
    std::optional<int> utcOffset;
  };
  struct Timing {
    int callTimeoutMs = 30000;  // the first call may wait for the map to start
    int firstRetryMs = 1000;
    int maxRetryMs = 60000;
  };

  // `callbackPath` is the path of the callback object on `connection`.
  MapHost(QDBusConnection connection, Placement placement, QString callbackPath, Report& report,
          Timing timing, QObject* parent = nullptr);
  ~MapHost() override;

  void start();
  bool isAttached() const { return server_ != nullptr; }
  QString serverPath() const;

  // Adds a spot. Spots that come while the map is not attached (it is starting, or starting
  // again) wait for it, the newest kMaxWaitingSpots of them; older ones are dropped and counted.
  // After release every spot is dropped.
  void addSpot(const AddSpotFields& spot);
  std::size_t spotsDropped() const { return dropped_; }
  std::size_t spotsWaiting() const { return waiting_.size(); }
  static constexpr std::size_t kMaxWaitingSpots = 100;

  // Releases the server object, waiting at most `timeoutMs` for the map's answer while events
  // run. The host then stays detached.
  void release(int timeoutMs);

 signals:
  // The server object has been created and every setting sent (not necessarily answered).
  void attached();
  // Answers to AddSpot: accepted, or refused / not delivered.
  void spotDone(bool accepted);

 private:
  void create();
  void onCreated(const QString& path);
  void onMapGone();
  void retryLater();
  void watch(const QDBusPendingCall& call, const QString& what);
  void send(const AddSpotFields& spot);

  QDBusConnection connection_;
  Placement placement_;
  QString callbackPath_;
  Report& report_;
  Timing timing_;
  Backoff backoff_;
  QTimer retryTimer_;
  QDBusServiceWatcher watcher_;
  std::unique_ptr<OrbelleFactoryInterface> factory_;
  std::unique_ptr<Orbelle_serverInterface> server_;
  bool creating_ = false;
  bool released_ = false;
  bool spotsFailing_ = false;
  std::size_t dropped_ = 0;
  std::deque<AddSpotFields> waiting_;
};

}  // namespace orbelle::station
