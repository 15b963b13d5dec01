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
  bool join = false;
  for (char c : text) {
    if (c == kJoinMark) {
      join = true;
      continue;
    }
    const auto code = codeFor(c);
    if (!code) continue;
    if (isWordSpace(*code)) {
      timedWait(clock, d.wordGap);
    } else {
      for (char symbol : *code) {
        soundTone(ports, clock, a.frequencyHz, isDot(symbol) ? d.dot : d.dash);
        timedWait(clock, d.elementGap);
      }
    }
    if (join) {
      join = false;
    } else {
      timedWait(clock, d.characterGap);
    }
  }
  if (a.show) host.execute(kClearWindowCommand);
}

}  // namespace morse
