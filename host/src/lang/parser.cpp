#include "parser.hpp"

#include <cctype>

#include "../dates.hpp"
#include "../errors.hpp"
#include "../text.hpp"

namespace foxhost::lang {
namespace {

[[noreturn]] void syntax(const std::string &what) { err::fail(err::kSyntax, "Syntax error: " + what); }

ExprPtr makeExpr(Expr::Kind kind) {
  auto e = std::make_unique<Expr>();
  e->kind = kind;
  return e;
}

ExprPtr binary(std::string op, ExprPtr lhs, ExprPtr rhs) {
  ExprPtr e = makeExpr(Expr::Kind::Binary);
  e->op = std::move(op);
  e->operands.push_back(std::move(lhs));
  e->operands.push_back(std::move(rhs));
  return e;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
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
  if (t.kind == TokenKind::End) syntax("unexpected end of command");
  const std::string_view src = lexer_.source();
  const size_t end = lexer_.position();
  syntax("unexpected '" + std::string(trim(src.substr(t.position, end - t.position))) + "'");
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
    if (depth_ >= kMaxDepth) syntax("expression nested too deeply");
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

// ---- statements -------------------------------------------------------------------------------

Statement Parser::parseStatement() {
  Statement s;
  const std::string_view src = trim(lexer_.source());
  if (src.empty() || src.front() == '*') return s;
  const Token first = peek();
  if (first.kind == TokenKind::End || first.isWord("NOTE")) return s;
  if (first.is(TokenKind::Symbol, "?")) {
    take();
    return printStatement(true);
  }
  if (first.is(TokenKind::Symbol, "??")) {
    take();
    return printStatement(false);
  }
  if (first.is(TokenKind::Symbol, "=")) {
    take();
    s.kind = Statement::Kind::Evaluate;
    s.explicitEvaluate = true;
    s.exprs.push_back(expression());
    expectEnd();
    return s;
  }
  if (first.kind == TokenKind::Ident) {
    // A keyword only when what follows cannot make the word a name.
    Lexer after = lexer_;
    const Token second = after.next();
    const bool nameUse = second.is(TokenKind::Symbol, "=") || second.is(TokenKind::Symbol, "(") ||
                         second.is(TokenKind::Symbol, ".");
    if (!nameUse) {
      const std::string word = toUpper(first.text);
      if (word == "WAIT" || word == "SET" || word == "STORE" || word == "QUIT") take();
      if (word == "WAIT") return waitStatement();
      if (word == "SET") return setStatement();
      if (word == "STORE") return storeStatement();
      if (word == "QUIT") {
        expectEnd();
        s.kind = Statement::Kind::Quit;
        return s;
      }
    }
    // An assignment when a name or a property is followed by "=".
    const Lexer saved = lexer_;
    const std::optional<Token> savedAhead = ahead_;
    take();
    ExprPtr target = makeExpr(Expr::Kind::Variable);
    target->name = toUpper(first.text);
    target = postfix(std::move(target));
    if (accept("=")) {
      s.kind = Statement::Kind::Assign;
      if (target->kind == Expr::Kind::Variable) {
        s.names.push_back(target->name);
      } else {
        s.target = std::move(target);
      }
      s.exprs.push_back(expression());
      expectEnd();
      return s;
    }
    lexer_ = saved;
    ahead_ = savedAhead;
  }
  s.kind = Statement::Kind::Evaluate;
  s.exprs.push_back(expression());
  s.bareCall = s.exprs.front()->kind == Expr::Kind::Call;
  expectEnd();
  return s;
}

Statement Parser::waitStatement() {
  Statement s;
  if (peek().isWord("CLEAR")) {
    take();
    expectEnd();
    s.kind = Statement::Kind::WaitClear;
    return s;
  }
  if (!peek().isWord("WINDOW")) unexpected();
  take();
  s.kind = Statement::Kind::WaitWindow;
  if (peek().kind != TokenKind::End && !peek().isWord("NOWAIT")) s.exprs.push_back(expression());
  if (peek().isWord("NOWAIT")) {
    take();
    s.nowait = true;
  }
  expectEnd();
  return s;
}

Statement Parser::setStatement() {
  Statement s;
  if (peek().isWord("DATE")) {
    take();
    if (peek().isWord("TO")) take();
    if (peek().kind != TokenKind::Ident) unexpected();
    const Token word = take();
    const auto name = dates::settingName(word.text);
    if (!name) syntax("unknown date setting '" + word.text + "'");
    expectEnd();
    s.kind = Statement::Kind::SetDate;
    s.word = *name;
    return s;
  }
  if (peek().isWord("LIBRARY")) {
    take();
    if (!peek().isWord("TO")) unexpected();
    take();
    s.kind = Statement::Kind::SetLibrary;
    std::string rest = restOfLine();
    const std::string up = toUpper(rest);
    constexpr std::string_view kAdditive = "ADDITIVE";
    if (up.size() >= kAdditive.size() && up.compare(up.size() - kAdditive.size(), kAdditive.size(), kAdditive) == 0 &&
        (up.size() == kAdditive.size() ||
         std::isspace(static_cast<unsigned char>(up[up.size() - kAdditive.size() - 1])))) {
      s.additive = true;
      rest = std::string(trim(std::string_view(rest).substr(0, rest.size() - kAdditive.size())));
    }
    if (!rest.empty() && (rest.front() == '\'' || rest.front() == '"' || rest.front() == '[')) {
      Lexer quoted(rest);
      const Token t = quoted.next();
      if (t.kind != TokenKind::String || quoted.next().kind != TokenKind::End) {
        syntax("invalid library path " + rest);
      }
      rest = t.text;
    }
    s.word = rest;
    return s;
  }
  if (peek().kind == TokenKind::End) syntax("SET needs an option");
  syntax("unknown SET option '" + peek().text + "'");
}

Statement Parser::storeStatement() {
  Statement s;
  s.kind = Statement::Kind::Store;
  s.exprs.push_back(expression());
  if (!peek().isWord("TO")) unexpected();
  take();
  do {
    if (peek().kind != TokenKind::Ident) unexpected();
    s.names.push_back(toUpper(take().text));
  } while (accept(","));
  expectEnd();
  return s;
}

Statement Parser::printStatement(bool newline) {
  Statement s;
  s.kind = Statement::Kind::Print;
  s.newline = newline;
  if (peek().kind != TokenKind::End) {
    do {
      s.exprs.push_back(expression());
    } while (accept(","));
  }
  expectEnd();
  return s;
}

std::string Parser::restOfLine() {
  std::string_view rest = lexer_.source().substr(lexer_.position());
  const size_t comment = rest.find("&&");
  if (comment != std::string_view::npos) rest = rest.substr(0, comment);
  lexer_ = Lexer({});
  ahead_.reset();
  return std::string(trim(rest));
}

}  // namespace foxhost::lang
