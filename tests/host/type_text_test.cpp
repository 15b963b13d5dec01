#include "type_text.hpp"

#include <gtest/gtest.h>

#include "errors.hpp"

namespace foxhost {
namespace {

Signature parse(const char *text, int count = 0) {
  std::string error;
  const auto sig = parseTypeText(text, count, error);
  EXPECT_TRUE(sig.has_value()) << error;
  return sig.value_or(Signature{});
}

std::string letters(const Signature &sig) {
  std::string out;
  for (const ParamSpec &p : sig.params) out += std::string(p.optional ? "." : "") + p.type;
  return out;
}

TEST(TypeText, CommaSeparatedRunTogetherAndOptional) {
  EXPECT_EQ(letters(parse("C,I,.I,.I")), "CI.I.I");
  EXPECT_EQ(parse("C,I,.I,.I").required, 2u);
  EXPECT_EQ(letters(parse("OC?")), "OC?");
  EXPECT_EQ(letters(parse(".C, .C, .I")), ".C.C.I");
  EXPECT_EQ(parse(".C, .C, .I").required, 0u);
  EXPECT_EQ(letters(parse("c.n")), "C.N");  // lower case is read as upper
  EXPECT_EQ(parse("").params.size(), 0u);
}

TEST(TypeText, EmptyTextTakesTheCount) {
  const Signature sig = parse("", 2);
  EXPECT_EQ(letters(sig), "??");
  EXPECT_EQ(sig.required, 2u);
  EXPECT_TRUE(parse(nullptr, -1).anyCount);
}

TEST(TypeText, RejectsUnknownLettersAndADanglingDot) {
  std::string error;
  EXPECT_FALSE(parseTypeText("C,X", 2, error));
  EXPECT_NE(error.find("'X'"), std::string::npos);
  EXPECT_FALSE(parseTypeText("C.", 1, error));
  EXPECT_FALSE(parseTypeText(std::string(28, 'C').c_str(), 28, error));
}

int errorNumber(const Signature &sig, const std::vector<Value> &args) {
  try {
    checkArguments(sig, "F", args);
  } catch (const HostError &e) {
    return e.number();
  }
  return 0;
}

TEST(TypeText, CountIsChecked) {
  const Signature sig = parse("C,.I");
  EXPECT_EQ(errorNumber(sig, {}), err::kTooFewArguments);
  EXPECT_EQ(errorNumber(sig, {Value::Text("a")}), 0);
  EXPECT_EQ(errorNumber(sig, {Value::Text("a"), Value::Integer(1)}), 0);
  EXPECT_EQ(errorNumber(sig, {Value::Text("a"), Value::Integer(1), Value::Integer(2)}),
            err::kTooManyArguments);
}

TEST(TypeText, TypesAreCheckedAndNumbersConverted) {
  const Signature sig = parse("C,I,N,L,O,D,?");
  const std::vector<Value> good{Value::Text("x"),     Value::Number(-7.9), Value::Integer(5),
                                Value::Logical(true), Value::Object(3),    Value::Date(2451545),
                                Value::Date(1)};
  const std::vector<Value> out = checkArguments(sig, "F", good);
  EXPECT_EQ(out[1].type, 'I');
  EXPECT_EQ(out[1].integer, -7);  // truncated toward zero
  EXPECT_EQ(out[2].type, 'N');
  EXPECT_EQ(out[2].number, 5);
  EXPECT_EQ(out[6].type, 'D');  // "?" passes any type unchanged
  for (size_t i = 0; i + 1 < good.size(); ++i) {
    std::vector<Value> bad = good;
    bad[i] = i == 0 ? Value::Logical(false) : Value::Text("wrong");
    EXPECT_EQ(errorNumber(sig, bad), err::kTypeMismatch) << "argument " << i + 1;
  }
}

TEST(TypeText, IntegerParameterRefusesNumbersOutOfRange) {
  const Signature sig = parse("I");
  EXPECT_EQ(errorNumber(sig, {Value::Number(3e9)}), err::kOutOfRange);
  EXPECT_EQ(errorNumber(sig, {Value::Number(-2147483648.0)}), 0);
}

TEST(TypeText, NothingIsNoArgument) {
  EXPECT_EQ(errorNumber(parse("?"), {Value{}}), err::kTypeMismatch);
}

TEST(TypeText, MessageNamesFunctionAndArgument) {
  try {
    checkArguments(parse("C,C"), "MAKE_TAG", {Value::Text("a"), Value::Number(1)});
    FAIL() << "no error";
  } catch (const HostError &e) {
    EXPECT_STREQ(e.what(), "Argument 2 of MAKE_TAG must be character, not number");
  }
}

}  // namespace
}  // namespace foxhost
