// Built-in functions of the host's language: LTRIM RTRIM TRIM ALLTRIM UPPER LOWER STR VAL LEN
// CHR ASC DATE DTOC CTOD SET CREATEOBJECT.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "context.hpp"
#include "foxhost/host.hpp"

namespace foxhost::lang {

bool isBuiltin(const std::string &upperName);
// Calls a built-in function; throws HostError on a wrong argument count or type.
Value callBuiltin(const std::string &upperName, const std::vector<Value> &args, Context &context);

}  // namespace foxhost::lang
