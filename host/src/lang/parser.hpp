// Parser of the host's command language: one command line at a time. Errors are HostError
// with the syntax error number.
#pragma once

#include <optional>
#include <string_view>

#include "ast.hpp"
#include "lexer.hpp"

namespace foxhost::lang {

class Parser {
 public:
  explicit Parser(std::string_view source) : lexer_(source) {}

  // The whole source as one expression.
  ExprPtr parseExpressionOnly();
  // The whole source as one statement.
  Statement parseStatement();

 private:
  const Token &peek();
  Token take();
  bool accept(std::string_view symbol);
  void expect(std::string_view symbol);
  void expectEnd();
  [[noreturn]] void unexpected();

  ExprPtr expression();
  ExprPtr orExpr();
  ExprPtr andExpr();
  ExprPtr notExpr();
  ExprPtr comparison();
  ExprPtr additive();
  ExprPtr multiplicative();
  ExprPtr unary();
  ExprPtr postfix(ExprPtr base);
  ExprPtr primary();

  Statement waitStatement();
  Statement setStatement();
  Statement storeStatement();
  Statement printStatement(bool newline);
  std::string restOfLine();

  class Nesting;

  Lexer lexer_;
  std::optional<Token> ahead_;
  int depth_ = 0;  // nesting of expression(), bounded so that no input can exhaust the stack
};

}  // namespace foxhost::lang
