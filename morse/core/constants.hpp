// The fixed numbers of the Morse keyer, each named once.
#pragma once

#include <cstdint>

namespace morse {

// ---- settings at load -----------------------------------------------------------------------
inline constexpr int32_t kDefaultWpm = 15;
inline constexpr uint16_t kDefaultPortBase = 0x378;

// ---- timing model ---------------------------------------------------------------------------
inline constexpr int32_t kDotUnitsPerWpm = 1320;  // T = 1320 / WPM, integer division
inline constexpr double kCharacterGapFactor = 0.85;
inline constexpr double kFarnsworthCharacterDivisor = 28.0;
inline constexpr double kWordGapFactor = 1.4;
// Bounds every derived duration so that no setting, however absurd, makes one element or gap
// outlast a minute (a weight of -100 % would otherwise divide by zero).
inline constexpr int32_t kMaxDurationMs = 60000;

// ---- waiting --------------------------------------------------------------------------------
// A wait sleeps until this long before its deadline and spins the rest. It must outlast the
// usual lateness of a wake-up from sleep; bench/morse measures that lateness (the wake-up
// benchmark) and what this stretch costs in processor time while keying.
inline constexpr uint64_t kSpinMicros = 1000;

// ---- announcements --------------------------------------------------------------------------
inline constexpr int32_t kAnnounceWpm = 13;
inline constexpr int32_t kAnnounceFrequencyHz = 700;

// ---- sending engine -------------------------------------------------------------------------
inline constexpr int32_t kSpeedStepWpm = 2;
inline constexpr int32_t kSlowestWpm = 5;            // a slower-key step never goes below this
inline constexpr int32_t kKeyboardPassAboveMs = 80;  // longer waits in CW_KBD read the keyboard
inline constexpr int kTypeAheadSlots = 256;
inline constexpr int kTypedLineMax = 62;
inline constexpr int32_t kCaretAtEnd = 9999;  // SELSTART after an echo

// Host key codes.
inline constexpr int32_t kKeyHome = 1;         // pause
inline constexpr int32_t kKeyUp = 5;           // faster
inline constexpr int32_t kKeyEnd = 6;          // stop
inline constexpr int32_t kKeyDown = 24;        // slower
inline constexpr int32_t kKeyBackspace = 127;  // take back a typed character

// ---- PC ports -------------------------------------------------------------------------------
inline constexpr uint16_t kControlRegisterOffset = 2;  // parallel port control register
inline constexpr uint8_t kKeyDownValue = 0x01;
inline constexpr uint8_t kKeyUpValue = 0x09;
inline constexpr uint8_t kKeyingLineBit = 0x08;  // set while the key is up

inline constexpr uint16_t kTimerChannel2Port = 0x42;
inline constexpr uint16_t kTimerCommandPort = 0x43;
inline constexpr uint16_t kSpeakerGatePort = 0x61;
inline constexpr uint8_t kTimerChannel2SquareWave = 0xB6;  // channel 2, low then high, mode 3
inline constexpr uint8_t kSpeakerGateBits = 0x03;
inline constexpr int32_t kTimerInputHz = 1193180;  // 0x1234DC
inline constexpr int32_t kMaxTimerDivisor = 0xFFFF;

}  // namespace morse
