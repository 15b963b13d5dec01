// The host commands the keyer executes, and the quoting of operator text inside them.
#pragma once

#include <string>
#include <string_view>

namespace morse {

inline constexpr std::string_view kResumeRefusedCommand =
    "WAIT WINDOW 'CW_SEND: Attempt to resume when not paused (MORSE). Press a key...'";
inline constexpr std::string_view kPauseCommand = "wait window 'Pause...' nowait";
inline constexpr std::string_view kShowSpeedCommand =
    "wait window ltrim(str(cw_wpm())) + ' WPM' nowait";
inline constexpr std::string_view kClearWindowCommand = "wait clear";

// "wait window [text] nowait". A text holding "]" would end the bracket string early and break
// the command, so such a text is written as a concatenation in which every "]" is quoted on its
// own; any other text appears exactly as given.
std::string showTextCommand(std::string_view text);

// "wait window '...' nowait" for the library's own notices; quote and bracket characters and
// control characters of the message are replaced so that it cannot break the command.
std::string noticeCommand(std::string_view message);

}  // namespace morse
