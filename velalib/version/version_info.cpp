#include "version_info.hpp"

#include <algorithm>

namespace velalib {

namespace {

constexpr size_t kBlockHeaderSize = 6;  // length, value length, type: three 16-bit words
constexpr uint16_t kTextValue = 1;
constexpr std::u16string_view kRootKey = u"VS_VERSION_INFO";
constexpr std::string_view kStringFileInfoKey = "StringFileInfo";

uint16_t le16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

size_t alignUp4(size_t offset) { return (offset + 3) & ~size_t{3}; }

// One block: its key, where its value lies, and where its children lie.
struct Block {
  std::u16string key;
  uint16_t valueLength = 0;  // in 16-bit words for text values, in bytes otherwise
  uint16_t type = 0;
  size_t valueStart = 0;
  size_t childrenStart = 0;
  size_t end = 0;
};

// Parses the block at `at`, which must end at or before `limit`.
std::optional<Block> parseBlock(std::span<const uint8_t> bytes, size_t at, size_t limit) {
  if (at > limit || limit - at < kBlockHeaderSize) return std::nullopt;
  const uint16_t length = le16(bytes, at);
  if (length < kBlockHeaderSize || length > limit - at) return std::nullopt;
  Block block;
  block.end = at + length;
  block.valueLength = le16(bytes, at + 2);
  block.type = le16(bytes, at + 4);
  size_t i = at + kBlockHeaderSize;
  while (true) {
    if (block.end - i < 2) return std::nullopt;  // key without its NUL
    const char16_t c = static_cast<char16_t>(le16(bytes, i));
    i += 2;
    if (c == 0) break;
    block.key.push_back(c);
  }
  block.valueStart = std::min(alignUp4(i), block.end);
  const size_t valueBytes =
      block.type == kTextValue ? size_t{block.valueLength} * 2 : size_t{block.valueLength};
  const size_t valueEnd = std::min(block.valueStart + valueBytes, block.end);
  block.childrenStart = std::min(alignUp4(valueEnd), block.end);
  return block;
}

bool keyEquals(std::u16string_view key, std::string_view wanted) {
  if (key.size() != wanted.size()) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    char16_t a = key[i];
    char16_t b = static_cast<unsigned char>(wanted[i]);
    if (a >= u'a' && a <= u'z') a = static_cast<char16_t>(a - u'a' + u'A');
    if (b >= u'a' && b <= u'z') b = static_cast<char16_t>(b - u'a' + u'A');
    if (a != b) return false;
  }
  return true;
}

// The child of `parent` whose key is `wanted`.
std::optional<Block> findChild(std::span<const uint8_t> bytes, const Block &parent,
                               std::string_view wanted) {
  size_t at = parent.childrenStart;
  while (at < parent.end) {
    const auto child = parseBlock(bytes, at, parent.end);
    if (!child) return std::nullopt;
    if (keyEquals(child->key, wanted)) return child;
    at = alignUp4(child->end);  // every block is at least 6 bytes long, so this advances
  }
  return std::nullopt;
}

void appendUtf8(std::string &out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

// UTF-16 text from `start` to `end` or its first NUL; unpaired surrogates become U+FFFD.
std::string textValue(std::span<const uint8_t> bytes, size_t start, size_t end) {
  std::string out;
  size_t i = start;
  while (i < end && end - i >= 2) {
    const char16_t unit = static_cast<char16_t>(le16(bytes, i));
    i += 2;
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i < end && end - i >= 2) {
      const char16_t low = static_cast<char16_t>(le16(bytes, i));
      if (low >= 0xDC00 && low <= 0xDFFF) {
        i += 2;
        appendUtf8(out, 0x10000 + ((char32_t{unit} - 0xD800) << 10) + (char32_t{low} - 0xDC00));
        continue;
      }
    }
    if (unit >= 0xD800 && unit <= 0xDFFF) {
      appendUtf8(out, 0xFFFD);
    } else {
      appendUtf8(out, unit);
    }
  }
  return out;
}

}  // namespace

std::optional<std::string_view> versionStringName(int32_t index) {
  if (index < 1 || index > static_cast<int32_t>(kVersionStringNames.size())) return std::nullopt;
  return kVersionStringNames[static_cast<size_t>(index - 1)];
}

std::optional<std::string> queryVersionString(std::span<const uint8_t> info, std::string_view table,
                                              std::string_view name) {
  const auto root = parseBlock(info, 0, info.size());
  if (!root || root->key != kRootKey) return std::nullopt;
  const auto strings = findChild(info, *root, kStringFileInfoKey);
  if (!strings) return std::nullopt;
  const auto language = findChild(info, *strings, table);
  if (!language) return std::nullopt;
  const auto entry = findChild(info, *language, name);
  if (!entry) return std::nullopt;
  // The value is text whatever the type word says; some resource compilers count its length
  // in bytes, so it is bounded by the block and by its NUL rather than by the count alone.
  const size_t wanted = size_t{entry->valueLength} * 2;
  const size_t end = std::min(entry->valueStart + wanted, entry->end);
  return textValue(info, entry->valueStart, end);
}

}  // namespace velalib
