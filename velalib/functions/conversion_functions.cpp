// DEC_, HEX_, STOD, cstr, str_asc, adj_360 and DELAY_MS.
#include <string>

#include "conversions.hpp"
#include "foxlib.hpp"
#include "functions.hpp"
#include "texts.hpp"

namespace velalib::entry {

void DEC_(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnInteger(packedToDecimal(params.integer(0)), kWidthHandle);
}

void HEX_(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnInteger(decimalToPacked(params.integer(0)), kWidthHandle);
}

void STOD(FoxParamBlock *block) {
  const fox::Params params(block);
  const auto digits = readDateDigits(params.text(0));
  // Text that does not start with eight digits gives the empty date (day number 0).
  fox::returnDate(digits ? static_cast<double>(julianDayNumber(*digits)) : 0.0);
}

void cstr(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnText(untilNul(params.text(0)));
}

void str_asc(FoxParamBlock *block) {
  const fox::Params params(block);
  const std::string text = params.text(0);
  const int32_t position = params.integer(1);
  if (!isBytePosition(position, text.size())) fox::raiseUserError(kStrAscBadPosition);
  fox::returnInteger(static_cast<unsigned char>(text[static_cast<size_t>(position) - 1]),
                     kWidthStrAsc);
}

void adj_360(FoxParamBlock *block) {
  const fox::Params params(block);
  fox::returnNumber(adjust360(params.number(0)), kWidthAngle, kDecimalsAngle);
}

void DELAY_MS(FoxParamBlock *block) {
  const fox::Params params(block);
  const int32_t milliseconds = params.integer(0);
  if (milliseconds <= 0) return;
  // Elapsed time is taken modulo 2^32, so a wrap of the tick counter does not end or stretch
  // the wait.
  const uint32_t start = fox::clock::nowMillis();
  const auto wait = static_cast<uint32_t>(milliseconds);
  while (static_cast<uint32_t>(fox::clock::nowMillis() - start) < wait) {
  }
}

}  // namespace velalib::entry
