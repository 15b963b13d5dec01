#include "pe_builder.hpp"

#include <fstream>
#include <utility>

namespace velalib::testing {

namespace {

void align4(std::vector<uint8_t> &out) { out.resize((out.size() + 3) / 4 * 4, 0); }

void append16(std::vector<uint8_t> &out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void append32(std::vector<uint8_t> &out, uint32_t v) {
  append16(out, static_cast<uint16_t>(v));
  append16(out, static_cast<uint16_t>(v >> 16));
}

void put32(std::vector<uint8_t> &bytes, size_t at, uint32_t value) {
  put16(bytes, at, static_cast<uint16_t>(value));
  put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

// UTF-16 of valid UTF-8 (the tests' own texts), NUL-terminated; `words` counts the NUL too.
std::vector<uint8_t> utf16z(const std::string &utf8, uint16_t *words = nullptr) {
  std::vector<uint8_t> out;
  for (size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    char32_t cp = lead & (0xFFu >> (n == 1 ? 1 : n + 1));
    for (size_t k = 1; k < n; ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8.at(i + k)) & 0x3Fu);
    }
    i += n;
    if (cp >= 0x10000) {
      append16(out, static_cast<uint16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      cp = 0xDC00 + (cp & 0x3FF);
    }
    append16(out, static_cast<uint16_t>(cp));
  }
  append16(out, 0);
  if (words) *words = static_cast<uint16_t>(out.size() / 2);
  return out;
}

// One block: header, key, padding, value, then each child 4-aligned; its length word last.
std::vector<uint8_t> block(const std::string &key, uint16_t type, uint16_t valueLength,
                           const std::vector<uint8_t> &value,
                           const std::vector<std::vector<uint8_t>> &children) {
  std::vector<uint8_t> out;
  append16(out, 0);
  append16(out, valueLength);
  append16(out, type);
  const std::vector<uint8_t> name = utf16z(key);
  out.insert(out.end(), name.begin(), name.end());
  align4(out);
  out.insert(out.end(), value.begin(), value.end());
  for (const auto &child : children) {
    align4(out);
    out.insert(out.end(), child.begin(), child.end());
  }
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
      uint16_t words = 0;
      const std::vector<uint8_t> value = utf16z(text, &words);
      const uint16_t length = options.lengthInBytes ? static_cast<uint16_t>(value.size()) : words;
      strings.push_back(block(name, 1, length, value, {}));
    }
    tables.push_back(block(table.key, 1, 0, {}, strings));
  }
  const std::vector<uint8_t> strings = block("StringFileInfo", 1, 0, {}, tables);
  const std::vector<uint8_t> translation = {0x09, 0x04, 0xE4, 0x04};  // 0409, 04E4
  const std::vector<uint8_t> vars =
      block("VarFileInfo", 1, 0, {}, {block("Translation", 0, 4, translation, {})});
  std::vector<uint8_t> fixed;  // VS_FIXEDFILEINFO: signature, structure version, then zeros
  append32(fixed, 0xFEEF04BD);
  append32(fixed, 0x00010000);
  fixed.resize(52, 0);
  return block("VS_VERSION_INFO", 0, 52, fixed,
               options.varFileInfoFirst ? std::vector{vars, strings} : std::vector{strings, vars});
}

PeLayout buildPe(const PeOptions &options) {
  constexpr uint32_t kFileAlignment = 0x200;
  constexpr uint32_t kResourceRva = 0x2000;
  constexpr uint32_t kSubdirectory = 0x80000000u;  // an entry pointing at a directory (or name)
  constexpr size_t kPeOffset = 0x80;

  // The resource section at fixed offsets: the root directory (0) with a type named "X" (its
  // name at 104) and the icon type 3, leading to the name directory (64) and the data entry
  // (88), then the version type (16; 14 without a version) leading to the type directory (40);
  // the version data from 108.
  constexpr uint32_t kDataEntry = 88;
  constexpr uint32_t kData = 108;
  const std::vector<uint8_t> version =
      options.withVersion ? buildVersionInfo(options.version) : std::vector<uint8_t>{};
  std::vector<uint8_t> rsrc(kData, 0);
  const std::pair<size_t, uint32_t> fields[] = {
      {12, 0x00020001},  // root: 1 named entry, 2 id entries
      {16, kSubdirectory | 104},
      {20, kSubdirectory | 64},
      {24, 3},
      {28, kDataEntry},
      {32, options.withVersion ? 16u : 14u},
      {36, kSubdirectory | 40},
      {52, 0x00010000},  // type directory: 1 id entry
      {56, options.versionNameId},
      {60, kSubdirectory | 64},
      {76, 0x00010000},  // name directory: 1 id entry
      {80, 0x0409},
      {84, kDataEntry},
      {kDataEntry, kResourceRva + kData},
      {kDataEntry + 4, static_cast<uint32_t>(version.size())},
      {kDataEntry + 8, 1252},
      {104, 0x00580001},  // the name "X", length 1
  };
  for (const auto &[at, value] : fields) put32(rsrc, at, value);
  rsrc.insert(rsrc.end(), version.begin(), version.end());
  const auto rsrcVirtualSize = static_cast<uint32_t>(rsrc.size());
  rsrc.resize((rsrc.size() + kFileAlignment - 1) / kFileAlignment * kFileAlignment, 0);

  // DOS stub, PE and COFF headers, the optional header with the resource directory entry.
  PeLayout layout;
  std::vector<uint8_t> &out = layout.bytes;
  out.assign(kPeOffset, 0);
  out[0] = 'M';
  out[1] = 'Z';
  put32(out, 0x3C, kPeOffset);
  layout.peHeader = out.size();
  const uint16_t optionalSize = options.pe32Plus ? 240 : 224;
  // Signature; machine and 2 sections; time, symbol table and count; optional size and flags.
  for (const uint32_t field : {0x00004550u, options.pe32Plus ? 0x28664u : 0x2014Cu, 0u, 0u, 0u,
                               0x01020000u | optionalSize}) {
    append32(out, field);
  }
  layout.optionalHeader = out.size();
  std::vector<uint8_t> optional(optionalSize, 0);
  put16(optional, 0, options.pe32Plus ? 0x20B : 0x10B);
  put32(optional, 32, 0x1000);  // section alignment
  put32(optional, 36, kFileAlignment);
  const size_t directories = options.pe32Plus ? 112 : 96;
  put32(optional, directories - 4, 16);  // number of directories
  put32(optional, directories + 2 * 8, kResourceRva);
  put32(optional, directories + 2 * 8 + 4, rsrcVirtualSize);
  out.insert(out.end(), optional.begin(), optional.end());

  layout.sectionTable = out.size();
  const auto section = [&out](const char *name, uint32_t rva, uint32_t virtualSize,
                              uint32_t rawSize, uint32_t rawOffset) {
    std::vector<uint8_t> header(40, 0);
    for (size_t i = 0; name[i]; ++i) header[i] = static_cast<uint8_t>(name[i]);
    put32(header, 8, virtualSize);
    put32(header, 12, rva);
    put32(header, 16, rawSize);
    put32(header, 20, rawOffset);
    out.insert(out.end(), header.begin(), header.end());
  };
  section(".text", 0x1000, 0x10, kFileAlignment, kFileAlignment);
  section(".rsrc", kResourceRva, rsrcVirtualSize, static_cast<uint32_t>(rsrc.size()),
          2 * kFileAlignment);
  out.resize(kFileAlignment, 0);
  out.resize(2 * kFileAlignment, 0x90);  // .text
  layout.resourceSection = out.size();
  out.insert(out.end(), rsrc.begin(), rsrc.end());
  layout.versionDataEntry = layout.resourceSection + kDataEntry;
  layout.versionData = layout.resourceSection + kData;
  layout.versionSize = version.size();
  return layout;
}

}  // namespace velalib::testing
