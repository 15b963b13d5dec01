// Fuzz target for the INI settings store: a section, a key and a value, then a settings file's
// text. An unedited document keeps the text; setting a valid key changes that key only, also once
// read back and through PUT_INI/GET_INI on real files; the number readers keep their contracts.
#include <fuzzer/FuzzedDataProvider.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "ini/atomic_file.hpp"
#include "ini/ini_document.hpp"
#include "ini/ini_store.hpp"
#include "ini/ini_text.hpp"

namespace {

using namespace orbelle;

void check(bool ok) {
  if (!ok) std::abort();
}

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  const auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  a = trimmed(a);
  b = trimmed(b);
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char x, char y) { return low(x) == low(y); });
}

// Candidate names from each line: what sits between "[" and "]", and what precedes "=" (names
// that are not real simply read as absent).
void candidates(std::string_view text, std::vector<std::string>& sections,
                std::vector<std::string>& keys) {
  constexpr std::size_t kMaxNames = 12;
  std::size_t start = 0;
  while (start < text.size() && (sections.size() < kMaxNames || keys.size() < kMaxNames)) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    const std::size_t open = line.find('['), close = line.find(']');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close &&
        sections.size() < kMaxNames) {
      sections.emplace_back(line.substr(open + 1, close - open - 1));
    }
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos && keys.size() < kMaxNames)
      keys.emplace_back(line.substr(0, eq));
    start = end + 1;
  }
}

using Values = std::vector<std::optional<std::string>>;

Values valuesOf(const IniDocument& doc, const std::vector<std::string>& sections,
                const std::vector<std::string>& keys) {
  Values values;
  for (const std::string& s : sections) {
    for (const std::string& k : keys) values.push_back(doc.value(s, k));
  }
  return values;
}

// Every CR starts a CRLF; and with any CRLF, every LF ends one.
bool noStrayCarriageReturn(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) return false;
  }
  return true;
}
bool consistentLineEnds(std::string_view text) {
  if (text.find("\r\n") == std::string_view::npos) return true;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) return false;
  }
  return true;
}

void checkNumbers(const std::string& text) {
  if (const auto d = leadingDouble(text)) {
    check(std::isfinite(*d));
    if (std::fabs(*d) < 1e308) {
      const std::string once = numberText(*d);
      const auto back = leadingDouble(once);
      check(back.has_value() && numberText(*back) == once);
    }
  }
  if (const auto f = leadingSingle(text)) check(std::isfinite(*f));
  if (const auto i = decimalInteger(text, -32768, 32767)) check(*i >= -32768 && *i <= 32767);
  if (const auto date = IniTextToDate(text)) (void)DateToIniText(*date);
  (void)booleanText(text);
}

const std::string& scratchFile() {
  static const std::string path = [] {
    char pattern[] = "/dev/shm/fuzz_ini_XXXXXX";
    const char* made = ::mkdtemp(pattern);
    if (made == nullptr) std::abort();
    return std::string(made) + "/orbelle.ini";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(64);
  const std::string text = input.ConsumeRemainingBytesAsString();

  checkNumbers(value);

  IniDocument doc(text);
  if (consistentLineEnds(text)) check(doc.text() == text);

  std::vector<std::string> sections{section}, keys{key};
  candidates(text, sections, keys);
  const Values before = valuesOf(doc, sections, keys);
  for (const auto& v : before) check(!v || trimmed(*v) == *v);

  const bool valid = IniDocument::validSectionName(section) && IniDocument::validKeyName(key) &&
                     IniDocument::validValue(value);
  if (!valid) {
    // The store refuses to write what would break the file's layout, and leaves the file alone.
    check(replaceFileAtomically(scratchFile(), text));
    check(!PUT_INI(scratchFile(), section, key, Variant(value), {}));
    check(putIniEntries(scratchFile(), section, {{key, Variant(value)}}, {}) == 1);
    const FileText after = readTextFile(scratchFile());
    check(after.status == FileText::Status::Read && after.text == text);
    return 0;
  }

  doc.set(section, key, value);
  const IniDocument reread(doc.text());
  check(doc.value(section, key) == std::string(trimmed(value)));
  check(reread.value(section, key) == std::string(trimmed(value)));
  const Values afterSet = valuesOf(doc, sections, keys);
  const Values afterReread = valuesOf(reread, sections, keys);
  std::size_t n = 0;
  for (const std::string& s : sections) {
    for (const std::string& k : keys) {
      if (!(sameName(s, section) && sameName(k, key))) {
        check(afterSet[n] == before[n]);
        check(afterReread[n] == before[n]);
      }
      ++n;
    }
  }

  // The same through the files the program uses.
  check(replaceFileAtomically(scratchFile(), text));
  check(PUT_INI(scratchFile(), section, key, Variant(value), {}));
  const Variant read = GET_INI(scratchFile(), section, key, Variant("?"), true, {});
  const std::string_view stored = trimmed(value);
  check(read == Variant(stored.empty() ? std::string("?") : std::string(stored)));

  // Several keys in one write give the file that writing them one by one gives (only the values
  // where mixed line ends or stray CRs may turn into CRLF throughout).
  const std::vector<std::pair<std::string, Variant>> entries{
      {key, Variant(value)}, {"Fuzz", Variant(static_cast<double>(text.size()))}};
  check(replaceFileAtomically(scratchFile(), text));
  for (const auto& [k, v] : entries) check(PUT_INI(scratchFile(), section, k, v, {}));
  const FileText oneByOne = readTextFile(scratchFile());
  check(replaceFileAtomically(scratchFile(), text));
  check(putIniEntries(scratchFile(), section, entries, {}) == 0);
  const FileText together = readTextFile(scratchFile());
  check(oneByOne.status == FileText::Status::Read && together.status == FileText::Status::Read);
  if (consistentLineEnds(text) && noStrayCarriageReturn(text)) {
    check(together.text == oneByOne.text);
  }
  const IniDocument both(together.text);
  const std::string length = numberText(static_cast<double>(text.size()));
  check(both.value(section, "Fuzz") == std::string(trimmed(length)));
  if (!sameName(key, "Fuzz")) check(both.value(section, key) == std::string(stored));
  return 0;
}
