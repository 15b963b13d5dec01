#pragma once

#include <string>
#include <vector>

// What the rig is told when the operator picks a spot on the map: the map hands back the spot's
// frequency, transmit frequency (both in kHz, as the station passed them in) and mode.

namespace orbelle::station {

struct RigRequest {
  double frequencyKHz = 0.0;
  double transmitKHz = 0.0;  // 0 (or the receive frequency) when the spot is not split
  std::string mode;
};

struct RigPlan {
  std::vector<std::string> commands;  // rigctld command lines, in order
  std::vector<std::string> notes;     // why something was left out, for the operator
};

// In order: "F <Hz>"; "M <mode> 0" when the mode has a rig mode (see hamlibMode); then split:
// "S 1 VFOB" and "I <Hz>" when the transmit frequency is a valid frequency that differs from
// the receive frequency in whole hertz, otherwise "S 0 VFOA" so that the rig does not stay split
// from an earlier spot. A receive frequency that is not a valid frequency gives no commands.
RigPlan planRig(const RigRequest& request);

}  // namespace orbelle::station
