#include "render/outline_records.hpp"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace orbelle::render {

namespace {

std::int16_t readInt16Le(const std::byte* p) noexcept {
  const auto lo = static_cast<std::uint16_t>(p[0]);
  const auto hi = static_cast<std::uint16_t>(p[1]);
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
}

void writeInt16Le(std::byte* p, std::int16_t value) noexcept {
  const auto u = static_cast<std::uint16_t>(value);
  p[0] = static_cast<std::byte>(u & 0xffu);
  p[1] = static_cast<std::byte>(u >> 8);
}

struct FileCloser {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};

}  // namespace

void parseOutlineRecords(std::span<const std::byte> bytes, std::vector<OutlineRecord>& out) {
  const std::size_t count = bytes.size() / kOutlineRecordBytes;
  out.resize(count);
  const std::byte* p = bytes.data();
  for (std::size_t i = 0; i < count; ++i, p += kOutlineRecordBytes) {
    out[i] = {readInt16Le(p), readInt16Le(p + 2), readInt16Le(p + 4)};
  }
}

std::vector<OutlineRecord> parseOutlineRecords(std::span<const std::byte> bytes) {
  std::vector<OutlineRecord> records;
  parseOutlineRecords(bytes, records);
  return records;
}

std::size_t recordsBeforeEnd(std::span<const OutlineRecord> records) noexcept {
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (records[i].code == kEndOfDataCode) return i;
  }
  return records.size();
}

std::vector<std::byte> encodeOutlineRecords(std::span<const OutlineRecord> records) {
  std::vector<std::byte> bytes(records.size() * kOutlineRecordBytes);
  std::byte* p = bytes.data();
  for (const OutlineRecord& r : records) {
    writeInt16Le(p, r.code);
    writeInt16Le(p + 2, r.latMinutes);
    writeInt16Le(p + 4, r.lonMinutes);
    p += kOutlineRecordBytes;
  }
  return bytes;
}

std::optional<std::vector<std::byte>> readWholeFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) throw std::runtime_error("File " + path + " cannot be read: " + std::strerror(errno));

  // The size from stat is only a first guess: the file may change under us, so read until the
  // end and grow as needed.
  std::vector<std::byte> bytes(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 0));
  std::size_t used = 0;
  for (;;) {
    if (used == bytes.size()) bytes.resize(bytes.size() + 65536);
    const std::size_t got = std::fread(bytes.data() + used, 1, bytes.size() - used, file.get());
    used += got;
    if (got == 0) break;
  }
  if (std::ferror(file.get())) {
    throw std::runtime_error("File " + path + " cannot be read: " + std::strerror(errno));
  }
  bytes.resize(used);
  return bytes;
}

}  // namespace orbelle::render
