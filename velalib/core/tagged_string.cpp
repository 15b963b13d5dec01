#include "tagged_string.hpp"

#include "texts.hpp"

namespace velalib {

namespace {
bool isBlankOrControl(char c) { return static_cast<unsigned char>(c) <= kTrimLimit; }
}  // namespace

std::optional<TagMatch> findTag(std::string_view tag, std::string_view tagged) {
  // Equivalent to searching " " + tagged for " " + tag, without building either text.
  size_t from = 0;
  while (from <= tagged.size()) {
    const size_t at = tagged.find(tag, from);
    if (at == std::string_view::npos) return std::nullopt;
    if (at == 0 || tagged[at - 1] == kTagLead) {
      TagMatch match;
      match.tagStart = at;
      match.valueStart = at + tag.size();
      const size_t end = tagged.find(kTagEnd, match.valueStart);
      if (end != std::string_view::npos) match.itemEnd = end;
      return match;
    }
    from = at + 1;
  }
  return std::nullopt;
}

std::string_view tagValue(std::string_view tag, std::string_view tagged) {
  const auto match = findTag(tag, tagged);
  if (!match || !match->itemEnd) return {};
  return tagged.substr(match->valueStart, *match->itemEnd - match->valueStart);
}

std::string_view tagField(std::string_view tag, std::string_view tagged) {
  const auto match = findTag(tag, tagged);
  if (!match || !match->itemEnd) return {};
  return tagged.substr(match->tagStart, *match->itemEnd + 1 - match->tagStart);
}

std::string_view trimBlanksAndControls(std::string_view value) {
  size_t first = 0;
  while (first < value.size() && isBlankOrControl(value[first])) ++first;
  size_t last = value.size();
  while (last > first && isBlankOrControl(value[last - 1])) --last;
  return value.substr(first, last - first);
}

std::string makeTag(std::string_view tag, std::string_view value) {
  const std::string_view trimmed = trimBlanksAndControls(value);
  if (trimmed.empty()) return {};
  std::string item;
  item.reserve(tag.size() + trimmed.size() + 1);
  item.append(tag).append(trimmed).push_back(kTagEnd);
  return item;
}

}  // namespace velalib
