// CW_SEND, CW_KBD, CW_PAUSED and CW_ANNU: parameter blocks in, keyers run, results out.
#include <optional>
#include <string>

#include "core/announcer.hpp"
#include "core/send_keyer.hpp"
#include "core/type_ahead_keyer.hpp"
#include "foxlib.hpp"
#include "lib/functions.hpp"
#include "lib/library.hpp"
#include "lib/realtime.hpp"

namespace morse {

void CW_SEND(FoxParamBlock *block) {
  const fox::Params p(block);
  const CallScope scope;
  Library &lib = library();
  std::optional<std::string> text;
  if (p.type(0) == 'C') text = p.text(0);
  std::optional<uint32_t> echo;
  if (p.count() >= 2 && p.type(1) == 'O') echo = p.object(1);
  const RealtimeScope realtime(!fox::clock::isVirtual());
  SendKeyer keyer(lib.state, lib.ports(), lib.clock, lib.host);
  const SendResult result = keyer.run(text, echo);
  fox::returnInteger(static_cast<int32_t>(result), 1);
}

void CW_KBD(FoxParamBlock *block) {
  const fox::Params p(block);
  const CallScope scope;
  Library &lib = library();
  const bool keep = p.count() >= 3 && p.logical(2);
  const RealtimeScope realtime(!fox::clock::isVirtual());
  TypeAheadKeyer keyer(lib.state, lib.ports(), lib.clock, lib.host, p.object(0), p.object(1));
  fox::returnLogical(keyer.run(keep));
}

void CW_PAUSED(FoxParamBlock *) { fox::returnLogical(library().state.paused); }

void CW_ANNU(FoxParamBlock *block) {
  const fox::Params p(block);
  const CallScope scope;
  Library &lib = library();
  Announcement a;
  a.text = p.text(0);
  if (p.count() >= 2) a.show = p.logical(1);
  if (p.count() >= 3) a.frequencyHz = p.integer(2);
  if (p.count() >= 4) a.wpm = p.integer(3);
  if (p.count() >= 5) a.weight = p.integer(4);
  if (p.count() >= 6) a.farnsworth = p.integer(5);
  const RealtimeScope realtime(!fox::clock::isVirtual());
  announce(a, lib.state.settings, lib.ports(), lib.clock, lib.host);
  lib.noteWordSpace(
      wordSpaceMs(computeAnnouncementDurations(a.wpm, a.weight, a.farnsworth, lib.state.settings)));
}

}  // namespace morse
