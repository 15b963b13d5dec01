#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ini/variant.hpp"

// Typed access to one key of an INI settings file. The file is read whole on each call and
// replaced atomically on each write (see IniDocument and replaceFileAtomically).

namespace orbelle {

// Receives the helpers' messages, which report a programming error (a value of an unsupported
// type); the window shows them in a plain message box. May be empty: the message is dropped.
using MessageSink = std::function<void(const std::string& text)>;

inline constexpr std::string_view kGetIniDefaultTypeMessage =
    "Invalid default return type passed to GET_INI() (10)";
inline constexpr std::string_view kGetIniReturnTypeMessage =
    "Invalid default return type passed to GET_INI() (20)";
inline constexpr std::string_view kIniValTypeMessage =
    "PUT_INI(): invalid type passed to INI_VAL().";

// A read offers the profile buffer of 3001 characters 3000 of them, one of which holds the
// terminator: at most 2999 characters of a value come back.
inline constexpr std::size_t kProfileBufferSize = 3001;
inline constexpr std::size_t kProfileBufferOffered = kProfileBufferSize - 1;
inline constexpr std::size_t kMaxValueChars = kProfileBufferOffered - 1;

// Reads section/key of `file` as a value of the default's type. An absent file, section or key
// reads as the default's text, so a default always passes through its stored form. No text at
// all (empty value; absent key with a Null default) returns `def` unconverted. Integer types
// round halves to even; an integer or date text that is not a number of the type reads as
// `def`, and so does a real number too large for its type. keepCase false upper-cases strings.
Variant GET_INI(const std::string& file, std::string_view section, std::string_view key,
                const Variant& def, bool keepCase, const MessageSink& say);

// Writes INI_VAL(value) as section/key of `file`, creating file, section or key as needed and
// keeping everything else in the file. False when the write failed, the existing file could not
// be read, or a name or the value would break the file's layout (line breaks, "=" in a key).
bool PUT_INI(const std::string& file, std::string_view section, std::string_view key,
             const Variant& value, const MessageSink& say);

// Writes several keys of one section as PUT_INI would, in one replacement of the file, so that
// a crash or a full disk leaves either the old file or the file with every key written. A key or
// value that would break the layout is skipped. Returns how many entries were not written: the
// skipped ones, or all of them when the file could not be read or replaced.
int putIniEntries(const std::string& file, std::string_view section,
                  const std::vector<std::pair<std::string, Variant>>& entries,
                  const MessageSink& say);

// The stored text of a value: numbers as numberText, booleans "Yes"/"No", dates DateToIniText,
// strings unchanged; any other type says kIniValTypeMessage and gives "".
std::string INI_VAL(const Variant& value, const MessageSink& say);

}  // namespace orbelle
