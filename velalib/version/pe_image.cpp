#include "pe_image.hpp"

#include <algorithm>
#include <vector>

namespace velalib {

namespace {

constexpr uint16_t kMzSignature = 0x5A4D;      // "MZ"
constexpr uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr uint64_t kNewHeaderPointer = 0x3C;
constexpr uint64_t kFileHeaderSize = 20;
constexpr uint16_t kMagicPe32 = 0x10B;
constexpr uint16_t kMagicPe32Plus = 0x20B;
constexpr uint32_t kResourceDirectoryIndex = 2;
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint32_t kResourceTypeVersion = 16;
constexpr uint32_t kVersionResourceName = 1;
constexpr uint32_t kSubdirectoryFlag = 0x80000000u;
constexpr uint32_t kNameIsStringFlag = 0x80000000u;
constexpr uint64_t kDirectoryHeaderSize = 16;
constexpr uint64_t kDirectoryEntrySize = 8;
constexpr uint64_t kDataEntrySize = 16;

uint16_t le16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t le32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

struct Section {
  uint32_t virtualAddress = 0;
  uint32_t virtualSize = 0;
  uint32_t rawSize = 0;
  uint32_t rawOffset = 0;
};

struct DirectoryEntry {
  uint32_t name = 0;
  uint32_t target = 0;
};

class PeReader {
 public:
  explicit PeReader(const ByteSource &file) : file_(file) {}

  VersionLookup run() {
    VersionLookup out;
    if (!readHeaders() || !readSections()) {
      out.error = error_;
      return out;
    }
    out.location = findVersion();
    if (!out.location) out.error = error_;
    return out;
  }

 private:
  bool fail(const char *why) {
    error_ = why;
    return false;
  }

  bool readBytes(uint64_t offset, void *out, size_t count, const char *what) {
    if (!file_.read(offset, out, count)) return fail(what);
    return true;
  }

  bool readHeaders() {
    uint8_t dos[64];
    if (!readBytes(0, dos, sizeof dos, "PE file: truncated DOS header")) return false;
    if (le16(dos) != kMzSignature) return fail("PE file: no MZ signature");
    const uint64_t peOffset = le32(dos + kNewHeaderPointer);
    uint8_t header[4 + kFileHeaderSize];
    if (!readBytes(peOffset, header, sizeof header, "PE file: truncated file header")) {
      return false;
    }
    if (le32(header) != kPeSignature) return fail("PE file: no PE signature");
    sectionCount_ = le16(header + 4 + 2);
    const uint16_t optionalSize = le16(header + 4 + 16);
    const uint64_t optionalOffset = peOffset + sizeof header;
    sectionTableOffset_ = optionalOffset + optionalSize;

    uint8_t magicBytes[2];
    if (optionalSize < 2 ||
        !readBytes(optionalOffset, magicBytes, 2, "PE file: truncated optional header")) {
      return fail("PE file: truncated optional header");
    }
    uint64_t countField = 0;
    uint64_t directories = 0;
    switch (le16(magicBytes)) {
      case kMagicPe32:
        countField = 92;
        directories = 96;
        break;
      case kMagicPe32Plus:
        countField = 108;
        directories = 112;
        break;
      default:
        return fail("PE file: unknown optional header magic");
    }
    const uint64_t resourceEntry = directories + kResourceDirectoryIndex * 8;
    if (resourceEntry + 8 > optionalSize) return fail("PE file: no resource directory entry");
    uint8_t count[4];
    uint8_t entry[8];
    if (!readBytes(optionalOffset + countField, count, 4, "PE file: truncated optional header") ||
        !readBytes(optionalOffset + resourceEntry, entry, 8,
                   "PE file: truncated optional header")) {
      return false;
    }
    if (le32(count) <= kResourceDirectoryIndex) return fail("PE file: no resource directory");
    resourceRva_ = le32(entry);
    if (resourceRva_ == 0) return fail("PE file: no resource directory");
    return true;
  }

  bool readSections() {
    const uint64_t tableSize = uint64_t{sectionCount_} * kSectionHeaderSize;
    if (sectionTableOffset_ > file_.size() || tableSize > file_.size() - sectionTableOffset_) {
      return fail("PE file: section table beyond the end of the file");
    }
    std::vector<uint8_t> table(static_cast<size_t>(tableSize));
    if (!readBytes(sectionTableOffset_, table.data(), table.size(),
                   "PE file: unreadable section table")) {
      return false;
    }
    sections_.reserve(sectionCount_);
    for (size_t i = 0; i < sectionCount_; ++i) {
      const uint8_t *h = table.data() + i * kSectionHeaderSize;
      Section s;
      s.virtualSize = le32(h + 8);
      s.virtualAddress = le32(h + 12);
      s.rawSize = le32(h + 16);
      s.rawOffset = le32(h + 20);
      sections_.push_back(s);
    }
    return true;
  }

