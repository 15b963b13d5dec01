#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// The datagrams WSJT-X (and programs that copy its protocol) send to a UDP server: a header
// (magic number 0xADBCCBDA, schema number), the message type and the sender's id, then the
// type's fields. Everything is big-endian in QDataStream's encoding: integers of fixed size,
// bool as one byte, double as IEEE 754, "utf8" text as a quint32 byte count (0xFFFFFFFF for a
// null text) and the bytes, a time of day as quint32 milliseconds since midnight UTC.
//
// Newer versions append fields to a message; fields after the ones every version sends are read
// when the datagram holds them. A field cut off in the middle, a count beyond the datagram's end
// or a wrong magic number makes the datagram malformed.

namespace orbelle::station::wsjtx {

inline constexpr std::uint32_t kMagic = 0xADBCCBDA;

enum Type : std::uint32_t {
  kHeartbeat = 0,
  kStatus = 1,
  kDecode = 2,
  kClear = 3,
  kQsoLogged = 5,
  kClose = 6,
};

struct Heartbeat {
  std::uint32_t maxSchema = 2;  // older senders do not send it: schema 2
  std::string version;
  std::string revision;
};

struct Status {
  std::uint64_t dialHz = 0;
  std::string mode;  // "FT8", "FT4", ...
  std::string dxCall;
  std::string deCall;  // the operator's call, when sent
  std::string deGrid;  // the operator's locator, when sent
};

struct Decode {
  bool isNew = true;                     // false when replayed from the band activity window
  std::optional<std::uint32_t> msOfDay;  // nullopt for a null time
  std::int32_t snr = 0;
  double deltaTimeS = 0.0;
  std::uint32_t deltaHz = 0;  // audio offset from the dial frequency
  std::string mode;           // one character per mode: "~" FT8, "+" FT4, ...
  std::string text;
  bool lowConfidence = false;
  bool offAir = false;  // decoded from a recording
};

struct Message {
  std::uint32_t schema = 0;
  std::uint32_t type = 0;
  std::string id;  // the sending program's key, "WSJT-X" unless configured otherwise
  // Other types (and types this station does not read) carry only the id.
  std::variant<std::monostate, Heartbeat, Status, Decode> body;
};

struct ParseResult {
  std::optional<Message> message;
  std::string error;  // why the datagram is not a message, when `message` is empty
};

ParseResult parseDatagram(std::string_view bytes);

// The mode of a Decode's mode character ("~" → "FT8"), the field itself when it is a short word
// of letters and digits, else "".
std::string decodeModeName(std::string_view mode);

}  // namespace orbelle::station::wsjtx
