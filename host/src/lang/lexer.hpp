// Tokens of the host's command language, read on demand from one command line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace foxhost::lang {

enum class TokenKind {
  End,      // end of the line, or an "&&" comment
  Ident,    // a name, as written
  Number,   // number; `decimals` digits after the point
  String,   // '...', "..." or [...]
  Date,     // {^yyyy-mm-dd} or {}: `number` is the Julian day number (0 empty)
  Logical,  // .T. .F. .Y. .N.
  Symbol,   // + - * / % ( ) , . = == <> # != < > <= >= ? ?? !
  And,      // .AND.
  Or,       // .OR.
  Not,      // .NOT.
};

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;  // Ident and Symbol: as written; String: the contents
  double number = 0;
  unsigned decimals = 0;
  bool logical = false;
  size_t position = 0;  // offset of the token's first character

  bool is(TokenKind k, std::string_view symbol) const;  // Symbol with this text
  bool isWord(std::string_view upperWord) const;        // Ident, case-blind
};

class Lexer {
 public:
  explicit Lexer(std::string_view source) : source_(source) {}

  // Throws HostError (syntax) on an unterminated string, a bad date literal or a stray
  // character.
  Token next();
  // Offset of the first character not read yet.
  size_t position() const { return pos_; }
  std::string_view source() const { return source_; }

 private:
  void skipBlanks();
  Token dotToken(size_t start);
  Token numberToken(size_t start);
  Token stringToken(size_t start, char close);
  Token dateToken(size_t start);

  std::string_view source_;
  size_t pos_ = 0;
};

}  // namespace foxhost::lang
