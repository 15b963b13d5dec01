// Fuzz target for the INI settings store: a section, a key and a value, then a settings file's
// text. An unedited document keeps the text; setting a valid key changes that key only, also once
// read back and through PUT_INI/GET_INI on real files; the number readers keep their contracts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "fuzz_support.hpp"
#include "ini/atomic_file.hpp"
#include "ini/ini_document.hpp"
#include "ini/ini_store.hpp"
#include "ini/ini_text.hpp"

namespace {

using namespace orbelle;
using fuzz::check;

std::string trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

// Names compare trimmed and without regard to ASCII case.
bool sameName(std::string_view a, std::string_view b) {
  const auto low = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  const std::string x = trimmed(a), y = trimmed(b);
  return std::equal(x.begin(), x.end(), y.begin(), y.end(),
                    [&](char p, char q) { return low(p) == low(q); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string section = input.ConsumeRandomLengthString(24);
  const std::string key = input.ConsumeRandomLengthString(24);
  const std::string value = input.ConsumeRandomLengthString(64);
  const std::string text = input.ConsumeRemainingBytesAsString();
  static const std::string file = fuzz::scratchFolder("fuzz_ini") + "/orbelle.ini";
  // The file as `write` leaves it after `text` was written there.
  const auto afterWriting = [&](auto write) {
    check(replaceFileAtomically(file, text));
    write();
    const FileText after = readTextFile(file);
    check(after.status == FileText::Status::Read);
    return after.text;
  };

  // The number readers keep their contracts.
  if (const auto d = leadingDouble(value)) {
    check(std::isfinite(*d));
    if (std::fabs(*d) < 1e308) {
      const std::string once = numberText(*d);
      const auto back = leadingDouble(once);
      check(back.has_value() && numberText(*back) == once);
    }
  }
  if (const auto f = leadingSingle(value)) check(std::isfinite(*f));
  if (const auto i = decimalInteger(value, -32768, 32767)) check(*i >= -32768 && *i <= 32767);
  if (const auto date = IniTextToDate(value)) (void)DateToIniText(*date);
  (void)booleanText(value);

  // Line ends: consistent when, with any CRLF, every LF ends one; no stray CR when each starts one.
  std::size_t crlfs = 0;
  for (auto at = text.find("\r\n"); at != text.npos; at = text.find("\r\n", at + 2)) ++crlfs;
  const auto count = [&](char c) { return std::size_t(std::count(text.begin(), text.end(), c)); };
  const bool consistentEnds = crlfs == 0 || count('\n') == crlfs;
  const bool noStrayCr = count('\r') == crlfs;

  IniDocument doc(text);
  if (consistentEnds) check(doc.text() == text);

  std::vector<std::string> sections{section}, keys{key};
  // More names from each line: what sits between "[" and "]", and what precedes "=" (names
  // that are not real simply read as absent).
  constexpr std::size_t kMaxNames = 12;
  for (std::size_t start = 0, end = 0; start < text.size(); start = end + 1) {
    end = std::min(text.find('\n', start), text.size());
    const std::string_view line = std::string_view(text).substr(start, end - start);
    const std::size_t open = line.find('['), close = line.find(']'), eq = line.find('=');
    if (open < close && close != line.npos && sections.size() < kMaxNames)
      sections.emplace_back(line.substr(open + 1, close - open - 1));
    if (eq != line.npos && keys.size() < kMaxNames) keys.emplace_back(line.substr(0, eq));
  }
  const auto valuesOf = [&](const IniDocument& d) {
    std::vector<std::optional<std::string>> values;
    for (const std::string& s : sections) {
      for (const std::string& k : keys) values.push_back(d.value(s, k));
    }
    return values;
  };
  const auto before = valuesOf(doc);
  for (const auto& v : before) check(!v || trimmed(*v) == *v);

  if (!(IniDocument::validSectionName(section) && IniDocument::validKeyName(key) &&
        IniDocument::validValue(value))) {
    // The store refuses to write what would break the file's layout, and leaves the file alone.
    check(afterWriting([&] {
            check(!PUT_INI(file, section, key, Variant(value), {}));
            check(putIniEntries(file, section, {{key, Variant(value)}}, {}) == 1);
          }) == text);
    return 0;
  }

  const std::string stored = trimmed(value);
  doc.set(section, key, value);
  const IniDocument reread(doc.text());
  check(doc.value(section, key) == stored && reread.value(section, key) == stored);
  const auto afterSet = valuesOf(doc);
  const auto afterReread = valuesOf(reread);
  for (std::size_t n = 0; n < before.size(); ++n) {
    const bool edited =
        sameName(sections[n / keys.size()], section) && sameName(keys[n % keys.size()], key);
    check(edited || (afterSet[n] == before[n] && afterReread[n] == before[n]));
  }

  // The same through the files the program uses.
  afterWriting([&] { check(PUT_INI(file, section, key, Variant(value), {})); });
  check(GET_INI(file, section, key, Variant("?"), true, {}) ==
        Variant(stored.empty() ? std::string("?") : stored));

  // Several keys in one write give the file that writing them one by one gives (only the values
  // where mixed line ends or stray CRs may turn into CRLF throughout).
  const std::vector<std::pair<std::string, Variant>> entries{
      {key, Variant(value)}, {"Fuzz", Variant(static_cast<double>(text.size()))}};
  const std::string oneByOne = afterWriting([&] {
    for (const auto& [k, v] : entries) check(PUT_INI(file, section, k, v, {}));
  });
  const std::string together =
      afterWriting([&] { check(putIniEntries(file, section, entries, {}) == 0); });
  if (consistentEnds && noStrayCr) check(together == oneByOne);
  const IniDocument both(together);
  check(both.value(section, "Fuzz") == trimmed(numberText(static_cast<double>(text.size()))));
  if (!sameName(key, "Fuzz")) check(both.value(section, key) == stored);
  return 0;
}
