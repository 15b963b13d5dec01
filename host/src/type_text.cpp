#include "type_text.hpp"

#include <cctype>
#include <cmath>
#include <cstring>

#include "errors.hpp"

namespace foxhost {

std::string typeName(char type) {
  switch (type) {
    case 'C':
      return "character";
    case 'I':
      return "integer";
    case 'N':
      return "number";
    case 'L':
      return "logical";
    case 'O':
      return "object";
    case 'D':
      return "date";
    case '?':
      return "any type";
    default:
      return "no value";
  }
}

std::optional<Signature> parseTypeText(const char *text, int parameters, std::string &error) {
  Signature sig;
  if (!text || !*text) {
    if (parameters < 0) {
      sig.anyCount = true;
      return sig;
    }
    if (parameters > FOX_MAX_PARAMS) {
      error = "parameter count " + std::to_string(parameters) + " is more than " +
              std::to_string(FOX_MAX_PARAMS);
      return std::nullopt;
    }
    sig.params.assign(static_cast<size_t>(parameters), ParamSpec{});
    sig.required = sig.params.size();
    return sig;
  }
  bool optional = false;
  for (const char *p = text; *p; ++p) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    if (c == ',' || c == ' ') continue;
    if (c == '.') {
      optional = true;
      continue;
    }
    if (!std::strchr("CINLOD?", c)) {
      error = std::string("invalid type letter '") + *p + "' in \"" + text + "\"";
      return std::nullopt;
    }
    sig.params.push_back({c, optional});
    if (!optional) sig.required = sig.params.size();
    optional = false;
  }
  if (optional) {
    error = std::string("type text \"") + text + "\" ends with '.'";
    return std::nullopt;
  }
  if (sig.params.size() > FOX_MAX_PARAMS) {
    error = std::string("type text \"") + text + "\" has more than " +
            std::to_string(FOX_MAX_PARAMS) + " parameters";
    return std::nullopt;
  }
  return sig;
}

namespace {
Value convert(const ParamSpec &spec, const Value &arg, const std::string &function, size_t index) {
  const auto mismatch = [&] {
    err::fail(err::kTypeMismatch, "Argument " + std::to_string(index + 1) + " of " + function +
                                      " must be " + typeName(spec.type) + ", not " +
                                      typeName(arg.type));
  };
  if (arg.type == 0) mismatch();
  if (spec.type == '?' || spec.type == arg.type) return arg;
  if (spec.type == 'I' && arg.type == 'N') {
    const double t = std::trunc(arg.number);
    if (!(t >= -2147483648.0 && t <= 2147483647.0)) {
      err::fail(err::kOutOfRange, "Argument " + std::to_string(index + 1) + " of " + function +
                                      " does not fit in an integer");
    }
    return Value::Integer(static_cast<int32_t>(t), arg.width > 0 ? arg.width : 10);
  }
  if (spec.type == 'N' && arg.type == 'I') {
    return Value::Number(arg.integer, arg.width > 0 ? arg.width : 10, 0);
  }
  mismatch();
  return arg;
}
}  // namespace

std::vector<Value> checkArguments(const Signature &sig, const std::string &function,
                                  const std::vector<Value> &args) {
  if (sig.anyCount) {
    if (args.size() > FOX_MAX_PARAMS) {
      err::fail(err::kTooManyArguments, "Too many arguments to " + function);
    }
    return args;
  }
  if (args.size() > sig.params.size()) {
    err::fail(err::kTooManyArguments, "Too many arguments to " + function + ": it takes at most " +
                                          std::to_string(sig.params.size()));
  }
  if (args.size() < sig.required) {
    err::fail(err::kTooFewArguments,
              "Too few arguments to " + function + ": it needs " + std::to_string(sig.required));
  }
  std::vector<Value> out;
  out.reserve(args.size());
  for (size_t i = 0; i < args.size(); ++i)
    out.push_back(convert(sig.params[i], args[i], function, i));
  return out;
}

}  // namespace foxhost
