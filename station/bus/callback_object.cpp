#include "bus/callback_object.hpp"

namespace orbelle::station {

void CallbackObject::orbellesetrotor(double heading) {
  if (handlers_.setRotor) handlers_.setRotor(heading);
}

void CallbackObject::orbellesetrig(const QDBusVariant& SpotFreq, const QDBusVariant& SpotFreqTX,
                                   const QDBusVariant& Mode) {
  if (handlers_.setRig) handlers_.setRig(SpotFreq.variant(), SpotFreqTX.variant(), Mode.variant());
}

void CallbackObject::orbellestoprotor() {
  if (handlers_.stopRotor) handlers_.stopRotor();
}

}  // namespace orbelle::station
