#include "builtins.hpp"

#include <cctype>
#include <cmath>
#include <map>

#include "../dates.hpp"
#include "../errors.hpp"
#include "../numeric.hpp"
#include "../text.hpp"
#include "../type_text.hpp"

namespace foxhost::lang {
namespace {

using Args = std::vector<Value>;
using Fn = Value (*)(const Args &, Context &);

struct Builtin {
  size_t minArgs;
  size_t maxArgs;
  Fn fn;
};

const Value &need(const Args &args, size_t i, char type, const char *function) {
  const Value &v = args[i];
  const bool ok = v.type == type || (type == 'N' && v.type == 'I');
  if (!ok) {
    err::fail(err::kTypeMismatch, "Argument " + std::to_string(i + 1) + " of " + function +
                                      " must be " + typeName(type) + ", not " + typeName(v.type));
  }
  return v;
}

Value integral(double d) { return Value::Number(d, 10, 0); }

int32_t wholeNumber(const Args &args, size_t i, const char *function) {
  const double d = std::trunc(need(args, i, 'N', function).number);
  if (!(d >= -2147483648.0 && d <= 2147483647.0)) {
    err::fail(err::kOutOfRange, std::string("Argument of ") + function + " is out of range");
  }
  return static_cast<int32_t>(d);
}

std::string trimLeft(const std::string &s) {
  const size_t i = s.find_first_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(i);
}

std::string trimRight(const std::string &s) {
  const size_t i = s.find_last_not_of(' ');
  return i == std::string::npos ? std::string() : s.substr(0, i + 1);
}

Value fnLtrim(const Args &a, Context &) {
  return Value::Text(trimLeft(need(a, 0, 'C', "LTRIM").text));
}
Value fnRtrim(const Args &a, Context &) {
  return Value::Text(trimRight(need(a, 0, 'C', "RTRIM").text));
}
Value fnAlltrim(const Args &a, Context &) {
  return Value::Text(trimLeft(trimRight(need(a, 0, 'C', "ALLTRIM").text)));
}
Value fnUpper(const Args &a, Context &) {
  return Value::Text(toUpper(need(a, 0, 'C', "UPPER").text));
}
Value fnLower(const Args &a, Context &) {
  return Value::Text(toLower(need(a, 0, 'C', "LOWER").text));
}

Value fnStr(const Args &a, Context &) {
  const double n = need(a, 0, 'N', "STR").number;
  const int32_t length = a.size() > 1 ? wholeNumber(a, 1, "STR") : 10;
  const int32_t decimals = a.size() > 2 ? wholeNumber(a, 2, "STR") : 0;
  if (length < 1 || length > 255) err::fail(err::kOutOfRange, "STR length must be 1 to 255");
  return Value::Text(numeric::str(n, length, decimals < 0 ? 0 : decimals));
}

Value fnVal(const Args &a, Context &) {
  const numeric::Parsed p = numeric::val(need(a, 0, 'C', "VAL").text);
  return Value::Number(p.value, static_cast<int16_t>(10 + (p.decimals ? p.decimals + 1 : 0)),
                       p.decimals);
}

Value fnLen(const Args &a, Context &) {
  return integral(static_cast<double>(need(a, 0, 'C', "LEN").text.size()));
}

Value fnChr(const Args &a, Context &) {
  const int32_t code = wholeNumber(a, 0, "CHR");
  if (code < 0 || code > 255) err::fail(err::kOutOfRange, "CHR code must be 0 to 255");
  return Value::Text(std::string(1, static_cast<char>(code)));
}

Value fnAsc(const Args &a, Context &) {
  const std::string &s = need(a, 0, 'C', "ASC").text;
  return integral(s.empty() ? 0 : static_cast<unsigned char>(s[0]));
}

Value fnDate(const Args &, Context &) { return Value::Date(static_cast<double>(dates::today())); }

Value fnDtoc(const Args &a, Context &c) {
  return Value::Text(
      dates::format(dates::dayNumber(need(a, 0, 'D', "DTOC").number), c.dateSetting()));
}

Value fnCtod(const Args &a, Context &c) {
  return Value::Date(
      static_cast<double>(dates::parse(need(a, 0, 'C', "CTOD").text, c.dateSetting())));
}

Value fnSet(const Args &a, Context &c) {
  return Value::Text(c.setting(toUpper(trimLeft(trimRight(need(a, 0, 'C', "SET").text)))));
}

Value fnCreateObject(const Args &a, Context &c) {
  return Value::Object(c.createObject(need(a, 0, 'C', "CREATEOBJECT").text));
}

const std::map<std::string, Builtin> &table() {
  static const std::map<std::string, Builtin> kTable{
      {"LTRIM", {1, 1, fnLtrim}}, {"RTRIM", {1, 1, fnRtrim}},
      {"TRIM", {1, 1, fnRtrim}},  {"ALLTRIM", {1, 1, fnAlltrim}},
      {"UPPER", {1, 1, fnUpper}}, {"LOWER", {1, 1, fnLower}},
      {"STR", {1, 3, fnStr}},     {"VAL", {1, 1, fnVal}},
      {"LEN", {1, 1, fnLen}},     {"CHR", {1, 1, fnChr}},
      {"ASC", {1, 1, fnAsc}},     {"DATE", {0, 0, fnDate}},
      {"DTOC", {1, 1, fnDtoc}},   {"CTOD", {1, 1, fnCtod}},
      {"SET", {1, 1, fnSet}},     {"CREATEOBJECT", {1, 1, fnCreateObject}},
  };
  return kTable;
}

}  // namespace

bool isBuiltin(const std::string &name) { return table().count(name) != 0; }

Value callBuiltin(const std::string &name, const Args &args, Context &context) {
  const Builtin &b = table().at(name);
  if (args.size() < b.minArgs) err::fail(err::kTooFewArguments, "Too few arguments to " + name);
  if (args.size() > b.maxArgs) err::fail(err::kTooManyArguments, "Too many arguments to " + name);
  return b.fn(args, context);
}

}  // namespace foxhost::lang
