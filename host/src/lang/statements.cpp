// Statements of the command language; expressions are in parser.cpp.
#include <cctype>

#include "../dates.hpp"
#include "../text.hpp"
#include "parse_support.hpp"
#include "parser.hpp"

namespace foxhost::lang {

Statement Parser::parseStatement() {
  Statement s;
  const std::string_view src = trimBlanks(lexer_.source());
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
    if (!name) syntaxError("unknown date setting '" + word.text + "'");
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
    if (up.size() >= kAdditive.size() &&
        up.compare(up.size() - kAdditive.size(), kAdditive.size(), kAdditive) == 0 &&
        (up.size() == kAdditive.size() ||
         std::isspace(static_cast<unsigned char>(up[up.size() - kAdditive.size() - 1])))) {
      s.additive = true;
      rest =
          std::string(trimBlanks(std::string_view(rest).substr(0, rest.size() - kAdditive.size())));
    }
    if (!rest.empty() && (rest.front() == '\'' || rest.front() == '"' || rest.front() == '[')) {
      Lexer quoted(rest);
      const Token t = quoted.next();
      if (t.kind != TokenKind::String || quoted.next().kind != TokenKind::End) {
        syntaxError("invalid library path " + rest);
      }
      rest = t.text;
    }
    s.word = rest;
    return s;
  }
  if (peek().kind == TokenKind::End) syntaxError("SET needs an option");
  syntaxError("unknown SET option '" + peek().text + "'");
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
  return std::string(trimBlanks(rest));
}

}  // namespace foxhost::lang
