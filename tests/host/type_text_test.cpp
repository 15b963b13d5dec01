#include "type_text.hpp"

#include <gtest/gtest.h>

#include "errors.hpp"

namespace foxhost {
namespace {

// The parameters a type text declares, "." before an optional one; "!" when it is refused.
std::string read(const char *text, int count) {
  std::string error;
  const auto sig = parseTypeText(text, count, error);
  if (!sig) return "!" + error;
  std::string out = sig->anyCount ? "any" : std::to_string(sig->required) + ":";
  for (const ParamSpec &p : sig->params) out += std::string(p.optional ? "." : "") + p.type;
  return out;
}

TEST(TypeText, ParsesLettersOptionalsAndCounts) {
  const struct {
    const char *text;
    int count;
    const char *read;
  } cases[] = {
      {"C,I,.I,.I", 4, "2:CI.I.I"},
      {"OC?", 3, "3:OC?"},
      {".C, .C, .I", 3, "0:.C.C.I"},
      {"c.n", 2, "1:C.N"},  // lower case is read as upper
      {"", 0, "0:"},
      {"", 2, "2:??"},  // an empty text takes the count
      {nullptr, -1, "any"},
      {"C,X", 2, "!'X'"},
      {"C.", 1, "!"},
  };
  for (const auto &c : cases) {
    const std::string got = read(c.text, c.count);
    if (c.read[0] == '!') {
      EXPECT_EQ(got.rfind("!", 0), 0u) << c.text;
      EXPECT_NE(got.find(c.read + 1), std::string::npos) << got;
    } else {
      EXPECT_EQ(got, c.read) << (c.text ? c.text : "null");
    }
  }
  EXPECT_EQ(read(std::string(28, 'C').c_str(), 28)[0], '!');  // too many parameters
}

TEST(TypeText, ArgumentsAreCheckedAndNumbersConverted) {
  std::string error;
  const Signature sig = *parseTypeText("C,I,N,L,O,D,?", 7, error);
  const std::vector<Value> good{Value::Text("x"),     Value::Number(-7.9), Value::Integer(5),
                                Value::Logical(true), Value::Object(3),    Value::Date(2451545),
                                Value::Date(1)};
  const std::vector<Value> out = checkArguments(sig, "F", good);
  EXPECT_EQ(out[1].type, 'I');
  EXPECT_EQ(out[1].integer, -7);  // truncated toward zero
  EXPECT_EQ(out[2].type, 'N');
  EXPECT_EQ(out[2].number, 5);
  EXPECT_EQ(out[6].type, 'D');  // "?" passes any type unchanged
  const auto errorOf = [](const char *text, const std::vector<Value> &args) {
    std::string e;
    try {
      checkArguments(*parseTypeText(text, 0, e), "MAKE_TAG", args);
    } catch (const HostError &h) {
      return std::to_string(h.number()) + " " + h.what();
    }
    return std::string("none");
  };
  for (size_t i = 0; i + 1 < good.size(); ++i) {
    std::vector<Value> bad = good;
    bad[i] = i == 0 ? Value::Logical(false) : Value::Text("wrong");
    EXPECT_EQ(errorOf("C,I,N,L,O,D,?", bad).rfind(std::to_string(err::kTypeMismatch), 0), 0u) << i;
  }
  EXPECT_EQ(
      errorOf("C,C", {Value::Text("a"), Value::Number(1)}),
      std::to_string(err::kTypeMismatch) + " Argument 2 of MAKE_TAG must be character, not number");
  EXPECT_EQ(errorOf("I", {Value::Number(3e9)}).rfind(std::to_string(err::kOutOfRange), 0), 0u);
  EXPECT_EQ(errorOf("I", {Value::Number(-2147483648.0)}), "none");
  EXPECT_EQ(errorOf("?", {Value{}}).rfind(std::to_string(err::kTypeMismatch), 0), 0u);
  EXPECT_EQ(errorOf("C,.I", {}).rfind(std::to_string(err::kTooFewArguments), 0), 0u);
  EXPECT_EQ(errorOf("C,.I", {Value::Text("a"), Value::Integer(1), Value::Integer(2)})
                .rfind(std::to_string(err::kTooManyArguments), 0),
            0u);
}

}  // namespace
}  // namespace foxhost
