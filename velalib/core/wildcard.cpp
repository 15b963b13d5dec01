#include "wildcard.hpp"

#include <cstddef>
#include <optional>

namespace velalib {

namespace {

using Byte = unsigned char;

// A class starting at pattern[open] == '['. Returns the position after its closing "]" and
// whether `c` is a member; nothing when the class is not closed.
struct ClassResult {
  size_t next;
  bool matches;
};

std::optional<ClassResult> matchClass(std::string_view pattern, size_t open, Byte c) {
  size_t i = open + 1;
  bool negate = false;
  if (i < pattern.size() && pattern[i] == '!') {
    negate = true;
    ++i;
  }
  bool member = false;
  bool first = true;
  while (i < pattern.size()) {
    const Byte low = static_cast<Byte>(pattern[i]);
    if (low == ']' && !first) return ClassResult{i + 1, member != negate};
    first = false;
    // A range needs a "-" followed by a byte other than the closing "]".
    if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
      const Byte high = static_cast<Byte>(pattern[i + 2]);
      if (low < high) {
        if (c >= low && c <= high) member = true;
        i += 3;
        continue;
      }
    }
    if (c == low) member = true;
    ++i;
  }
  return std::nullopt;
}

// Matches one non-star pattern element at pattern[p] against byte c; gives the position of the
// next element, or nothing on a mismatch.
std::optional<size_t> matchOne(std::string_view pattern, size_t p, Byte c) {
  const char element = pattern[p];
  if (element == '?') return p + 1;
  if (element == '[') {
    if (const auto cls = matchClass(pattern, p, c)) {
      if (cls->matches) return cls->next;
      return std::nullopt;
    }
  }
  if (static_cast<Byte>(element) == c) return p + 1;
  return std::nullopt;
}

}  // namespace

bool wildCard(std::string_view pattern, std::string_view text) {
  // Every element other than "*" consumes exactly one byte, so it is enough to remember the
  // latest "*": on a mismatch, let that star swallow one more byte and retry. This finds the
  // leftmost text position from which the rest matches, in O(pattern × text) steps at worst.
  size_t p = 0;
  size_t t = 0;
  std::optional<size_t> starPattern;  // pattern position just after the latest "*"
  size_t starText = 0;                // text position that star's retry resumes from
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      starPattern = p;
      starText = t;
      continue;
    }
    if (p < pattern.size()) {
      if (const auto next = matchOne(pattern, p, static_cast<Byte>(text[t]))) {
        p = *next;
        ++t;
        continue;
      }
    }
    if (!starPattern) return false;
    p = *starPattern;
    t = ++starText;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace velalib
