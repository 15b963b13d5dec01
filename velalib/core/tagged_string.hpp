// Tagged strings: one text holding many named values, each item written as tag, value, "|".
//
// A tag is found only at the very start of the text or right after a blank; the first such
// occurrence wins and bytes compare exactly (case matters). The tag carries its own separator
// if it wants one ("CALL="); nothing is added between tag and value.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velalib {

struct TagMatch {
  size_t tagStart = 0;            // where the tag begins in the text
  size_t valueStart = 0;          // first byte after the tag
  std::optional<size_t> itemEnd;  // position of the closing "|", absent when none follows
};

// The first occurrence of `tag` at the start of `tagged` or after a blank.
std::optional<TagMatch> findTag(std::string_view tag, std::string_view tagged);

// The value of the item: from the end of the tag to the next "|". Empty when the tag is absent
// or no "|" follows it.
std::string_view tagValue(std::string_view tag, std::string_view tagged);

// The whole item, tag through its closing "|"; empty when absent or not closed.
std::string_view tagField(std::string_view tag, std::string_view tagged);

// Builds an item: tag, the value without leading and trailing bytes of code 0..32, and "|".
// Empty when the trimmed value is empty.
std::string makeTag(std::string_view tag, std::string_view value);

// The value with bytes of code 0..32 removed from both ends.
std::string_view trimBlanksAndControls(std::string_view value);

}  // namespace velalib
