#include "core/wsjtx_message.hpp"

#include <algorithm>
#include <array>
#include <cstring>

namespace orbelle::station::wsjtx {
namespace {

constexpr std::uint32_t kNullText = 0xFFFFFFFF;
constexpr std::uint32_t kNullTime = 0xFFFFFFFF;
constexpr std::uint32_t kMsPerDay = 86'400'000;

// Reads QDataStream fields from a datagram without ever reading past its end. The first field
// that does not fit names the fault; every later read then fails too.
class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}

  bool atEnd() const { return at_ == bytes_.size(); }
  const std::string& error() const { return error_; }

  bool read(std::uint64_t& out, std::size_t size, const char* field) {
    if (!take(size, field)) return false;
    out = 0;
    for (std::size_t i = 0; i < size; ++i) {
      out = (out << 8) | static_cast<unsigned char>(bytes_[at_ - size + i]);
    }
    return true;
  }
  bool read(std::uint32_t& out, const char* field) {
    std::uint64_t value = 0;
    if (!read(value, 4, field)) return false;
    out = static_cast<std::uint32_t>(value);
    return true;
  }
  bool read(std::int32_t& out, const char* field) {
    std::uint32_t value = 0;
    if (!read(value, field)) return false;
    out = static_cast<std::int32_t>(value);
    return true;
  }
  bool read(std::uint64_t& out, const char* field) { return read(out, 8, field); }
  bool read(bool& out, const char* field) {
    std::uint64_t value = 0;
    if (!read(value, 1, field)) return false;
    out = value != 0;
    return true;
  }
  bool read(double& out, const char* field) {
    std::uint64_t bits = 0;
    if (!read(bits, 8, field)) return false;
    std::memcpy(&out, &bits, sizeof out);
    return true;
  }
  // utf8: a byte count and the bytes; a null text reads as "".
  bool read(std::string& out, const char* field) {
    std::uint32_t size = 0;
    if (!read(size, field)) return false;
    if (size == kNullText) {
      out.clear();
      return true;
    }
    if (!take(size, field)) return false;
    out.assign(bytes_.substr(at_ - size, size));
    return true;
  }
  bool readTime(std::optional<std::uint32_t>& out, const char* field) {
    std::uint32_t ms = 0;
    if (!read(ms, field)) return false;
    if (ms == kNullTime) {
      out.reset();
      return true;
    }
    if (ms >= kMsPerDay) return fail(std::string(field) + " is not a time of day");
    out = ms;
    return true;
  }

 private:
  bool take(std::size_t size, const char* field) {
    if (!error_.empty()) return false;
    if (size > bytes_.size() - at_) return fail(std::string(field) + " cut off");
    at_ += size;
    return true;
  }
  bool fail(std::string text) {
    if (error_.empty()) error_ = std::move(text);
    return false;
  }

  std::string_view bytes_;
  std::size_t at_ = 0;
  std::string error_;
};

bool readHeartbeat(Reader& r, Heartbeat& h) {
  // Every field after the id came with later versions.
  return (r.atEnd() || r.read(h.maxSchema, "maximum schema")) &&
         (r.atEnd() || r.read(h.version, "version")) &&
         (r.atEnd() || r.read(h.revision, "revision"));
}

bool readStatus(Reader& r, Status& s) {
  std::string report, txMode;
  bool txEnabled = false, transmitting = false, decoding = false;
  std::uint32_t rxDf = 0, txDf = 0;
  if (!r.read(s.dialHz, "dial frequency") || !r.read(s.mode, "mode")) return false;
  return (r.atEnd() || r.read(s.dxCall, "DX call")) && (r.atEnd() || r.read(report, "report")) &&
         (r.atEnd() || r.read(txMode, "Tx mode")) &&
         (r.atEnd() || r.read(txEnabled, "Tx enabled")) &&
         (r.atEnd() || r.read(transmitting, "transmitting")) &&
         (r.atEnd() || r.read(decoding, "decoding")) && (r.atEnd() || r.read(rxDf, "Rx DF")) &&
         (r.atEnd() || r.read(txDf, "Tx DF")) && (r.atEnd() || r.read(s.deCall, "DE call")) &&
         (r.atEnd() || r.read(s.deGrid, "DE grid"));
}

bool readDecode(Reader& r, Decode& d) {
  return r.read(d.isNew, "new") && r.readTime(d.msOfDay, "time") && r.read(d.snr, "snr") &&
         r.read(d.deltaTimeS, "delta time") && r.read(d.deltaHz, "delta frequency") &&
         r.read(d.mode, "mode") && r.read(d.text, "message") &&
         (r.atEnd() || r.read(d.lowConfidence, "low confidence")) &&
         (r.atEnd() || r.read(d.offAir, "off air"));
}

}  // namespace

ParseResult parseDatagram(std::string_view bytes) {
  Reader r(bytes);
  std::uint32_t magic = 0;
  Message m;
  if (!r.read(magic, "magic number")) return {std::nullopt, r.error()};
  if (magic != kMagic) return {std::nullopt, "not a WSJT-X datagram (wrong magic number)"};
  if (!r.read(m.schema, "schema") || !r.read(m.type, "message type") || !r.read(m.id, "id")) {
    return {std::nullopt, r.error()};
  }
  bool ok = true;
  switch (m.type) {
    case kHeartbeat:
      ok = readHeartbeat(r, m.body.emplace<Heartbeat>());
      break;
    case kStatus:
      ok = readStatus(r, m.body.emplace<Status>());
      break;
    case kDecode:
      ok = readDecode(r, m.body.emplace<Decode>());
      break;
    default:
      break;
  }
  if (!ok) return {std::nullopt, r.error()};
  return {std::move(m), {}};
}

std::string decodeModeName(std::string_view mode) {
  struct Symbol {
    std::string_view symbol;
    std::string_view name;
  };
  static constexpr std::array<Symbol, 8> kSymbols{{{"~", "FT8"},
                                                   {"+", "FT4"},
                                                   {"#", "JT65"},
                                                   {"@", "JT9"},
                                                   {"$", "JT4"},
                                                   {"&", "MSK144"},
                                                   {":", "Q65"},
                                                   {"`", "FST4"}}};
  for (const Symbol& s : kSymbols) {
    if (s.symbol == mode) return std::string(s.name);
  }
  constexpr std::size_t kLongestMode = 10;
  const bool word =
      !mode.empty() && mode.size() <= kLongestMode &&
      std::all_of(mode.begin(), mode.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      });
  return word ? std::string(mode) : std::string();
}

}  // namespace orbelle::station::wsjtx
