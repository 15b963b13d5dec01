// WSJT-X's UDP datagrams as WSJT-X writes them: refused when cut or malformed, made spots.

#include <gtest/gtest.h>

#include "core/wsjtx_message.hpp"
#include "core/wsjtx_spots.hpp"
#include "net/wsjtx_listener.hpp"
#include "peers/cty_excerpt.hpp"
#include "peers/hamlib_daemon.hpp"
#include "peers/recording_report.hpp"
#include "peers/wsjtx_sender.hpp"

namespace orbelle::station::test {
namespace {

wsjtx::ParseResult parse(const QByteArray& bytes) {
  return wsjtx::parseDatagram(std::string_view(bytes.constData(), bytes.size()));
}

// Each cut is refused or read up to a field later versions added; malformed ones say why.
TEST(WsjtxDatagram, CutOrMalformedDatagramsAreRefusedWithTheirFault) {
  const WsjtxSender sender;
  const QByteArray decode = sender.decode(QTime(1, 2, 3), -5, 900, "K1ABC W9XYZ EN37");
  const QByteArray status = sender.status(7074000, "FT8", "K1ABC", "FN42");
  qsizetype shortest = -1;
  for (qsizetype size = status.size() - 1; size >= 0; --size) {
    const wsjtx::ParseResult r = parse(status.left(size));
    EXPECT_NE(r.message.has_value(), !r.error.empty()) << size;
    if (r.message) shortest = size;
  }
  EXPECT_EQ(shortest, 22 + 8 + 7);  // the status as far as its mode "FT8"
  for (int size = 0; size < decode.size(); ++size) {
    // A decode without "low confidence" and "off air", or without "off air" alone.
    EXPECT_EQ(parse(decode.left(size)).message.has_value(), size >= decode.size() - 2) << size;
  }
  QByteArray magic = decode, id = decode, nullText = decode, unknown = decode;
  QByteArray time = sender.decode(QTime(), 0, 0, "x");  // 86400000 ms in place of "no time"
  magic[0] = 0x00;
  id[12] = 0x7f;  // the id's byte count: far beyond the datagram
  time.replace(time.indexOf(QByteArray(4, '\xff')), 4, QByteArray("\x05\x26\x5c\x00", 4));
  nullText.replace(nullText.indexOf("~") - 4, 5, QByteArray(4, '\xff'));  // a null mode
  unknown[11] = 99;
  const std::pair<QByteArray, const char*> cases[] = {{decode.chopped(10), "message cut off"},
                                                      {magic, "magic"},
                                                      {id, "id cut off"},
                                                      {time, "not a time of day"},
                                                      {nullText, ""},
                                                      {unknown, ""}};
  for (const auto& [bytes, fault] : cases) {
    const wsjtx::ParseResult r = parse(bytes);
    EXPECT_EQ(r.message.has_value(), !*fault) << fault;
    EXPECT_NE(r.error.find(fault), std::string::npos) << r.error;
  }
  EXPECT_EQ(std::get<wsjtx::Decode>(parse(nullText).message->body).mode, "");
  EXPECT_TRUE(std::holds_alternative<std::monostate>(parse(unknown).message->body));
}

TEST(WsjtxSpots, DecodesAfterAStatusBecomeSpots) {
  const CtyDat cty = CtyDat::parse(kCtyExcerpt).table;
  WsjtxSpots spots(cty, {48.0, 11.0, "DL1ABC"});
  const WsjtxSender sender;
  const std::int64_t arrival = (20000LL * 86400 + 13 * 3600 + 59 * 60 + 28) * 1000;
  const auto take = [&](const QByteArray& datagram) {
    return spots.take(*parse(datagram).message, arrival);
  };
  const QByteArray cq = sender.decode(QTime(13, 59, 15), -12, 1234, "CQ VP8LP GD18");
  EXPECT_NE(take(cq).skipped.find("no Status"), std::string::npos);
  take(sender.status(14074000, "FT8", "", ""));
  // Placed by the locator's centre, not by cty.dat (the journeys place a reply by cty.dat).
  const WsjtxSpots::Result placed = take(cq);
  ASSERT_TRUE(placed.spot) << placed.skipped;
  const AddSpotFields& f = placed.spot->fields;
  EXPECT_EQ(std::tie(f.LatDeg, f.LonDeg, f.Color, f.SpotFreq, f.SpotByLat, f.SpotByLon,
                     f.SpotByColor, f.SpotFreqTX, placed.spot->madeAtMs),
            std::tuple(-51.5, -57.0, bandColor(14074.0), 14074.0, 48.0, 11.0, 12632256.0, 0.0,
                       arrival - 13'000));
  EXPECT_EQ(std::tie(f.Mode, f.SpotCall, f.SpotTime, f.SpotBy, f.SpotComment, f.SpotLoc,
                     f.SpotByLoc, placed.spot->dxContinent, placed.spot->spotterContinent),
            std::tuple("FT8", "VP8LP", "1359Z", "DL1ABC", "-12 dB 1234 Hz: CQ VP8LP GD18",
                       "Falkland Islands", "Fed. Rep. of Germany", "SA", "EU"));
  const std::pair<QByteArray, const char*> skipped[] = {
      {sender.decode(QTime(), 0, 0, "CQ XX9ZZ"), "cannot be placed"},
      {sender.decode(QTime(), 0, 0, "CQ K1ABC FN42", true), "low-conf"},
      {sender.decode(QTime(), 0, 0, "HELLO WORLD"), "names no station"},
      {sender.decode(QTime(), 0, 0, "CQ DX"), "names no station"}};
  for (const auto& [datagram, why] : skipped) {
    EXPECT_NE(take(datagram).skipped.find(why), std::string::npos) << why;
  }
}

// A port another listener holds is refused with a reason.
TEST(WsjtxListener, APortInUseIsRefused) {
  RecordingReport report;
  const int port = freePort();
  WsjtxListener listener({"127.0.0.1", port}, report), busy({"127.0.0.1", port}, report);
  std::string error;
  ASSERT_TRUE(listener.start(&error)) << error;
  EXPECT_FALSE(busy.start(&error));
  EXPECT_NE(error.find("cannot listen"), std::string::npos) << error;
}

}  // namespace
}  // namespace orbelle::station::test
