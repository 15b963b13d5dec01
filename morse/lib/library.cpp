#include "lib/library.hpp"

#include <cstdlib>

#include "core/host_commands.hpp"

namespace morse {

Library &library() {
  static Library instance;
  return instance;
}

PortIo &Library::ports() {
  if (!router_) {
    const PortsConfig config = portsConfigFrom([](const char *name) { return std::getenv(name); });
    router_ = std::make_unique<PortRouter>(config, clock, state.portBase);
    if (!router_->notice().empty()) host.execute(noticeCommand(router_->notice()));
  }
  return *router_;
}

void Library::setPortBase(uint16_t base) {
  state.portBase = base;
  if (router_) router_->setKeyingBase(base);
}

void Library::endCall() {
  if (router_) router_->flush();
}

}  // namespace morse
