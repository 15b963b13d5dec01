#include "ini/ini_store.hpp"

#include <limits>
#include <optional>

#include "ini/atomic_file.hpp"
#include "ini/ini_document.hpp"
#include "ini/ini_text.hpp"

namespace orbelle {
namespace {

void tell(const MessageSink& say, std::string_view text) {
  if (say) say(std::string(text));
}

// Files are named the platform's way; a Windows-style ".\orbelle.ini" means the same file.
std::string localPath(const std::string& file) {
  std::string path = file;
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

// Cuts a text to the profile buffer, without leaving half a UTF-8 character at the end.
std::string cutToBuffer(std::string text) {
  if (text.size() <= kMaxValueChars) return text;
  std::size_t end = kMaxValueChars;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  text.resize(end);
  return text;
}

std::optional<std::string> defaultText(const Variant& def, const MessageSink& say) {
  switch (def.type()) {
    case VarType::Null:
      return std::nullopt;
    case VarType::String:
      return *def.getIf<std::string>();
    case VarType::Boolean:
      return std::string(*def.getIf<bool>() ? "Y" : "N");
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
      return INI_VAL(def, say);
    default:
      tell(say, kGetIniDefaultTypeMessage);
      return std::nullopt;
  }
}

std::string upperCased(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

Variant convert(const std::string& text, const Variant& def, bool keepCase,
                const MessageSink& say) {
  switch (def.type()) {
    case VarType::Integer: {
      const auto v = decimalInteger(text, std::numeric_limits<std::int16_t>::min(),
                                    std::numeric_limits<std::int16_t>::max());
      return v ? Variant(static_cast<std::int16_t>(*v)) : def;
    }
    case VarType::Long: {
      const auto v = decimalInteger(text, std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::int32_t>::max());
      return v ? Variant(*v) : def;
    }
    case VarType::Single: {
      const auto v = leadingSingle(text);
      return v ? Variant(*v) : def;
    }
    case VarType::Double: {
      const auto v = leadingDouble(text);
      return v ? Variant(*v) : def;
    }
    case VarType::Date: {
      const auto v = IniTextToDate(text);
      return v ? Variant(*v) : def;
    }
    case VarType::String:
      return keepCase ? Variant(text) : Variant(upperCased(text));
    case VarType::Boolean:
      return Variant(booleanText(text));
    default:
      tell(say, kGetIniReturnTypeMessage);
      return Variant();
  }
}

// What the profile service hands back: the stored value, else the default text, else nothing.
std::string profileRead(const std::string& file, std::string_view section, std::string_view key,
                        const std::optional<std::string>& fallback) {
  const FileText file_text = readTextFile(localPath(file));
  if (file_text.status == FileText::Status::Read) {
    if (auto stored = IniDocument(file_text.text).value(section, key)) {
      return cutToBuffer(std::move(*stored));
    }
  }
  return fallback ? cutToBuffer(*fallback) : std::string();
}

struct EntryText {
  std::string_view key;
  std::string text;
};

// Sets the entries' texts in one replacement of the file, skipping those that would break its
// layout. Returns how many were not written: the skipped ones, or all of them when none is
// valid or the file could not be read or replaced.
int writeEntryTexts(const std::string& file, std::string_view section,
                    const std::vector<EntryText>& entries) {
  const int all = static_cast<int>(entries.size());
  if (!IniDocument::validSectionName(section)) return all;
  std::vector<const EntryText*> valid;
  for (const EntryText& entry : entries) {
    if (IniDocument::validKeyName(entry.key) && IniDocument::validValue(entry.text)) {
      valid.push_back(&entry);
    }
  }
  if (valid.empty()) return all;
  const std::string path = localPath(file);
  const FileText old = readTextFile(path);
  if (old.status == FileText::Status::Failed) return all;
  IniDocument document(old.text);
  for (const EntryText* entry : valid) document.set(section, entry->key, entry->text);
  if (!replaceFileAtomically(path, document.text())) return all;
  return all - static_cast<int>(valid.size());
}

}  // namespace

Variant GET_INI(const std::string& file, std::string_view section, std::string_view key,
                const Variant& def, bool keepCase, const MessageSink& say) {
  const std::optional<std::string> fallback = defaultText(def, say);
  const std::string text = profileRead(file, section, key, fallback);
  if (text.empty()) return def;
  return convert(text, def, keepCase, say);
}

bool PUT_INI(const std::string& file, std::string_view section, std::string_view key,
             const Variant& value, const MessageSink& say) {
  return writeEntryTexts(file, section, {{key, INI_VAL(value, say)}}) == 0;
}

int putIniEntries(const std::string& file, std::string_view section,
                  const std::vector<std::pair<std::string, Variant>>& entries,
                  const MessageSink& say) {
  std::vector<EntryText> texts;
  texts.reserve(entries.size());
  for (const auto& [key, value] : entries) texts.push_back({key, INI_VAL(value, say)});
  return writeEntryTexts(file, section, texts);
}

std::string INI_VAL(const Variant& value, const MessageSink& say) {
  switch (value.type()) {
    case VarType::String:
      return *value.getIf<std::string>();
    case VarType::Integer:
      return numberText(std::int32_t{*value.getIf<std::int16_t>()});
    case VarType::Long:
      return numberText(*value.getIf<std::int32_t>());
    case VarType::Single:
      return numberText(*value.getIf<float>());
    case VarType::Double:
      return numberText(*value.getIf<double>());
    case VarType::Boolean:
      return *value.getIf<bool>() ? "Yes" : "No";
    case VarType::Date:
      return DateToIniText(*value.getIf<DateTime>());
    default:
      tell(say, kIniValTypeMessage);
      return std::string();
  }
}

}  // namespace orbelle
