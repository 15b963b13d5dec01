// The host's own error numbers and the helpers that build their messages. Every host error is
// thrown as foxhost::HostError; the number is what a library sees as a service's status.
#pragma once

#include <cstdint>
#include <string>

#include "foxext.h"
#include "foxhost/host.hpp"

namespace foxhost::err {

constexpr int32_t kFileNotFound = 1;       // a library file that does not exist
constexpr int32_t kTypeMismatch = 9;       // operands or arguments of the wrong type
constexpr int32_t kSyntax = 10;            // a command or expression that does not parse
constexpr int32_t kVariableNotFound = 12;  // a name with no variable behind it
constexpr int32_t kOutOfRange = 11;        // an argument outside its range
constexpr int32_t kTooFewArguments = 1229;
constexpr int32_t kTooManyArguments = 1230;
constexpr int32_t kFunctionNotFound = 1231;
constexpr int32_t kPropertyNotFound = 1734;
constexpr int32_t kClassNotFound = 1733;
constexpr int32_t kNotAnObject = 1924;
constexpr int32_t kInvalidLibrary = 1753;  // not a library, no entry, start-up failed, bad table
constexpr int32_t kLibraryInUse = 1754;    // the library is loaded by another host in this process
constexpr int32_t kInvalidHandle = 1755;   // a handle service on a handle the host never gave out
constexpr int32_t kInvalidService = 1756;  // an unknown service code or malformed service arguments
constexpr int32_t kNoCall = 1757;          // a call-only service used outside a library call
constexpr int32_t kDivisionByZero = 1307;
constexpr int32_t kNumericOverflow = 39;
constexpr int32_t kNoMemory = FOX_ERR_NO_MEMORY;
constexpr int32_t kUser = FOX_ERR_USER;

// The message of a host error raised by a library through service 83.
std::string raisedErrorMessage(int32_t number);

[[noreturn]] inline void fail(int32_t number, const std::string &message) {
  throw HostError(number, message);
}

}  // namespace foxhost::err
