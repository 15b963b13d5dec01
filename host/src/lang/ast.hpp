// Parsed expressions and statements of the host's command language.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "foxhost/host.hpp"

namespace foxhost::lang {

struct Expr;
using ExprPtr = std::unique_ptr<Expr>;

struct Expr {
  enum class Kind {
    Literal,   // value
    Variable,  // name
    Property,  // operands[0] . name
    Call,      // name ( operands )
    Unary,     // op operands[0]: "-", "+", "NOT"
    Binary,    // operands[0] op operands[1]: + - * / % = == <> < > <= >= AND OR
  };
  Kind kind = Kind::Literal;
  Value value;
  std::string name;  // upper case
  std::string op;
  std::vector<ExprPtr> operands;
};

struct Statement {
  enum class Kind {
    Nothing,     // empty line or comment
    Print,       // ? / ?? exprs (newline: `?`)
    WaitWindow,  // WAIT WINDOW [expr] [NOWAIT]
    WaitClear,   // WAIT CLEAR
    SetDate,     // SET DATE [TO] word
    SetLibrary,  // SET LIBRARY TO [path] [ADDITIVE]
    Assign,      // name = expr, or obj.PROP = expr (target)
    Store,       // STORE expr TO names
    Evaluate,    // = expr, or an expression on its own
    Quit,        // QUIT
  };
  Kind kind = Kind::Nothing;
  std::vector<ExprPtr> exprs;
  std::vector<std::string> names;  // upper case
  ExprPtr target;                  // Assign to a property: the Property expression
  std::string word;                // SetDate: the setting; SetLibrary: the path
  bool newline = true;             // Print
  bool nowait = false;             // WaitWindow
  bool additive = false;           // SetLibrary
  bool bareCall = false;           // Evaluate: the expression is a function call written alone
  bool explicitEvaluate = false;   // Evaluate: written as "= expr"
};

}  // namespace foxhost::lang
