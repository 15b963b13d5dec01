#include "server/bus_callback.hpp"

#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QDBusVariant>
#include <QEventLoop>

namespace orbelle::server {
namespace {

// A value the map holds as a variant on the bus. An empty value (nothing stored) goes as an
// empty text: the bus has no empty variant.
QVariant asVariant(const QVariant& value) {
  return QVariant::fromValue(QDBusVariant(value.isValid() ? value : QVariant(QString())));
}

}  // namespace

BusCallback::BusCallback(QDBusConnection connection, BusObjectRef target, FailureReport onFailure,
                         int timeoutMs)
    : connection_(std::move(connection)),
      target_(std::move(target)),
      onFailure_(std::move(onFailure)),
      timeoutMs_(timeoutMs) {}

QDBusMessage BusCallback::call(const QString& method, const QVariantList& arguments) {
  // The host may replace Callback while the map waits; this object stays until the call ends.
  const std::shared_ptr<BusCallback> keep = shared_from_this();
  QDBusMessage message =
      QDBusMessage::createMethodCall(target_.service, target_.path.path(), QString(), method);
  message.setArguments(arguments);
  QDBusPendingCall pending = connection_.asyncCall(message, timeoutMs_);
  if (!pending.isFinished()) {
    QDBusPendingCallWatcher watcher(pending);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    // The pending call ends by itself after timeoutMs_ at the latest.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
  }
  if (!pending.isFinished()) return {};  // the program is ending
  QDBusMessage reply = pending.reply();
  if (reply.type() == QDBusMessage::ErrorMessage) {
    if (onFailure_) {
      onFailure_(QStringLiteral("The host did not answer %1 (%2)").arg(method, reply.errorName()));
    }
    return {};
  }
  return reply;
}

void BusCallback::orbellesetrotor(double heading) {
  call(QStringLiteral("orbellesetrotor"), {heading});
}

void BusCallback::orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) {
  const QDBusMessage reply = call(QStringLiteral("orbellesetrig"),
                                  {asVariant(SpotFreq), asVariant(SpotFreqTX), asVariant(Mode)});
  const QVariantList back = reply.arguments();
  if (back.size() != 3) return;
  const auto unwrap = [](const QVariant& v) {
    return v.metaType() == QMetaType::fromType<QDBusVariant>() ? v.value<QDBusVariant>().variant()
                                                               : v;
  };
  SpotFreq = unwrap(back.at(0));
  SpotFreqTX = unwrap(back.at(1));
  Mode = unwrap(back.at(2));
}

void BusCallback::orbellestoprotor() { call(QStringLiteral("orbellestoprotor"), {}); }

}  // namespace orbelle::server
