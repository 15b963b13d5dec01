#include "app/station.hpp"

#include <cmath>
#include <limits>

#include "core/hamlib.hpp"
#include "core/heading.hpp"
#include "core/rig_plan.hpp"
#include "core/text.hpp"

namespace orbelle::station {
namespace {

// A value the map hands back: a number, or a text holding one; anything else is not a number.
double numberOf(const QVariant& value) {
  bool ok = false;
  const double number = value.toDouble(&ok);
  return ok ? number : std::numeric_limits<double>::quiet_NaN();
}

MapHost::Placement placementOf(const Options& o) {
  return {o.latitude, o.longitude, o.maxDxMi, o.utcOffset};
}

}  // namespace

Station::Station(const Options& options, CtyDat cty, QDBusConnection connection, Report& report,
                 Timing timing, QObject* parent)
    : QObject(parent),
      options_(options),
      cty_(std::move(cty)),
      connection_(connection),
      report_(report),
      callback_(
          {[this](double h) { setRotor(h); },
           [this](const QVariant& f, const QVariant& tx, const QVariant& m) { setRig(f, tx, m); },
           [this] { stopRotor(); }}),
      map_(connection, placementOf(options), QString::fromLatin1(kCallbackPath), report,
           timing.map) {
  if (options.rotctld) {
    rotator_ = std::make_unique<DaemonClient>("rotctld", *options.rotctld, report, timing.daemons);
  }
  if (options.rigctld) {
    rig_ = std::make_unique<DaemonClient>("rigctld", *options.rigctld, report, timing.daemons);
  }
  if (options.cluster) {
    cluster_ =
        std::make_unique<ClusterClient>(*options.cluster, options.call, options.clusterPassword,
                                        options.clusterCommands, report, timing.cluster);
    cluster_->setSpotHandler([this](const DxSpot& spot) { spotHeard(spot); });
  }
}

Station::~Station() {
  if (registered_) connection_.unregisterObject(QString::fromLatin1(kCallbackPath));
}

bool Station::start(std::string* error) {
  if (!connection_.registerObject(QString::fromLatin1(kCallbackPath), &callback_,
                                  QDBusConnection::ExportScriptableSlots)) {
    *error = "cannot register the callback object on the bus (" +
             connection_.lastError().message().toStdString() + ")";
    return false;
  }
  registered_ = true;
  if (rotator_) rotator_->start();
  if (rig_) rig_->start();
  if (cluster_) cluster_->start();
  map_.start();
  return true;
}

void Station::stop(int timeoutMs) { map_.release(timeoutMs); }

void Station::setRotor(double heading) {
  report_.note("map: orbellesetrotor(" + numberText(heading) + ")");
  if (!rotator_) {
    report_.note("no rotctld given: rotor request ignored");
    return;
  }
  const std::optional<double> azimuth = rotatorAzimuth(heading, options_.rotatorRange);
  if (!azimuth) {
    report_.problem("map asked for heading " + numberText(heading) + ": not a heading; ignored");
    return;
  }
  rotator_->send({hamlib::setPosition(*azimuth)});
}

void Station::stopRotor() {
  report_.note("map: orbellestoprotor()");
  if (rotator_) rotator_->send({std::string(hamlib::kStop)});
}

void Station::setRig(const QVariant& SpotFreq, const QVariant& SpotFreqTX, const QVariant& Mode) {
  const RigRequest request{numberOf(SpotFreq), numberOf(SpotFreqTX), Mode.toString().toStdString()};
  report_.note("map: orbellesetrig(" + numberText(request.frequencyKHz) + ", " +
               numberText(request.transmitKHz) + ", \"" + request.mode + "\")");
  if (!rig_) {
    report_.note("no rigctld given: rig request ignored");
    return;
  }
  const RigPlan plan = planRig(request);
  for (const std::string& note : plan.notes) report_.problem("rig: " + note);
  if (!plan.commands.empty()) rig_->send(plan.commands);
}

void Station::spotHeard(const DxSpot& spot) {
  const std::optional<AddSpotFields> fields = addSpotFields(spot, cty_);
  if (!fields) {
    ++unplaced_;
    report_.note("spot of " + spot.call + " not shown: cty.dat does not place it");
    return;
  }
  report_.note("spot: " + fields->SpotCall + " " + numberText(fields->SpotFreq) + " " +
               fields->Mode + " by " + fields->SpotBy + " (" + fields->SpotLoc + ")");
  map_.addSpot(*fields);
}

std::string Station::summary() const {
  if (!cluster_) return {};
  const ClusterClient::Counters& c = cluster_->counters();
  return "cluster: " + std::to_string(c.spots) + " spots, " + std::to_string(c.malformed) +
         " unreadable spot lines, " + std::to_string(unplaced_) + " spots not placed, " +
         std::to_string(map_.spotsDropped()) + " dropped while the map was away, " +
         std::to_string(c.sessions) + " sessions";
}

}  // namespace orbelle::station
