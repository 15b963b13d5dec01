#include "ini/ini_document.hpp"

#include <algorithm>

namespace orbelle {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return lower(x) == lower(y); });
}

// A value never holds a line break, so a stray CR at its ends (from a file with mixed or lone-CR
// line endings) is not part of it: once a line ending follows, it would read as one.
std::string_view trimValue(std::string_view s) {
  auto strip = [](char c) { return isBlank(c) || c == '\r'; };
  while (!s.empty() && strip(s.front())) s.remove_prefix(1);
  while (!s.empty() && strip(s.back())) s.remove_suffix(1);
  return s;
}

bool isComment(std::string_view line) {
  const std::string_view t = trim(line);
  return !t.empty() && (t.front() == ';' || t.front() == '#');
}

// The name of a section header line, or nullopt for any other line.
std::optional<std::string_view> sectionHeader(std::string_view line) {
  const std::string_view t = trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const std::size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(t.substr(1, close - 1));
}

// Offset just past "=" of a key line, or npos for a line that holds no key.
std::size_t keyEnd(std::string_view line) {
  if (isComment(line) || sectionHeader(line)) return std::string_view::npos;
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos || trim(line.substr(0, eq)).empty()) {
    return std::string_view::npos;
  }
  return eq + 1;
}

bool hasLineBreak(std::string_view s) {
  return s.find('\n') != std::string_view::npos || s.find('\r') != std::string_view::npos;
}

bool plainName(std::string_view name) {
  return !name.empty() && trim(name).size() == name.size() && !hasLineBreak(name) &&
         name.front() != '[' && name.front() != ';' && name.front() != '#';
}

}  // namespace

IniDocument::IniDocument(std::string_view text) {
  if (text.empty()) {
    endsWithEol_ = false;
    return;
  }
  if (text.find("\r\n") != std::string_view::npos) eol_ = "\r\n";
  endsWithEol_ = text.back() == '\n';
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      // A last line ended by a lone CR keeps it when the text is written back.
      if (end == text.size()) endsWithCr_ = true;
    }
    lines_.emplace_back(line);
    start = end + 1;
  }
}

std::optional<IniDocument::Entry> IniDocument::find(std::string_view section,
                                                    std::string_view key) const {
  const std::string_view wantedSection = trim(section);
  const std::string_view wantedKey = trim(key);
  if (wantedSection.empty() || wantedKey.empty()) return std::nullopt;
  bool inSection = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view line = lines_[i];
    if (i == 0 && line.starts_with(kUtf8Bom)) line.remove_prefix(kUtf8Bom.size());
    if (const auto name = sectionHeader(line)) {
      inSection = sameName(*name, wantedSection);
      continue;
    }
    if (!inSection) continue;
    const std::size_t end = keyEnd(line);
    if (end != std::string_view::npos && sameName(trim(line.substr(0, end - 1)), wantedKey)) {
      const std::size_t bom = lines_[i].size() - line.size();
      return Entry{i, end + bom};
    }
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::value(std::string_view section,
                                              std::string_view key) const {
  const auto entry = find(section, key);
  if (!entry) return std::nullopt;
  return std::string(trimValue(std::string_view(lines_[entry->line]).substr(entry->valueStart)));
}

void IniDocument::set(std::string_view section, std::string_view key, std::string_view value) {
  if (const auto entry = find(section, key)) {
    std::string& line = lines_[entry->line];
    line.resize(entry->valueStart);
    line.append(value);
    return;
  }
  std::string newLine = std::string(key) + "=" + std::string(value);
  // Insert after the last key of the first section with this name.
  std::optional<std::size_t> insertAt;
  bool inSection = false;
  bool sectionSeen = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    std::string_view line = lines_[i];
    if (i == 0 && line.starts_with(kUtf8Bom)) line.remove_prefix(kUtf8Bom.size());
    if (const auto name = sectionHeader(line)) {
      if (sectionSeen && inSection) break;
      inSection = sameName(*name, trim(section));
      if (inSection) {
        sectionSeen = true;
        insertAt = i + 1;
      }
      continue;
    }
    if (inSection && keyEnd(line) != std::string_view::npos) insertAt = i + 1;
  }
  if (insertAt) {
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insertAt), std::move(newLine));
    return;
  }
  lines_.push_back("[" + std::string(section) + "]");
  lines_.push_back(std::move(newLine));
  endsWithEol_ = true;
}

std::string IniDocument::text() const {
  std::string out;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    out += lines_[i];
    if (i + 1 < lines_.size() || endsWithEol_) {
      out += eol_;
    } else if (endsWithCr_) {
      out += '\r';
    }
  }
  return out;
}

bool IniDocument::validSectionName(std::string_view name) {
  return plainName(name) && name.find(']') == std::string_view::npos;
}

bool IniDocument::validKeyName(std::string_view name) {
  return plainName(name) && name.find('=') == std::string_view::npos;
}

bool IniDocument::validValue(std::string_view value) { return !hasLineBreak(value); }

}  // namespace orbelle
