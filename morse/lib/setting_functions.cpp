// The keying settings' setters, the load-time recomputation and the port functions.
#include <cmath>

#include "foxlib.hpp"
#include "lib/functions.hpp"
#include "lib/library.hpp"

namespace morse {
namespace {

constexpr int16_t kSettingWidth = 10;

// Each setter: given a value (parameter count not 0) it stores it and recomputes the durations;
// it always returns the current setting.
void integerSetting(FoxParamBlock *block, int32_t KeyingSettings::*field) {
  const fox::Params p(block);
  KeyerState &s = library().state;
  if (p.count() != 0) {
    s.settings.*field = p.integer(0);
    s.recompute();
  }
  fox::returnInteger(s.settings.*field, kSettingWidth);
}

}  // namespace

void CALLONLOAD(FoxParamBlock *) { library().state.recompute(); }

void CW_WPM(FoxParamBlock *p) { integerSetting(p, &KeyingSettings::wpm); }
void CW_FARNSWORTH(FoxParamBlock *p) { integerSetting(p, &KeyingSettings::farnsworth); }
void CW_SPEEDADJ(FoxParamBlock *p) { integerSetting(p, &KeyingSettings::speedAdjust); }
void CW_IEADJ(FoxParamBlock *p) { integerSetting(p, &KeyingSettings::elementGapAdjust); }
void CW_ICADJ(FoxParamBlock *p) { integerSetting(p, &KeyingSettings::characterGapAdjust); }
void CW_IWADJ(FoxParamBlock *p) { integerSetting(p, &KeyingSettings::wordGapAdjust); }

void CW_WEIGHT(FoxParamBlock *block) {
  const fox::Params p(block);
  KeyerState &s = library().state;
  if (p.count() != 0) {
    s.settings.weight = p.integer(0);
    s.recompute();
  }
  fox::returnInteger(static_cast<int32_t>(std::trunc(s.settings.weight)), kSettingWidth);
}

void CW_PAR_ADDR(FoxParamBlock *block) {
  const fox::Params p(block);
  Library &lib = library();
  if (p.count() != 0) lib.setPortBase(static_cast<uint16_t>(p.integer(0) & 0xFFFF));
  fox::returnInteger(lib.state.portBase, kSettingWidth);
}

void OUT_P(FoxParamBlock *block) {
  const fox::Params p(block);
  const CallScope scope;
  library().ports().out(static_cast<uint16_t>(p.integer(0) & 0xFFFF),
                        static_cast<uint8_t>(p.integer(1) & 0xFF));
}

}  // namespace morse
