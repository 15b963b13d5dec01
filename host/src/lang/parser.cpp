#include "parser.hpp"

#include <cctype>

#include "../text.hpp"
#include "parse_support.hpp"

namespace foxhost::lang {
namespace {

ExprPtr binary(std::string op, ExprPtr lhs, ExprPtr rhs) {
  ExprPtr e = makeExpr(Expr::Kind::Binary);
  e->op = std::move(op);
  e->operands.push_back(std::move(lhs));
  e->operands.push_back(std::move(rhs));
  return e;
}

}  // namespace

const Token &Parser::peek() {
  if (!ahead_) ahead_ = lexer_.next();
  return *ahead_;
}

Token Parser::take() {
  Token t = peek();
  ahead_.reset();
  return t;
}

bool Parser::accept(std::string_view symbol) {
  if (!peek().is(TokenKind::Symbol, symbol)) return false;
  take();
  return true;
}

void Parser::expect(std::string_view symbol) {
  if (!accept(symbol)) unexpected();
}

void Parser::expectEnd() {
  if (peek().kind != TokenKind::End) unexpected();
}

void Parser::unexpected() {
  const Token &t = peek();
  if (t.kind == TokenKind::End) syntaxError("unexpected end of command");
  const std::string_view src = lexer_.source();
  const size_t end = lexer_.position();
  syntaxError("unexpected '" + std::string(trimBlanks(src.substr(t.position, end - t.position))) +
              "'");
}

// ---- expressions ------------------------------------------------------------------------------

ExprPtr Parser::parseExpressionOnly() {
  ExprPtr e = expression();
  expectEnd();
  return e;
}

// Counts one level of recursion of the parser for as long as it lives.
class Parser::Nesting {
 public:
  explicit Nesting(int &depth) : depth_(depth) {
    constexpr int kMaxDepth = 200;
    if (depth_ >= kMaxDepth) syntaxError("expression nested too deeply");
    ++depth_;
  }
  ~Nesting() { --depth_; }
  Nesting(const Nesting &) = delete;
  Nesting &operator=(const Nesting &) = delete;

 private:
  int &depth_;
};

ExprPtr Parser::expression() {
  const Nesting nesting(depth_);
  return orExpr();
}

ExprPtr Parser::orExpr() {
  ExprPtr e = andExpr();
  while (peek().kind == TokenKind::Or) {
    take();
    e = binary("OR", std::move(e), andExpr());
  }
  return e;
}

ExprPtr Parser::andExpr() {
  ExprPtr e = notExpr();
  while (peek().kind == TokenKind::And) {
    take();
    e = binary("AND", std::move(e), notExpr());
  }
  return e;
}

ExprPtr Parser::notExpr() {
  if (peek().kind == TokenKind::Not || peek().is(TokenKind::Symbol, "!")) {
    const Nesting nesting(depth_);
    take();
    ExprPtr e = makeExpr(Expr::Kind::Unary);
    e->op = "NOT";
    e->operands.push_back(notExpr());
    return e;
  }
  return comparison();
}

ExprPtr Parser::comparison() {
  ExprPtr e = additive();
  static constexpr std::string_view kOps[] = {"=", "==", "<>", "#", "!=", "<", ">", "<=", ">="};
  for (std::string_view op : kOps) {
    if (peek().is(TokenKind::Symbol, op)) {
      take();
      const std::string name = op == "#" || op == "!=" ? "<>" : std::string(op);
      return binary(name, std::move(e), additive());
    }
  }
  return e;
}

ExprPtr Parser::additive() {
  ExprPtr e = multiplicative();
  while (peek().is(TokenKind::Symbol, "+") || peek().is(TokenKind::Symbol, "-")) {
    const std::string op = take().text;
    e = binary(op, std::move(e), multiplicative());
  }
  return e;
}

ExprPtr Parser::multiplicative() {
  ExprPtr e = unary();
  while (peek().is(TokenKind::Symbol, "*") || peek().is(TokenKind::Symbol, "/") ||
         peek().is(TokenKind::Symbol, "%")) {
    const std::string op = take().text;
    e = binary(op, std::move(e), unary());
  }
  return e;
}

ExprPtr Parser::unary() {
  if (peek().is(TokenKind::Symbol, "-") || peek().is(TokenKind::Symbol, "+")) {
    const Nesting nesting(depth_);
    ExprPtr e = makeExpr(Expr::Kind::Unary);
    e->op = take().text;
    e->operands.push_back(unary());
    return e;
  }
  return postfix(primary());
}

ExprPtr Parser::postfix(ExprPtr base) {
  while (peek().is(TokenKind::Symbol, ".")) {
    take();
    if (peek().kind != TokenKind::Ident) unexpected();
    ExprPtr e = makeExpr(Expr::Kind::Property);
    e->name = toUpper(take().text);
    e->operands.push_back(std::move(base));
    base = std::move(e);
  }
  return base;
}

ExprPtr Parser::primary() {
  const Token t = peek();
  ExprPtr e = makeExpr(Expr::Kind::Literal);
  switch (t.kind) {
    case TokenKind::Number: {
      take();
      // A literal is as wide as an integer field plus its decimals.
      const auto width = static_cast<int16_t>(10 + (t.decimals ? t.decimals + 1 : 0));
      e->value = Value::Number(t.number, width, t.decimals);
      return e;
    }
    case TokenKind::String:
      take();
      e->value = Value::Text(t.text);
      return e;
    case TokenKind::Date:
      take();
      e->value = Value::Date(t.number);
      return e;
    case TokenKind::Logical:
      take();
      e->value = Value::Logical(t.logical);
      return e;
    case TokenKind::Ident: {
      take();
      if (accept("(")) {
        e->kind = Expr::Kind::Call;
        e->name = toUpper(t.text);
        if (!accept(")")) {
          do {
            e->operands.push_back(expression());
          } while (accept(","));
          expect(")");
        }
        return e;
      }
      e->kind = Expr::Kind::Variable;
      e->name = toUpper(t.text);
      return e;
    }
    default:
      break;
  }
  if (accept("(")) {
    ExprPtr inner = expression();
    expect(")");
    return inner;
  }
  unexpected();
}

}  // namespace foxhost::lang
