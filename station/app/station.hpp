#pragma once

#include <QDBusConnection>
#include <QObject>
#include <memory>
#include <string>

#include "app/antenna.hpp"
#include "app/spot_feed.hpp"
#include "bus/callback_object.hpp"
#include "bus/map_host.hpp"
#include "core/cty_dat.hpp"
#include "core/options.hpp"
#include "core/report.hpp"
#include "core/wsjtx_spots.hpp"
#include "net/cluster_client.hpp"
#include "net/daemon_client.hpp"
#include "net/wsjtx_listener.hpp"

// The whole station: the map's requests go to the rotator and the rig, the rotator's heading
// and the spots of the cluster and of WSJT-X go to the map.

namespace orbelle::station {

class Station : public QObject {
  Q_OBJECT

 public:
  // Delays and time-outs of the parts; tests shorten them.
  struct Timing {
    DaemonClient::Timing daemons;
    ClusterClient::Timing cluster;
    MapHost::Timing map;
    SpotFeed::Timing spots;
  };

  // `cty` places the spots; it may be empty when neither a cluster nor WSJT-X is used.
  Station(const Options& options, CtyDat cty, QDBusConnection connection, Report& report,
          Timing timing, QObject* parent = nullptr);
  ~Station() override;

  // Registers the callback object and starts every part. False with `error` when the callback
  // object cannot be registered on the bus or the WSJT-X address cannot be listened on.
  bool start(std::string* error);
  // Releases the map; the parts stop with the object.
  void stop(int timeoutMs);

  // "cluster: 12 spots, ...; spots: 10 shown, ..." for the end of a run; "" without spots.
  std::string summary() const;

  MapHost& map() { return map_; }
  DaemonClient* rotator() { return rotator_.get(); }
  DaemonClient* rig() { return rig_.get(); }
  ClusterClient* cluster() { return cluster_.get(); }

 private:
  void setRotor(double heading);
  void stopRotor();
  void setRig(const QVariant& SpotFreq, const QVariant& SpotFreqTX, const QVariant& Mode);
  void spotHeard(const DxSpot& spot);
  void wsjtxHeard(const wsjtx::Message& message);

  Options options_;
  CtyDat cty_;
  QDBusConnection connection_;
  Report& report_;
  CallbackObject callback_;
  MapHost map_;
  SpotFeed feed_;
  std::unique_ptr<DaemonClient> rotator_;
  std::unique_ptr<Antenna> antenna_;
  std::unique_ptr<DaemonClient> rig_;
  std::unique_ptr<ClusterClient> cluster_;
  std::unique_ptr<WsjtxListener> wsjtx_;
  WsjtxSpots wsjtxSpots_;
  std::size_t unplaced_ = 0;
  std::size_t decodesNotShown_ = 0;
  bool registered_ = false;
};

}  // namespace orbelle::station
