#include "lib/library.hpp"

#include <cstdlib>

#include "core/host_commands.hpp"
#include "foxlib.hpp"
#include "lib/realtime.hpp"

namespace morse {

Library &library() {
  static Library instance;
  return instance;
}

PortIo &Library::ports() {
  if (!router_) {
    const PortsConfig config = portsConfigFrom([](const char *name) { return std::getenv(name); });
    router_ = std::make_unique<PortRouter>(config, clock, state.portBase);
    std::string notice = router_->notice();
    if (!fox::clock::isVirtual() && realtimeAllowed()) notice += "; keying at real-time priority";
    host.execute(noticeCommand(notice));
  }
  return *router_;
}

void Library::setPortBase(uint16_t base) {
  state.portBase = base;
  if (router_) router_->setKeyingBase(base);
}

void Library::endCall() {
  if (!router_) return;
  router_->standBy();
  router_->noteWordSpace(wordSpaceMs(state.durations));
}

void Library::noteWordSpace(int32_t ms) {
  if (router_) router_->noteWordSpace(ms);
}

}  // namespace morse
