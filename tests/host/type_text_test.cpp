#include "type_text.hpp"

#include <gtest/gtest.h>

#include "errors.hpp"

namespace foxhost {
namespace {

// The parameters a type text declares, "." before an optional one; "!" and the error when refused.
std::string read(const char *text, int count) {
  std::string error;
  const auto sig = parseTypeText(text, count, error);
  if (!sig) return "!" + error;
  std::string out = sig->anyCount ? "any" : std::to_string(sig->required) + ":";
  for (const ParamSpec &p : sig->params) out += std::string(p.optional ? "." : "") + p.type;
  return out;
}

// Lower case is read as upper; an empty text takes the count; no text takes any count.
TEST(TypeText, ParsesLettersOptionalsAndCounts) {
  const std::string many(28, 'C');
  const struct {
    const char *text;
    int count;
    std::string read;
  } cases[] = {
      {"C,I,.I,.I", 4, "2:CI.I.I"},
      {"c.n", 2, "1:C.N"},
      {".C, .C, .I", 3, "0:.C.C.I"},
      {"", 2, "2:??"},
      {nullptr, -1, "any"},
      {"C,X", 2, "!invalid type letter 'X' in \"C,X\""},
      {"C.", 1, "!type text \"C.\" ends with '.'"},
      {"", 28, "!parameter count 28 is more than 27"},
      {many.c_str(), 28, "!type text \"" + many + "\" has more than 27 parameters"},
  };
  for (const auto &c : cases) EXPECT_EQ(read(c.text, c.count), c.read);
}

// Arguments against a type text: "none" or the error's number and message; "?" passes any value
// (the conversions themselves are the marshalling test's).
TEST(TypeText, ArgumentsAreCheckedAndNumbersConverted) {
  const auto errorOf = [](const char *text, const std::vector<Value> &args) {
    std::string e;
    try {
      checkArguments(*parseTypeText(text, 0, e), "F", args);
    } catch (const HostError &h) {
      return std::to_string(h.number()) + " " + h.what();
    }
    return std::string("none");
  };
  const std::string mismatch = std::to_string(err::kTypeMismatch) + " Argument ";
  const std::tuple<const char *, std::vector<Value>, std::string> cases[] = {
      {"C,I,N,L,O,D,?",
       {Value::Text("x"), Value::Number(-7.9), Value::Integer(5), Value::Logical(true),
        Value::Object(3), Value::Date(2451545), Value::Date(1)},
       "none"},
      {"C,C",
       {Value::Text("a"), Value::Number(1)},
       mismatch + "2 of F must be character, not number"},
      {"L", {Value::Date(1)}, mismatch + "1 of F must be logical, not date"},
      {"I", {Value::Text("7")}, mismatch + "1 of F must be integer, not character"},
      {"N", {Value::Text("7")}, mismatch + "1 of F must be number, not character"},
      {"O", {Value::Integer(1)}, mismatch + "1 of F must be object, not integer"},
      {"D", {Value::Logical(true)}, mismatch + "1 of F must be date, not logical"},
      {"?", {Value{}}, mismatch + "1 of F must be any type, not no value"},
      {"I", {Value::Number(3e9)}, "11 Argument 1 of F does not fit in an integer"},
      {"I", {Value::Number(-2147483648.0)}, "none"},
      {"C,.I", {}, std::to_string(err::kTooFewArguments) + " Too few arguments"},
      {"C,.I",
       {Value::Text("a"), Value::Integer(1), Value::Integer(2)},
       std::to_string(err::kTooManyArguments) + " Too many arguments"},
  };
  for (const auto &[text, args, error] : cases) {
    EXPECT_EQ(errorOf(text, args).substr(0, error.size()), error) << text;
  }
}

}  // namespace
}  // namespace foxhost
