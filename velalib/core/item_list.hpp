// Delimited item lists: items separated by a one-character delimiter, numbered from 1; the last
// item needs no trailing delimiter and empty items count.
#pragma once

#include <cstdint>
#include <string_view>

namespace velalib {

// Item `index` of `list`, split at the first character of `delimiter`. An index of 1 or less
// gives the first item; an index past the last item gives the empty text. An empty delimiter
// splits nothing: the whole list is its only item.
std::string_view getItem(std::string_view delimiter, std::string_view list, int32_t index);

}  // namespace velalib
