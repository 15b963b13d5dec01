#include <utility>

#include "dates.hpp"
#include "errors.hpp"
#include "foxhost/host.hpp"
#include "numeric.hpp"

namespace foxhost {

Value Value::Text(std::string s) {
  Value v;
  v.type = 'C';
  v.text = std::move(s);
  return v;
}

Value Value::Integer(int32_t i, int16_t width) {
  Value v;
  v.type = 'I';
  v.integer = i;
  v.number = i;
  v.width = width;
  return v;
}

Value Value::Number(double d, int16_t width, uint32_t decimals) {
  Value v;
  v.type = 'N';
  v.number = d;
  v.width = width;
  v.decimals = decimals;
  return v;
}

Value Value::Logical(bool b) {
  Value v;
  v.type = 'L';
  v.logical = b;
  return v;
}

Value Value::Date(double julianDay) {
  Value v;
  v.type = 'D';
  v.number = julianDay;
  return v;
}

Value Value::Object(uint32_t id) {
  Value v;
  v.type = 'O';
  v.object = id;
  return v;
}

namespace {
std::string rightAligned(std::string text, int16_t width) {
  if (width > 0 && text.size() < static_cast<size_t>(width)) {
    text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
  }
  return text;
}
}  // namespace

std::string Value::display(const std::string &dateFormat) const {
  switch (type) {
    case 'C':
      return text;
    case 'I':
      return rightAligned(std::to_string(integer), width);
    case 'N':
      return rightAligned(numeric::formatFixed(number, static_cast<int>(decimals)), width);
    case 'L':
      return logical ? ".T." : ".F.";
    case 'D':
      return dates::format(dates::dayNumber(number), dateFormat);
    case 'O':
      return "(Object)";
    default:
      return {};
  }
}

namespace err {
std::string raisedErrorMessage(int32_t number) {
  if (number == kNoMemory) return "Error 182: insufficient memory";
  return "Error " + std::to_string(number);
}
}  // namespace err

}  // namespace foxhost
