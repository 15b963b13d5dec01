// Wildcard matching of a whole text against a whole pattern, byte by byte (case matters).
//
//   *      any run of bytes, the empty run included
//   ?      exactly one byte
//   [...]  one byte from a class; "!" first negates it, "]" first is a member, "a-z" is a range
//          when its ends ascend, any other "-" is a member. A "[" with no closing "]" is an
//          ordinary byte.
//   other  the byte itself
#pragma once

#include <string_view>

namespace velalib {

bool wildCard(std::string_view pattern, std::string_view text);

}  // namespace velalib
