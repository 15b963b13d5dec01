#pragma once

// The host's callback object as the map window sees it: the three methods the map calls by name
// when the operator asks for a rotor turn, a rig setting or a rotor stop. The window calls them
// only while its Callback holds such an object; each call returns when the host has answered
// (or the implementation has given up waiting).

#include <QVariant>

namespace orbelle::shell {

class HostCallback {
 public:
  virtual ~HostCallback() = default;

  // Turn the rotor to `heading`, whole degrees in 1 .. 360 carried as a double.
  virtual void orbellesetrotor(double heading) = 0;
  // Set the rig to a spot's frequency, transmit frequency and mode (the values stored for the
  // spot; passed by reference as the host receives them).
  virtual void orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) = 0;
  // Stop the rotor.
  virtual void orbellestoprotor() = 0;
};

}  // namespace orbelle::shell
