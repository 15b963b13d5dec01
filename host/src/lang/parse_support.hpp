// Small helpers shared by the expression and statement parsers.
#pragma once

#include <cctype>
#include <memory>
#include <string>
#include <string_view>

#include "../errors.hpp"
#include "ast.hpp"

namespace foxhost::lang {

[[noreturn]] inline void syntaxError(const std::string &what) {
  err::fail(err::kSyntax, "Syntax error: " + what);
}

inline std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

inline ExprPtr makeExpr(Expr::Kind kind) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  return e;
}

}  // namespace foxhost::lang
