#pragma once

#include <QObject>
#include <QTimer>

#include "bus/map_host.hpp"
#include "core/rotor_watch.hpp"
#include "net/daemon_client.hpp"

// The antenna's heading on the map: reads rotctld's position ("p") while the rotator turns and
// now and then after it has settled, and hands every change of heading to the map; NaN (no
// heading) while rotctld cannot be reached or does not answer.

namespace orbelle::station {

class Antenna : public QObject {
  Q_OBJECT

 public:
  Antenna(DaemonClient& rotator, MapHost& map, QObject* parent = nullptr);

  // A turn or a stop has been sent to the rotator.
  void commanded();

 private:
  void onValues(const QString& command, const QStringList& lines);
  void show(std::optional<double> heading);

  DaemonClient& rotator_;
  MapHost& map_;
  RotorWatch watch_;
  QTimer pollTimer_;
};

}  // namespace orbelle::station
