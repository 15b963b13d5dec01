// The parameter-type text of a function-table row and the check of a call's arguments against
// it, done before the library's entry is called.
//
// Letters C I N L O D, "?" for any type, comma-separated or run together ("C,I,.I" or "OC?");
// a "." before a letter makes that parameter optional. An I parameter takes a number (truncated
// toward zero, which must fit in 32 bits) and an N parameter takes an integer.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foxhost/host.hpp"

namespace foxhost {

struct ParamSpec {
  char type = '?';
  bool optional = false;
};

struct Signature {
  std::vector<ParamSpec> params;
  size_t required = 0;    // parameters that must be passed
  bool anyCount = false;  // no type text and a negative count: any number of any type
};

// Reads a row's type text and parameter count. An empty text means `parameters` values of any
// type. Returns nothing and sets `error` when the text holds something else than the above.
std::optional<Signature> parseTypeText(const char *text, int parameters, std::string &error);

// The arguments converted to what the parameters take; throws HostError on a wrong count or
// type, naming the function.
std::vector<Value> checkArguments(const Signature &signature, const std::string &function,
                                  const std::vector<Value> &args);

// "character", "integer", ... for messages.
std::string typeName(char type);

}  // namespace foxhost
