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
           timing.map),
      feed_(options.filter, {kMaxStoredSpots, options.maxAgeMs, options.dedupeMs}, map_, report,
            timing.spots),
      wsjtxSpots_(cty_, {options.latitude, options.longitude, options.call}) {
  if (options.rotctld) {
    rotator_ = std::make_unique<DaemonClient>(
        "rotctld", *options.rotctld,
        DaemonClient::Read{std::string(hamlib::kGetPosition), hamlib::kPositionLines}, report,
        timing.daemons);
    antenna_ = std::make_unique<Antenna>(*rotator_, map_);
  }
  if (options.rigctld) {
    rig_ = std::make_unique<DaemonClient>("rigctld", *options.rigctld,
                                          DaemonClient::Read{std::string(hamlib::kGetFrequency), 1},
                                          report, timing.daemons);
  }
  if (options.cluster) {
    cluster_ =
        std::make_unique<ClusterClient>(*options.cluster, options.call, options.clusterPassword,
                                        options.clusterCommands, report, timing.cluster);
    cluster_->setSpotHandler([this](const DxSpot& spot) { spotHeard(spot); });
  }
  if (options.wsjtx) {
    wsjtx_ = std::make_unique<WsjtxListener>(*options.wsjtx, report);
    wsjtx_->setHandler([this](const wsjtx::Message& m) { wsjtxHeard(m); });
  }
  // A map that starts (again) shows what the station has.
  connect(&map_, &MapHost::attached, &feed_, &SpotFeed::showAll);
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
  if (wsjtx_ && !wsjtx_->start(error)) return false;
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
  // A newer heading makes any waiting one stale.
  rotator_->replace({hamlib::setPosition(*azimuth)});
  antenna_->commanded();
}

void Station::stopRotor() {
  report_.note("map: orbellestoprotor()");
  if (!rotator_) return;
  rotator_->replace({std::string(hamlib::kStop)});
  antenna_->commanded();
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
  // The rig follows the newest spot picked: commands of an earlier one still waiting are stale.
  if (!plan.commands.empty()) rig_->replace(plan.commands);
}

void Station::spotHeard(const DxSpot& spot) {
  std::optional<PlacedSpot> placed = placeSpot(spot, cty_, feed_.now());
  if (!placed) {
    ++unplaced_;
    report_.note("spot of " + spot.call + " not shown: cty.dat does not place it");
    return;
  }
  feed_.offer(std::move(*placed));
}

void Station::wsjtxHeard(const wsjtx::Message& message) {
  WsjtxSpots::Result result = wsjtxSpots_.take(message, feed_.now());
  if (result.spot) {
    feed_.offer(std::move(*result.spot));
  } else if (!result.skipped.empty()) {
    ++decodesNotShown_;
    const auto& decode = std::get<wsjtx::Decode>(message.body);
    report_.note("WSJT-X decode \"" + visibleText(decode.text) + "\" not shown: " + result.skipped);
  }
}

std::string Station::summary() const {
  std::string out;
  const auto count = [](std::size_t n, const char* what) { return std::to_string(n) + " " + what; };
  if (cluster_) {
    const ClusterClient::Counters& c = cluster_->counters();
    out += "cluster: " + count(c.spots, "spots, ") + count(c.malformed, "unreadable spot lines, ") +
           count(unplaced_, "spots not placed, ") + count(c.sessions, "sessions; ");
  }
  if (wsjtx_) {
    const WsjtxListener::Counters& w = wsjtx_->counters();
    out += "WSJT-X: " + count(w.datagrams, "datagrams, ") + count(w.malformed, "unreadable, ") +
           count(decodesNotShown_, "decodes without a spot; ");
  }
  if (out.empty()) return out;
  const SpotFeed::Counters& f = feed_.counters();
  return out + "spots: " + count(f.shown, "shown, ") + count(f.filtered, "filtered out, ") +
         count(f.duplicates, "duplicates, ") + count(f.tooOld, "too old, ") +
         count(f.agedOut, "aged out");
}

}  // namespace orbelle::station
