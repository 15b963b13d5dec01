#include "pe_builder.hpp"

#include <QString>
#include <algorithm>
#include <fstream>

namespace velalib::testing {

namespace {

void put32(std::vector<uint8_t> &bytes, size_t at, uint32_t value) {
  put16(bytes, at, static_cast<uint16_t>(value));
  put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

void append(std::vector<uint8_t> &out, const std::vector<uint8_t> &bytes) {
  out.resize((out.size() + 3) / 4 * 4, 0);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

// UTF-16 of the UTF-8 text, NUL-terminated.
std::vector<uint8_t> utf16z(const std::string &utf8) {
  const std::u16string text = QString::fromUtf8(utf8).toStdU16String();
  std::vector<uint8_t> out(2 * text.size() + 2, 0);
  for (size_t i = 0; i < text.size(); ++i) put16(out, 2 * i, text[i]);
  return out;
}

// One block: its length, value length and type, the key, then the value and each child
// 4-aligned (an empty value still aligns).
std::vector<uint8_t> block(const std::string &key, uint16_t type, uint16_t valueLength,
                           const std::vector<uint8_t> &value,
                           const std::vector<std::vector<uint8_t>> &children = {}) {
  std::vector<uint8_t> out(6, 0);
  put16(out, 2, valueLength);
  put16(out, 4, type);
  const std::vector<uint8_t> name = utf16z(key);
  out.insert(out.end(), name.begin(), name.end());
  append(out, value);
  for (const auto &child : children) append(out, child);
  put16(out, 0, static_cast<uint16_t>(out.size()));
  return out;
}

}  // namespace

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

void put16(std::vector<uint8_t> &bytes, size_t at, uint16_t value) {
  bytes.at(at) = static_cast<uint8_t>(value);
  bytes.at(at + 1) = static_cast<uint8_t>(value >> 8);
}

std::vector<uint8_t> buildVersionInfo(const VersionInfoOptions &options) {
  std::vector<std::vector<uint8_t>> tables;
  for (const VersionTable &table : options.tables) {
    std::vector<std::vector<uint8_t>> strings;
    for (const auto &[name, text] : table.strings) {
      const std::vector<uint8_t> value = utf16z(text);
      const size_t length = options.lengthInBytes ? value.size() : value.size() / 2;
      strings.push_back(block(name, 1, static_cast<uint16_t>(length), value));
    }
    tables.push_back(block(table.key, 1, 0, {}, strings));
  }
  const std::vector<uint8_t> strings = block("StringFileInfo", 1, 0, {}, tables);
  const std::vector<uint8_t> vars =  // Translation 0409, 04E4
      block("VarFileInfo", 1, 0, {}, {block("Translation", 0, 4, {0x09, 0x04, 0xE4, 0x04})});
  std::vector<uint8_t> fixed(52, 0);  // VS_FIXEDFILEINFO: signature, structure version, zeros
  put32(fixed, 0, 0xFEEF04BD);
  put32(fixed, 4, 0x00010000);
  return block("VS_VERSION_INFO", 0, 52, fixed,
               options.varFileInfoFirst ? std::vector{vars, strings} : std::vector{strings, vars});
}

PeLayout buildPe(const PeOptions &options) {
  constexpr uint32_t kAlign = 0x200;               // file alignment; .text at 0x200, .rsrc at 0x400
  constexpr uint32_t kRva = 0x2000;                // the resource section's
  constexpr uint32_t kSubdirectory = 0x80000000u;  // an entry pointing at a directory (or name)
  const std::vector<uint8_t> version =
      options.withVersion ? buildVersionInfo(options.version) : std::vector<uint8_t>{};

  PeLayout pe;
  pe.peHeader = 0x80;
  pe.optionalHeader = pe.peHeader + 24;
  const uint32_t optionalSize = options.pe32Plus ? 240 : 224;
  pe.sectionTable = pe.optionalHeader + optionalSize;
  pe.resourceSection = 2 * kAlign;
  pe.versionDataEntry = pe.resourceSection + 88;
  pe.versionData = pe.resourceSection + 108;
  pe.versionSize = version.size();
  std::vector<uint8_t> &out = pe.bytes;
  out.assign(kAlign, 0);
  out.resize(2 * kAlign, 0x90);  // .text
  out.resize(pe.versionData, 0);
  out.insert(out.end(), version.begin(), version.end());
  const auto rsrcSize = static_cast<uint32_t>(out.size() - pe.resourceSection);
  out.resize((out.size() + kAlign - 1) / kAlign * kAlign, 0);

  // The resource directory: the root (at 0) with a type named "X" (its name at 104) and the icon
  // type 3, leading to the name directory (64) and the data entry (88), then the version type
  // (16; 14 without a version) leading to the type directory (40).
  const size_t res = pe.resourceSection;
  const size_t directories = pe.optionalHeader + (options.pe32Plus ? 112 : 96);
  const size_t text = pe.sectionTable;
  const size_t rsrc = text + 40;
  const std::pair<size_t, uint32_t> fields[] = {
      {0, 0x5A4D},  // "MZ"
      {0x3C, static_cast<uint32_t>(pe.peHeader)},
      {pe.peHeader, 0x4550},  // "PE\0\0", then machine and 2 sections, optional size and flags
      {pe.peHeader + 4, options.pe32Plus ? 0x28664u : 0x2014Cu},
      {pe.peHeader + 20, 0x01020000u | optionalSize},
      {pe.optionalHeader, options.pe32Plus ? 0x20Bu : 0x10Bu},
      {pe.optionalHeader + 32, 0x1000},  // section alignment
      {pe.optionalHeader + 36, kAlign},
      {directories - 4, 16},  // number of directories
      {directories + 16, kRva},
      {directories + 20, rsrcSize},
      {text + 8, 0x10},
      {text + 12, 0x1000},
      {text + 16, kAlign},
      {text + 20, kAlign},
      {rsrc + 8, rsrcSize},
      {rsrc + 12, kRva},
      {rsrc + 16, static_cast<uint32_t>(out.size() - res)},
      {rsrc + 20, 2 * kAlign},
      {res + 12, 0x00020001},  // root: 1 named entry, 2 id entries
      {res + 16, kSubdirectory | 104},
      {res + 20, kSubdirectory | 64},
      {res + 24, 3},
      {res + 28, 88},
      {res + 32, options.withVersion ? 16u : 14u},
      {res + 36, kSubdirectory | 40},
      {res + 52, 0x00010000},  // type directory: 1 id entry
      {res + 56, options.versionNameId},
      {res + 60, kSubdirectory | 64},
      {res + 76, 0x00010000},  // name directory: 1 id entry
      {res + 80, 0x0409},
      {res + 84, 88},
      {res + 88, kRva + 108},  // the data entry
      {res + 92, static_cast<uint32_t>(version.size())},
      {res + 96, 1252},
      {res + 104, 0x00580001},  // the name "X", length 1
  };
  for (const auto &[at, value] : fields) put32(out, at, value);
  std::copy_n(".text", 5, out.begin() + static_cast<std::ptrdiff_t>(text));
  std::copy_n(".rsrc", 5, out.begin() + static_cast<std::ptrdiff_t>(rsrc));
  return pe;
}

}  // namespace velalib::testing
