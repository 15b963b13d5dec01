#pragma once

// The host's callback object as the map sees it: the three methods the map calls by name when
// the operator asks for a rotor turn, a rig setting or a rotor stop. The model calls them only
// while its Callback holds such an object; each call returns when the host has answered (or the
// implementation has given up waiting), and may let events run meanwhile.

#include <QVariant>

namespace orbelle::model {

class HostCallback {
 public:
  virtual ~HostCallback() = default;

  // Turn the rotor to `heading`, whole degrees in 1 .. 360 carried as a double.
  virtual void orbellesetrotor(double heading) = 0;
  // Set the rig to a spot's frequency, transmit frequency and mode: the values stored for the
  // spot, passed by reference; what the host leaves in them is its answer.
  virtual void orbellesetrig(QVariant& SpotFreq, QVariant& SpotFreqTX, QVariant& Mode) = 0;
  // Stop the rotor.
  virtual void orbellestoprotor() = 0;
};

}  // namespace orbelle::model
