// Operators of the host's language on values. Integers stay integers under + - * while the
// result fits in 32 bits; any other numeric result is a number whose decimals follow its
// operands (the larger for + - and %, the sum for *, at least 2 for /).
#pragma once

#include <string>

#include "foxhost/host.hpp"

namespace foxhost::lang {

// + - * / % and the comparisons = == <> < > <= >=. Throws HostError on a type mismatch or a
// division by zero. Texts compare byte by byte; "=" is true when the left text starts with the
// right one, "==" only when both are the same.
Value binaryOp(const std::string &op, const Value &lhs, const Value &rhs);
// "-", "+", "NOT".
Value unaryOp(const std::string &op, const Value &operand);
// The truth of a logical value; throws HostError for any other type.
bool truth(const Value &value, const char *where);

}  // namespace foxhost::lang
