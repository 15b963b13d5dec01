#include "operators.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "../errors.hpp"
#include "../type_text.hpp"

namespace foxhost::lang {
namespace {

bool isNumeric(const Value &v) { return v.type == 'I' || v.type == 'N'; }

[[noreturn]] void mismatch(const std::string &op, const Value &a, const Value &b) {
  err::fail(err::kTypeMismatch,
            "Data type mismatch: " + typeName(a.type) + " " + op + " " + typeName(b.type));
}

int16_t widthOf(const Value &a, const Value &b) {
  return std::max<int16_t>({a.width, b.width, 10});
}

uint32_t decimalsOf(const Value &v) { return v.type == 'N' ? v.decimals : 0; }

Value numericOp(const std::string &op, const Value &a, const Value &b) {
  if (a.type == 'I' && b.type == 'I' && (op == "+" || op == "-" || op == "*")) {
    const int64_t x = a.integer, y = b.integer;
    const int64_t r = op == "+" ? x + y : op == "-" ? x - y : x * y;
    if (r >= INT32_MIN && r <= INT32_MAX)
      return Value::Integer(static_cast<int32_t>(r), widthOf(a, b));
  }
  const double x = a.number, y = b.number;
  const uint32_t da = decimalsOf(a), db = decimalsOf(b);
  double r = 0;
  uint32_t decimals = std::max(da, db);
  if (op == "+") {
    r = x + y;
  } else if (op == "-") {
    r = x - y;
  } else if (op == "*") {
    r = x * y;
    decimals = std::min<uint32_t>(da + db, 18);
  } else {
    if (y == 0) err::fail(err::kDivisionByZero, "Division by zero");
    if (op == "/") {
      r = x / y;
      decimals = std::max<uint32_t>(decimals, 2);
    } else {
      r = std::fmod(x, y);
    }
  }
  if (!std::isfinite(r)) err::fail(err::kNumericOverflow, "Numeric overflow");
  return Value::Number(r, widthOf(a, b), decimals);
}

int compareTexts(const std::string &a, const std::string &b) {
  const int c = a.compare(b);  // std::string compares as unsigned bytes via char_traits<char>
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}

Value compare(const std::string &op, const Value &a, const Value &b) {
  int order = 0;
  bool equal = false;
  if (isNumeric(a) && isNumeric(b)) {
    order = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    equal = order == 0;
  } else if (a.type == 'C' && b.type == 'C') {
    order = compareTexts(a.text, b.text);
    equal = op == "==" ? a.text == b.text : a.text.compare(0, b.text.size(), b.text) == 0;
  } else if (a.type == 'D' && b.type == 'D') {
    order = a.number < b.number ? -1 : a.number > b.number ? 1 : 0;
    equal = order == 0;
  } else if (a.type == 'L' && b.type == 'L') {
    order = static_cast<int>(a.logical) - static_cast<int>(b.logical);
    equal = order == 0;
  } else if (a.type == 'O' && b.type == 'O' && (op == "=" || op == "==" || op == "<>")) {
    equal = a.object == b.object;
  } else {
    mismatch(op, a, b);
  }
  if (op == "=" || op == "==") return Value::Logical(equal);
  if (op == "<>") return Value::Logical(!equal);
  if (op == "<") return Value::Logical(order < 0);
  if (op == ">") return Value::Logical(order > 0);
  if (op == "<=") return Value::Logical(order <= 0);
  return Value::Logical(order >= 0);
}

}  // namespace

bool truth(const Value &v, const char *where) {
  if (v.type != 'L') {
    err::fail(err::kTypeMismatch, std::string("Data type mismatch: ") + where +
                                      " needs a logical, not " + typeName(v.type));
  }
  return v.logical;
}

Value binaryOp(const std::string &op, const Value &a, const Value &b) {
  if (op == "=" || op == "==" || op == "<>" || op == "<" || op == ">" || op == "<=" || op == ">=") {
    return compare(op, a, b);
  }
  if (isNumeric(a) && isNumeric(b)) return numericOp(op, a, b);
  if (op == "+") {
    if (a.type == 'C' && b.type == 'C') return Value::Text(a.text + b.text);
    if (a.type == 'D' && isNumeric(b)) return Value::Date(a.number + std::trunc(b.number));
    if (isNumeric(a) && b.type == 'D') return Value::Date(b.number + std::trunc(a.number));
  }
  if (op == "-") {
    if (a.type == 'D' && isNumeric(b)) return Value::Date(a.number - std::trunc(b.number));
    if (a.type == 'D' && b.type == 'D') return Value::Number(a.number - b.number, 10, 0);
  }
  mismatch(op, a, b);
}

Value unaryOp(const std::string &op, const Value &v) {
  if (op == "NOT") return Value::Logical(!truth(v, "NOT"));
  if (v.type == 'I') {
    if (op == "+") return v;
    if (v.integer != INT32_MIN) return Value::Integer(-v.integer, v.width);
    return Value::Number(-static_cast<double>(v.integer), v.width, 0);
  }
  if (v.type == 'N') {
    Value out = v;
    if (op == "-") out.number = -v.number;
    return out;
  }
  err::fail(err::kTypeMismatch, "Data type mismatch: " + op + " " + typeName(v.type));
}

}  // namespace foxhost::lang
