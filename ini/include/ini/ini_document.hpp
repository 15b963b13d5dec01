#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orbelle {

// The text of an INI file as lines, read and edited without disturbing anything else in it:
// other sections, other keys, comments, blank lines, spacing, line endings are kept as they are.
//
// Layout: "[Name]" starts a section; "key=value" lines belong to the section above them; lines
// whose first non-blank character is ";" or "#" are comments. Section and key names are matched
// without regard to ASCII case and with blanks around them ignored; values are read with blanks
// (and stray carriage returns) around them removed. When a name occurs twice, the first
// occurrence is the one used.
class IniDocument {
 public:
  explicit IniDocument(std::string_view text = {});

  // The value of section/key, or nullopt when either is absent.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;

  // Sets section/key to value: an existing entry keeps its key spelling and everything up to and
  // including its "="; a new key goes after the last entry of the section; a new section goes at
  // the end of the text. Names and value must be valid (see validName, validValue).
  void set(std::string_view section, std::string_view key, std::string_view value);

  std::string text() const;

  // A name that can be written without changing the file's layout: not empty, no line break, no
  // "=" (keys) or "]" (sections), not starting with "[", ";" or "#", no blanks around it.
  static bool validSectionName(std::string_view name);
  static bool validKeyName(std::string_view name);
  // A value without line breaks.
  static bool validValue(std::string_view value);

 private:
  struct Entry {
    std::size_t line = 0;
    std::size_t valueStart = 0;  // offset of the character after "="
  };
  std::optional<Entry> find(std::string_view section, std::string_view key) const;

  std::vector<std::string> lines_;
  std::string eol_ = "\n";
  bool endsWithEol_ = true;
  bool endsWithCr_ = false;  // the last line has a CR but no LF after it
};

}  // namespace orbelle
