#pragma once

// The host's callback object on the bus: the map calls orbellesetrotor(d), orbellesetrig(v, v, v)
// and orbellestoprotor() on it by member name, without an interface name, and waits for each
// reply for at most a bounded time. While it waits the window keeps painting and bus calls are
// served (the operator's input waits), so a host that calls the map in the meantime is answered.
// A call that fails, finds nobody or times out is reported through `onFailure` and otherwise
// ignored: the map goes on working.

#include <QDBusConnection>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

#include "model/host_callback.hpp"
#include "server/bus_values.hpp"

namespace orbelle::server {

// How long the map waits for the host to answer a callback, in milliseconds.
inline constexpr int kCallbackTimeoutMs = 3000;

class BusCallback final : public model::HostCallback,
                          public std::enable_shared_from_this<BusCallback> {
 public:
  // Called with a short text for the operator when a call did not get its answer.
  using FailureReport = std::function<void(const QString& text)>;

  BusCallback(QDBusConnection connection, BusObjectRef target, FailureReport onFailure,
              int timeoutMs = kCallbackTimeoutMs);

  const BusObjectRef& target() const noexcept { return target_; }

  void orbellesetrotor(double heading) override;
  // The three values go out as variants; when the host's reply carries three values, they are
  // written back into the arguments (the host receives them by reference).
  void orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) override;
  void orbellestoprotor() override;

 private:
  // The reply, or an invalid message when the call did not get one.
  QDBusMessage call(const QString& method, const QVariantList& arguments);

  QDBusConnection connection_;
  BusObjectRef target_;
  FailureReport onFailure_;
  int timeoutMs_;
};

}  // namespace orbelle::server
