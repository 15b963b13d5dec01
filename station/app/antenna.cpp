#include "app/antenna.hpp"

#include "core/hamlib.hpp"
#include "core/text.hpp"

namespace orbelle::station {

Antenna::Antenna(DaemonClient& rotator, MapHost& map, QObject* parent)
    : QObject(parent), rotator_(rotator), map_(map) {
  pollTimer_.setSingleShot(true);
  connect(&pollTimer_, &QTimer::timeout, this, [this] {
    rotator_.read({std::string(hamlib::kGetPosition), hamlib::kPositionLines});
    // Another read follows even if this one gets no answer; an answer sets the pace anew.
    pollTimer_.start(watch_.nextPollMs());
  });
  connect(&rotator_, &DaemonClient::values, this, &Antenna::onValues);
  connect(&rotator_, &DaemonClient::down, this, [this] {
    pollTimer_.stop();
    show(watch_.lost());
  });
}

void Antenna::commanded() {
  watch_.commanded();
  pollTimer_.start(watch_.nextPollMs());
}

void Antenna::onValues(const QString& command, const QStringList& lines) {
  if (command.toStdString() != hamlib::kGetPosition || lines.isEmpty()) return;
  double azimuth = 0.0;
  if (!parseDecimal(trimBlanks(lines.first().toStdString()), azimuth)) return;
  show(watch_.reading(azimuth));
  pollTimer_.start(watch_.nextPollMs());
}

void Antenna::show(std::optional<double> heading) {
  if (heading) map_.setAntennaHeading(*heading);
}

}  // namespace orbelle::station
