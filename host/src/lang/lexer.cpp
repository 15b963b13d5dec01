#include "lexer.hpp"

#include <cctype>
#include <cstdlib>

#include "../dates.hpp"
#include "../errors.hpp"
#include "../text.hpp"

namespace foxhost::lang {
namespace {

bool isDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }
bool isNameStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool isNameChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

[[noreturn]] void syntax(const std::string &what) {
  err::fail(err::kSyntax, "Syntax error: " + what);
}

}  // namespace

bool Token::is(TokenKind k, std::string_view symbol) const { return kind == k && text == symbol; }

bool Token::isWord(std::string_view upperWord) const {
  return kind == TokenKind::Ident && toUpper(text) == upperWord;
}

void Lexer::skipBlanks() {
  while (pos_ < source_.size() && (source_[pos_] == ' ' || source_[pos_] == '\t' ||
                                   source_[pos_] == '\r' || source_[pos_] == '\n')) {
    ++pos_;
  }
}

Token Lexer::next() {
  skipBlanks();
  const size_t start = pos_;
  Token t;
  t.position = start;
  if (pos_ >= source_.size()) return t;
  const char c = source_[pos_];
  if (c == '&' && pos_ + 1 < source_.size() && source_[pos_ + 1] == '&') {
    pos_ = source_.size();
    return t;
  }
  if (isNameStart(c)) {
    while (pos_ < source_.size() && isNameChar(source_[pos_])) ++pos_;
    t.kind = TokenKind::Ident;
    t.text = std::string(source_.substr(start, pos_ - start));
    return t;
  }
  if (isDigit(c)) return numberToken(start);
  if (c == '.') return dotToken(start);
  if (c == '\'' || c == '"') return stringToken(start, c);
  if (c == '[') return stringToken(start, ']');
  if (c == '{') return dateToken(start);
  static constexpr std::string_view kTwo[] = {"==", "<>", "!=", "<=", ">=", "??"};
  for (std::string_view two : kTwo) {
    if (source_.substr(pos_, 2) == two) {
      pos_ += 2;
      t.kind = TokenKind::Symbol;
      t.text = std::string(two);
      return t;
    }
  }
  if (std::string_view("+-*/%(),=#<>?!").find(c) != std::string_view::npos) {
    ++pos_;
    t.kind = TokenKind::Symbol;
    t.text = std::string(1, c);
    return t;
  }
  syntax(std::string("unexpected character '") + c + "'");
}

Token Lexer::dotToken(size_t start) {
  Token t;
  t.position = start;
  if (pos_ + 1 < source_.size() && isDigit(source_[pos_ + 1])) return numberToken(start);
  // .T. .F. .Y. .N. .AND. .OR. .NOT.
  size_t end = pos_ + 1;
  while (end < source_.size() && std::isalpha(static_cast<unsigned char>(source_[end]))) ++end;
  if (end < source_.size() && source_[end] == '.' && end > pos_ + 1) {
    const std::string word = toUpper(source_.substr(pos_ + 1, end - pos_ - 1));
    TokenKind kind = TokenKind::End;
    if (word == "T" || word == "Y" || word == "F" || word == "N") {
      kind = TokenKind::Logical;
      t.logical = word == "T" || word == "Y";
    } else if (word == "AND") {
      kind = TokenKind::And;
    } else if (word == "OR") {
      kind = TokenKind::Or;
    } else if (word == "NOT") {
      kind = TokenKind::Not;
    }
    if (kind != TokenKind::End) {
      pos_ = end + 1;
      t.kind = kind;
      t.text = word;
      return t;
    }
  }
  ++pos_;
  t.kind = TokenKind::Symbol;
  t.text = ".";
  return t;
}

Token Lexer::numberToken(size_t start) {
  Token t;
  t.position = start;
  t.kind = TokenKind::Number;
  while (pos_ < source_.size() && isDigit(source_[pos_])) ++pos_;
  if (pos_ < source_.size() && source_[pos_] == '.' && pos_ + 1 < source_.size() &&
      isDigit(source_[pos_ + 1])) {
    ++pos_;
    while (pos_ < source_.size() && isDigit(source_[pos_])) {
      ++pos_;
      ++t.decimals;
    }
  }
  t.text = std::string(source_.substr(start, pos_ - start));
  t.number = std::strtod(t.text.c_str(), nullptr);
  return t;
}

Token Lexer::stringToken(size_t start, char close) {
  const size_t end = source_.find(close, pos_ + 1);
  if (end == std::string_view::npos) syntax("unterminated string");
  Token t;
  t.position = start;
  t.kind = TokenKind::String;
  t.text = std::string(source_.substr(pos_ + 1, end - pos_ - 1));
  pos_ = end + 1;
  return t;
}

Token Lexer::dateToken(size_t start) {
  const size_t end = source_.find('}', pos_);
  if (end == std::string_view::npos) syntax("unterminated date literal");
  std::string_view body = source_.substr(pos_ + 1, end - pos_ - 1);
  while (!body.empty() && body.front() == ' ') body.remove_prefix(1);
  while (!body.empty() && body.back() == ' ') body.remove_suffix(1);
  Token t;
  t.position = start;
  t.kind = TokenKind::Date;
  if (!body.empty()) {
    if (body.front() != '^') syntax("date literal must read {^yyyy-mm-dd}");
    t.number = static_cast<double>(dates::parse(body.substr(1), "YMD"));
    if (t.number == 0) syntax("invalid date literal {" + std::string(body) + "}");
  }
  pos_ = end + 1;
  return t;
}

}  // namespace foxhost::lang
