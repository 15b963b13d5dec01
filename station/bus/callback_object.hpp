#pragma once

#include <QDBusVariant>
#include <QObject>
#include <QVariant>
#include <functional>

// The station's callback object on the bus. The map calls orbellesetrotor(d),
// orbellesetrig(v, v, v) and orbellestoprotor() on it by member name and waits for each reply,
// so every call only hands its values on and returns at once; the daemons are talked to later.

namespace orbelle::station {

// Where the station registers the object on its own connection.
inline constexpr const char* kCallbackPath = "/orbelle/station/callback";

class CallbackObject : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "Orbelle.StationCallback")

 public:
  struct Handlers {
    std::function<void(double heading)> setRotor;
    std::function<void(const QVariant& SpotFreq, const QVariant& SpotFreqTX, const QVariant& Mode)>
        setRig;
    std::function<void()> stopRotor;
  };

  explicit CallbackObject(Handlers handlers, QObject* parent = nullptr)
      : QObject(parent), handlers_(std::move(handlers)) {}

 public slots:
  Q_SCRIPTABLE void orbellesetrotor(double heading);
  Q_SCRIPTABLE void orbellesetrig(const QDBusVariant& SpotFreq, const QDBusVariant& SpotFreqTX,
                                  const QDBusVariant& Mode);
  Q_SCRIPTABLE void orbellestoprotor();

 private:
  Handlers handlers_;
};

}  // namespace orbelle::station
