#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Telnet option negotiation in a cluster's byte stream. Clusters reached over telnet may send
// IAC sequences; they are taken out of the text, and every option the server offers or asks for
// is refused (DO x → WONT x, WILL x → DONT x), so the session stays a plain line stream.
// Sequences may be split across reads: the filter keeps its state between calls.

namespace orbelle::station {

class TelnetFilter {
 public:
  static constexpr unsigned char kIac = 255;
  static constexpr unsigned char kDont = 254;
  static constexpr unsigned char kDo = 253;
  static constexpr unsigned char kWont = 252;
  static constexpr unsigned char kWill = 251;
  static constexpr unsigned char kSb = 250;
  static constexpr unsigned char kSe = 240;

  // The text of `bytes`; refusals to send back are appended to `replies`.
  std::string feed(std::string_view bytes, std::string& replies);

 private:
  enum class State { Text, Command, Option, Subnegotiation, SubnegotiationIac };
  State state_ = State::Text;
  unsigned char verb_ = 0;
};

}  // namespace orbelle::station
