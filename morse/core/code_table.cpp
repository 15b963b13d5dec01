#include "core/code_table.hpp"

#include <array>

namespace morse {
namespace {

constexpr int kEntries = kLastCoded - kFirstCoded + 1;

// Indexed by character - 32. The apostrophe's slot is never read.
constexpr std::array<std::string_view, kEntries> kCodes = {
    " ",         // 32 blank
    "..._.",     // 33 !
    "._..._.",   // 34 "
    "._._..",    // 35 #
    "..._.._",   // 36 $
    "_._._",     // 37 %
    "._...",     // 38 &
    "",          // 39 ' (joining mark)
    "_.__.",     // 40 (
    "_.__._",    // 41 )
    "..._._",    // 42 *
    "._._.",     // 43 +
    "__..__",    // 44 ,
    "_...._",    // 45 -
    "._._._",    // 46 .
    "_.._.",     // 47 /
    "_____",     // 48 0
    ".____",     // 49 1
    "..___",     // 50 2
    "...__",     // 51 3
    "...._",     // 52 4
    ".....",     // 53 5
    "_....",     // 54 6
    "__...",     // 55 7
    "___..",     // 56 8
    "____.",     // 57 9
    "___...",    // 58 :
    "_._._.",    // 59 ;
    "..._._",    // 60 <
    "_..._",     // 61 =
    "_._._",     // 62 >
    "..__..",    // 63 ?
    "........",  // 64 @
    "._",        // 65 A
    "_...",      // 66 B
    "_._.",      // 67 C
    "_..",       // 68 D
    ".",         // 69 E
    ".._.",      // 70 F
    "__.",       // 71 G
    "....",      // 72 H
    "..",        // 73 I
    ".___",      // 74 J
    "_._",       // 75 K
    "._..",      // 76 L
    "__",        // 77 M
    "_.",        // 78 N
    "___",       // 79 O
    ".__.",      // 80 P
    "__._",      // 81 Q
    "._.",       // 82 R
    "...",       // 83 S
    "_",         // 84 T
    ".._",       // 85 U
    "..._",      // 86 V
    ".__",       // 87 W
    "_.._",      // 88 X
    "_.__",      // 89 Y
    "__..",      // 90 Z
    "",          // 91 [
    "_..._",     // 92 backslash
};

}  // namespace

bool inCodeRange(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= static_cast<unsigned char>(kFirstCoded) &&
         u <= static_cast<unsigned char>(kLastCoded);
}

std::optional<std::string_view> codeFor(char c) {
  if (!inCodeRange(c)) return std::nullopt;
  return kCodes[static_cast<unsigned char>(c) - static_cast<unsigned char>(kFirstCoded)];
}

char toUpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace morse
