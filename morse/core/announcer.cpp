#include "core/announcer.hpp"

#include "core/code_table.hpp"
#include "core/host_commands.hpp"
#include "core/speaker.hpp"

namespace morse {

void announce(const Announcement &a, const KeyingSettings &adjusts, PortIo &ports, Clock &clock,
              KeyerHost &host) {
  std::string text;
  text.reserve(a.text.size());
  for (char c : a.text) text += toUpperAscii(c);
  if (a.show) host.execute(showTextCommand(text));

  const Durations d = computeAnnouncementDurations(a.wpm, a.weight, a.farnsworth, adjusts);
  // Every wait ends the announcement when the host asks to stop; the speaker is silent then.
  const auto sound = [&](const std::string_view code) {
    for (char symbol : code) {
      if (host.stopRequested()) return false;
      if (!soundTone(ports, clock, host, a.frequencyHz, isDot(symbol) ? d.dot : d.dash) ||
          !timedWait(clock, host, d.elementGap)) {
        return false;
      }
    }
    return true;
  };
  bool join = false;
  for (char c : text) {
    if (c == kJoinMark) {
      join = true;
      continue;
    }
    const auto code = codeFor(c);
    if (!code) continue;
    const bool whole = isWordSpace(*code) ? timedWait(clock, host, d.wordGap) : sound(*code);
    if (!whole) break;
    if (join) {
      join = false;
    } else if (!timedWait(clock, host, d.characterGap)) {
      break;
    }
  }
  if (a.show) host.execute(kClearWindowCommand);
}

}  // namespace morse
