#include "pe_builder.hpp"

#include <fstream>
#include <stdexcept>

namespace velalib::testing {

namespace {

void align4(std::vector<uint8_t> &out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

void append16(std::vector<uint8_t> &out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void append32(std::vector<uint8_t> &out, uint32_t v) {
  append16(out, static_cast<uint16_t>(v));
  append16(out, static_cast<uint16_t>(v >> 16));
}

std::u16string utf16(const std::string &utf8) {
  std::u16string out;
  for (size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    char32_t cp = 0;
    size_t n = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c >> 5) == 6) {
      cp = c & 0x1F;
      n = 2;
    } else if ((c >> 4) == 14) {
      cp = c & 0x0F;
      n = 3;
    } else {
      cp = c & 0x07;
      n = 4;
    }
    if (i + n > utf8.size()) throw std::invalid_argument("bad UTF-8 in test text");
    for (size_t k = 1; k < n; ++k)
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += n;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return out;
}

// One block: header, key, padding, value, padding, children; its length word is filled in last.
std::vector<uint8_t> block(const std::string &key, uint16_t type, uint16_t valueLength,
                           const std::vector<uint8_t> &value,
                           const std::vector<std::vector<uint8_t>> &children) {
  std::vector<uint8_t> out;
  append16(out, 0);
  append16(out, valueLength);
  append16(out, type);
  for (char16_t c : utf16(key)) append16(out, static_cast<uint16_t>(c));
  append16(out, 0);
  align4(out);
  out.insert(out.end(), value.begin(), value.end());
  for (const auto &child : children) {
    align4(out);
    out.insert(out.end(), child.begin(), child.end());
  }
  out[0] = static_cast<uint8_t>(out.size());
  out[1] = static_cast<uint8_t>(out.size() >> 8);
  return out;
}

std::vector<uint8_t> textValue(const std::string &text, uint16_t &words) {
  std::vector<uint8_t> out;
  const std::u16string u = utf16(text);
  for (char16_t c : u) append16(out, static_cast<uint16_t>(c));
  append16(out, 0);
  words = static_cast<uint16_t>(u.size() + 1);
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

void put32(std::vector<uint8_t> &bytes, size_t at, uint32_t value) {
  put16(bytes, at, static_cast<uint16_t>(value));
  put16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}

std::vector<uint8_t> buildVersionInfo(const VersionInfoOptions &options) {
  std::vector<std::vector<uint8_t>> tables;
  for (const VersionTable &table : options.tables) {
    std::vector<std::vector<uint8_t>> strings;
    for (const auto &[name, text] : table.strings) {
      uint16_t words = 0;
      const std::vector<uint8_t> value = textValue(text, words);
      const uint16_t length = options.lengthInBytes ? static_cast<uint16_t>(value.size()) : words;
      strings.push_back(block(name, 1, length, value, {}));
    }
    tables.push_back(block(table.key, 1, 0, {}, strings));
  }
  const std::vector<uint8_t> stringFileInfo = block("StringFileInfo", 1, 0, {}, tables);
  std::vector<uint8_t> translation;
  append16(translation, 0x0409);
  append16(translation, 0x04E4);
  const std::vector<uint8_t> varFileInfo =
      block("VarFileInfo", 1, 0, {}, {block("Translation", 0, 4, translation, {})});

  std::vector<uint8_t> fixed;  // VS_FIXEDFILEINFO: signature, structure version, then zeros
  append32(fixed, 0xFEEF04BD);
  append32(fixed, 0x00010000);
  fixed.resize(52, 0);
  std::vector<std::vector<uint8_t>> children;
  if (options.varFileInfoFirst) {
    children = {varFileInfo, stringFileInfo};
  } else {
    children = {stringFileInfo, varFileInfo};
  }
  return block("VS_VERSION_INFO", 0, 52, fixed, children);
}

PeLayout buildPe(const PeOptions &options) {
  constexpr uint32_t kFileAlignment = 0x200;
  constexpr uint32_t kSectionAlignment = 0x1000;
  constexpr uint32_t kTextRva = 0x1000;
  constexpr uint32_t kResourceRva = 0x2000;
  constexpr size_t kPeOffset = 0x80;

  PeLayout layout;
  std::vector<uint8_t> &out = layout.bytes;
  out.assign(kPeOffset, 0);
  out[0] = 'M';
  out[1] = 'Z';
  put32(out, 0x3C, kPeOffset);

  // The resource section: directories, the data entry, then the version data.
  const std::vector<uint8_t> version =
      options.withVersion ? buildVersionInfo(options.version) : std::vector<uint8_t>{};
  std::vector<uint8_t> rsrc;
  auto directory = [&](uint16_t named, uint16_t ids) {
    rsrc.resize(rsrc.size() + 12, 0);
    append16(rsrc, named);
    append16(rsrc, ids);
  };
  const bool others = options.otherTypesFirst;
  // Root: [named "X"], [id 3], id 16.
  directory(others ? 1 : 0, others ? 2 : 1);
  const size_t rootEntries = rsrc.size();
  rsrc.resize(rsrc.size() + 8 * (others ? 3 : 1), 0);
  const size_t typeDirectory = rsrc.size();
  directory(0, 1);
  append32(rsrc, options.versionNameId);
  const size_t typeTarget = rsrc.size();
  append32(rsrc, 0);
  const size_t nameDirectory = rsrc.size();
  directory(0, 1);
  append32(rsrc, 0x0409);
  const size_t nameTarget = rsrc.size();
  append32(rsrc, 0);
  const size_t dataEntry = rsrc.size();
  rsrc.resize(rsrc.size() + 16, 0);
  const size_t nameString = rsrc.size();  // the named type's name: length 1, "X"
  append16(rsrc, 1);
  append16(rsrc, 'X');
  align4(rsrc);
  const size_t data = rsrc.size();
  rsrc.insert(rsrc.end(), version.begin(), version.end());

  size_t entry = rootEntries;
  if (others) {
    put32(rsrc, entry, 0x80000000u | static_cast<uint32_t>(nameString));
    put32(rsrc, entry + 4, 0x80000000u | static_cast<uint32_t>(nameDirectory));
    put32(rsrc, entry + 8, 3);
    put32(rsrc, entry + 12, static_cast<uint32_t>(dataEntry));
    entry += 16;
  }
  put32(rsrc, entry, options.withVersion ? 16 : 14);
  put32(rsrc, entry + 4, 0x80000000u | static_cast<uint32_t>(typeDirectory));
  put32(rsrc, typeTarget, 0x80000000u | static_cast<uint32_t>(nameDirectory));
  put32(rsrc, nameTarget, static_cast<uint32_t>(dataEntry));
  put32(rsrc, dataEntry, kResourceRva + static_cast<uint32_t>(data));
  put32(rsrc, dataEntry + 4, static_cast<uint32_t>(version.size()));
  put32(rsrc, dataEntry + 8, 1252);
  const uint32_t rsrcVirtualSize = static_cast<uint32_t>(rsrc.size());
  while (rsrc.size() % kFileAlignment != 0) rsrc.push_back(0);

  // Headers.
  layout.peHeader = out.size();
  append32(out, 0x00004550);
  const uint16_t optionalSize = options.pe32Plus ? 240 : 224;
  append16(out, options.pe32Plus ? 0x8664 : 0x014C);
  append16(out, 2);  // sections
  append32(out, 0);
  append32(out, 0);
  append32(out, 0);
  append16(out, optionalSize);
  append16(out, 0x0102);
  layout.optionalHeader = out.size();
  std::vector<uint8_t> optional(optionalSize, 0);
  put16(optional, 0, options.pe32Plus ? 0x20B : 0x10B);
  put32(optional, 32, kSectionAlignment);
  put32(optional, 36, kFileAlignment);
  const size_t countField = options.pe32Plus ? 108 : 92;
  const size_t directories = options.pe32Plus ? 112 : 96;
  put32(optional, countField, 16);
  put32(optional, directories + 2 * 8, kResourceRva);
  put32(optional, directories + 2 * 8 + 4, rsrcVirtualSize);
  out.insert(out.end(), optional.begin(), optional.end());

  layout.sectionTable = out.size();
  auto section = [&](const char *name, uint32_t rva, uint32_t virtualSize, uint32_t rawSize,
                     uint32_t rawOffset) {
    std::vector<uint8_t> header(40, 0);
    for (size_t i = 0; name[i] && i < 8; ++i) header[i] = static_cast<uint8_t>(name[i]);
    put32(header, 8, virtualSize);
    put32(header, 12, rva);
    put32(header, 16, rawSize);
    put32(header, 20, rawOffset);
    out.insert(out.end(), header.begin(), header.end());
  };
  section(".text", kTextRva, 0x10, kFileAlignment, kFileAlignment);
  section(".rsrc", kResourceRva, rsrcVirtualSize, static_cast<uint32_t>(rsrc.size()),
          2 * kFileAlignment);
  out.resize(kFileAlignment, 0);
  out.resize(2 * kFileAlignment, 0x90);  // .text
  layout.resourceSection = out.size();
  layout.resourceRva = kResourceRva;
  out.insert(out.end(), rsrc.begin(), rsrc.end());
  layout.versionDataEntry = layout.resourceSection + dataEntry;
  layout.versionData = layout.resourceSection + data;
  layout.versionSize = version.size();
  return layout;
}

}  // namespace velalib::testing
