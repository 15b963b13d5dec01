#include "core/telnet_filter.hpp"

namespace orbelle::station {

std::string TelnetFilter::feed(std::string_view bytes, std::string& replies) {
  std::string text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    switch (state_) {
      case State::Text:
        if (b == kIac) {
          state_ = State::Command;
        } else {
          text.push_back(c);
        }
        break;
      case State::Command:
        if (b == kIac) {  // an escaped 255 data byte
          text.push_back(c);
          state_ = State::Text;
        } else if (b == kWill || b == kWont || b == kDo || b == kDont) {
          verb_ = b;
          state_ = State::Option;
        } else if (b == kSb) {
          state_ = State::Subnegotiation;
        } else {  // a two-byte command (NOP, GA, ...): nothing to do
          state_ = State::Text;
        }
        break;
      case State::Option:
        // Refuse what is offered or asked; WONT and DONT need no answer.
        if (verb_ == kDo || verb_ == kWill) {
          replies.push_back(static_cast<char>(kIac));
          replies.push_back(static_cast<char>(verb_ == kDo ? kWont : kDont));
          replies.push_back(c);
        }
        state_ = State::Text;
        break;
      case State::Subnegotiation:
        if (b == kIac) state_ = State::SubnegotiationIac;
        break;
      case State::SubnegotiationIac:
        state_ = b == kSe ? State::Text : State::Subnegotiation;
        break;
    }
  }
  return text;
}

}  // namespace orbelle::station
