#pragma once

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "core/backoff.hpp"
#include "core/report.hpp"
#include "core/spot_fields.hpp"

class OrbelleFactoryInterface;
class OrbelleForm1Interface;
class Orbelle_serverInterface;

// The station as the map's host: creates a server object through the map's factory (the bus
// starts the map when it is not running), places the map (Latitude, Longitude, MaxDxMi,
// UTCOffset), hands it the station's callback object as Callback, starts a drawing pass with
// DrawAsync, and adds spots. The server object is kept for as long as the station runs and
// released at the end. When the map leaves the bus, the host creates a new object after a
// delay that doubles up to a ceiling, and places it again; the station then shows it its spots
// again.
//
// The antenna heading goes to the server object's AntennaHeading property (d, degrees clockwise
// from true north, NaN for none), which maps of older versions do not have: such a map's
// UnknownProperty reply is noted once and nothing more is sent to it.

namespace orbelle::station {

inline constexpr const char* kMapService = "Orbelle.server";
inline constexpr const char* kFactoryPath = "/";
inline constexpr const char* kWindowPath = "/Form1";
inline constexpr const char* kServerInterface = "Orbelle._server";
inline constexpr const char* kAntennaHeadingProperty = "AntennaHeading";

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

  // Adds a spot to the map; nothing while the map is not attached (the station shows it its
  // spots when it attaches).
  void addSpot(const AddSpotFields& spot);
  // Clears the map's spots and adds these, oldest first, so that the newest ends up newest.
  void showSpots(const std::vector<const AddSpotFields*>& oldestFirst);
  // The antenna heading for the map, kept and sent again to a map that attaches.
  void setAntennaHeading(double degrees);

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
  void sendHeading();

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
  std::unique_ptr<OrbelleForm1Interface> window_;
  std::optional<double> heading_;
  bool headingTaken_ = true;  // the attached map has not refused AntennaHeading
  bool headingFailing_ = false;
  bool creating_ = false;
  bool released_ = false;
  bool attachedBefore_ = false;
  bool spotsFailing_ = false;
};

}  // namespace orbelle::station
