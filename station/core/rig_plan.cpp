#include "core/rig_plan.hpp"

#include <optional>

#include "core/hamlib.hpp"
#include "core/modes.hpp"
#include "core/text.hpp"

namespace orbelle::station {

RigPlan planRig(const RigRequest& request) {
  RigPlan plan;
  const std::optional<std::int64_t> hz = hamlib::kHzToHz(request.frequencyKHz);
  if (!hz) {
    plan.notes.push_back("spot frequency " + numberText(request.frequencyKHz) +
                         " kHz is not a frequency; rig left as it is");
    return plan;
  }
  plan.commands.push_back(hamlib::setFrequency(*hz));

  if (const std::optional<std::string> mode = hamlibMode(request.mode, request.frequencyKHz)) {
    plan.commands.push_back(hamlib::setMode(*mode));
  } else {
    plan.notes.push_back("mode \"" + request.mode + "\" has no rig mode; rig mode left as it is");
  }

  // 0 is how the map and the spot say "no split"; it is not worth a note.
  const std::optional<std::int64_t> txHz =
      request.transmitKHz == 0.0 ? std::nullopt : hamlib::kHzToHz(request.transmitKHz);
  if (request.transmitKHz != 0.0 && !txHz) {
    plan.notes.push_back("transmit frequency " + numberText(request.transmitKHz) +
                         " kHz is not a frequency; split off");
  }
  if (txHz && *txHz != *hz) {
    plan.commands.push_back(hamlib::setSplit(true));
    plan.commands.push_back(hamlib::setSplitFrequency(*txHz));
  } else {
    plan.commands.push_back(hamlib::setSplit(false));
  }
  return plan;
}

}  // namespace orbelle::station