  // File offset of `length` bytes at `rva`; they must lie in one section's data in the file.
  // With `clampedLength`, a range running past the section's data is shortened to fit.
  std::optional<uint64_t> fileOffset(uint32_t rva, uint32_t length,
                                     uint32_t *clampedLength = nullptr) const {
    for (const Section &s : sections_) {
      const uint64_t extent = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
      if (rva < s.virtualAddress || rva - uint64_t{s.virtualAddress} >= extent) continue;
      const uint64_t into = rva - uint64_t{s.virtualAddress};
      if (into >= s.rawSize) return std::nullopt;
      uint64_t available = s.rawSize - into;
      const uint64_t start = uint64_t{s.rawOffset} + into;
      if (start >= file_.size()) return std::nullopt;
      available = std::min<uint64_t>(available, file_.size() - start);
      if (clampedLength) {
        *clampedLength = static_cast<uint32_t>(std::min<uint64_t>(length, available));
      } else if (length > available) {
        return std::nullopt;
      }
      return start;
    }
    return std::nullopt;
  }

  bool readAt(uint32_t rva, void *out, uint32_t length, const char *what) {
    const auto offset = fileOffset(rva, length);
    if (!offset) return fail(what);
    return readBytes(*offset, out, length, what);
  }

  // The entries of the resource directory at `offset` from the start of the resource section.
  bool readDirectory(uint32_t offset, std::vector<DirectoryEntry> &entries) {
    const uint64_t rva = uint64_t{resourceRva_} + offset;
    if (rva + kDirectoryHeaderSize > UINT32_MAX)
      return fail("PE resources: directory out of range");
    uint8_t header[kDirectoryHeaderSize];
    if (!readAt(static_cast<uint32_t>(rva), header, sizeof header,
                "PE resources: directory outside the file's sections")) {
      return false;
    }
    const uint64_t count = uint64_t{le16(header + 12)} + le16(header + 14);
    const uint64_t bytes = count * kDirectoryEntrySize;
    const uint64_t entriesRva = rva + kDirectoryHeaderSize;
    if (entriesRva + bytes > UINT32_MAX) return fail("PE resources: directory out of range");
    std::vector<uint8_t> raw(static_cast<size_t>(bytes));
    if (!raw.empty() &&
        !readAt(static_cast<uint32_t>(entriesRva), raw.data(), static_cast<uint32_t>(bytes),
                "PE resources: directory entries outside the file's sections")) {
      return false;
    }
    entries.clear();
    entries.reserve(static_cast<size_t>(count));
    for (size_t i = 0; i < count; ++i) {
      entries.push_back({le32(raw.data() + i * 8), le32(raw.data() + i * 8 + 4)});
    }
    return true;
  }

  // The subdirectory named by the numeric id `id` in the directory at `offset`.
  std::optional<uint32_t> subdirectoryById(uint32_t offset, uint32_t id, const char *missing) {
    std::vector<DirectoryEntry> entries;
    if (!readDirectory(offset, entries)) return std::nullopt;
    for (const DirectoryEntry &e : entries) {
      if ((e.name & kNameIsStringFlag) == 0 && e.name == id) {
        if ((e.target & kSubdirectoryFlag) == 0) {
          fail("PE resources: expected a subdirectory, found data");
          return std::nullopt;
        }
        return e.target & ~kSubdirectoryFlag;
      }
    }
    fail(missing);
    return std::nullopt;
  }

  std::optional<ResourceLocation> findVersion() {
    const auto types =
        subdirectoryById(0, kResourceTypeVersion, "PE resources: no version resource");
    if (!types) return std::nullopt;
    const auto names =
        subdirectoryById(*types, kVersionResourceName, "PE resources: no version resource named 1");
    if (!names) return std::nullopt;
    std::vector<DirectoryEntry> languages;
    if (!readDirectory(*names, languages)) return std::nullopt;
    if (languages.empty()) {
      fail("PE resources: version resource without a language");
      return std::nullopt;
    }
    const uint32_t dataEntry = languages.front().target;
    if (dataEntry & kSubdirectoryFlag) {
      fail("PE resources: expected data, found a subdirectory");
      return std::nullopt;
    }
    const uint64_t entryRva = uint64_t{resourceRva_} + dataEntry;
    if (entryRva + kDataEntrySize > UINT32_MAX) {
      fail("PE resources: data entry out of range");
      return std::nullopt;
    }
    uint8_t entry[kDataEntrySize];
    if (!readAt(static_cast<uint32_t>(entryRva), entry, sizeof entry,
                "PE resources: data entry outside the file's sections")) {
      return std::nullopt;
    }
    const uint32_t dataRva = le32(entry);
    const uint32_t wanted = std::min(le32(entry + 4), kMaxVersionInfoSize);
    uint32_t readable = 0;
    const auto offset = fileOffset(dataRva, wanted, &readable);
    if (!offset || readable == 0) {
      fail("PE resources: version data outside the file's sections");
      return std::nullopt;
    }
    return ResourceLocation{*offset, readable};
  }

  const ByteSource &file_;
  std::string error_;
  uint16_t sectionCount_ = 0;
  uint64_t sectionTableOffset_ = 0;
  uint32_t resourceRva_ = 0;
  std::vector<Section> sections_;
};

}  // namespace

VersionLookup locateVersionResource(const ByteSource &file) { return PeReader(file).run(); }

}  // namespace velalib
