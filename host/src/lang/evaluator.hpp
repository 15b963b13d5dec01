// Evaluation of expressions and execution of statements against a Context.
#pragma once

#include "ast.hpp"
#include "context.hpp"

namespace foxhost::lang {

Value evaluate(const Expr &expr, Context &context);

// Runs one statement. A bare expression is accepted only when it is a function call or
// written as "= expr", unless `interactive`, where any expression is accepted and its value
// printed.
void run(const Statement &statement, Context &context, bool interactive);

}  // namespace foxhost::lang
