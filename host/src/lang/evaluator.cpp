#include "evaluator.hpp"

#include "../errors.hpp"
#include "builtins.hpp"
#include "operators.hpp"

namespace foxhost::lang {

Value evaluate(const Expr &e, Context &context) {
  switch (e.kind) {
    case Expr::Kind::Literal:
      return e.value;
    case Expr::Kind::Variable:
      return context.variable(e.name);
    case Expr::Kind::Property:
      return context.property(evaluate(*e.operands[0], context), e.name);
    case Expr::Kind::Call: {
      std::vector<Value> args;
      args.reserve(e.operands.size());
      for (const ExprPtr &arg : e.operands) args.push_back(evaluate(*arg, context));
      if (isBuiltin(e.name)) return callBuiltin(e.name, args, context);
      return context.callLibrary(e.name, args);
    }
    case Expr::Kind::Unary:
      return unaryOp(e.op, evaluate(*e.operands[0], context));
    case Expr::Kind::Binary:
      if (e.op == "AND" || e.op == "OR") {
        const bool left = truth(evaluate(*e.operands[0], context), e.op.c_str());
        if (left == (e.op == "OR")) return Value::Logical(left);
        return Value::Logical(truth(evaluate(*e.operands[1], context), e.op.c_str()));
      }
      return binaryOp(e.op, evaluate(*e.operands[0], context), evaluate(*e.operands[1], context));
  }
  return {};
}

void run(const Statement &s, Context &context, bool interactive) {
  switch (s.kind) {
    case Statement::Kind::Nothing:
      return;
    case Statement::Kind::Print: {
      std::string line;
      const std::string setting = context.dateSetting();
      for (size_t i = 0; i < s.exprs.size(); ++i) {
        if (i) line += ' ';
        line += evaluate(*s.exprs[i], context).display(setting);
      }
      context.print(s.newline ? line + "\n" : line);
      return;
    }
    case Statement::Kind::WaitWindow: {
      std::optional<std::string> text;
      if (!s.exprs.empty()) text = evaluate(*s.exprs[0], context).display(context.dateSetting());
      context.waitWindow(text, s.nowait);
      return;
    }
    case Statement::Kind::WaitClear:
      context.waitClear();
      return;
    case Statement::Kind::SetDate:
      context.setDateSetting(s.word);
      return;
    case Statement::Kind::SetLibrary:
      context.setLibrary(s.word, s.additive);
      return;
    case Statement::Kind::Assign: {
      const Value value = evaluate(*s.exprs[0], context);
      if (s.target) {
        context.setProperty(evaluate(*s.target->operands[0], context), s.target->name, value);
      } else {
        context.setVariable(s.names[0], value);
      }
      return;
    }
    case Statement::Kind::Store: {
      const Value value = evaluate(*s.exprs[0], context);
      for (const std::string &name : s.names) context.setVariable(name, value);
      return;
    }
    case Statement::Kind::Evaluate: {
      if (!interactive && !s.bareCall && !s.explicitEvaluate) {
        err::fail(err::kSyntax, "Syntax error: unrecognized command");
      }
      const Value value = evaluate(*s.exprs[0], context);
      // A call whose library set no result prints nothing.
      if (interactive && !s.explicitEvaluate && value.type != 0) {
        context.print(value.display(context.dateSetting()) + "\n");
      }
      return;
    }
    case Statement::Kind::Quit:
      context.quit();
      return;
  }
}

}  // namespace foxhost::lang
