// Fuzz target for the PE version reader: whole files, and raw blocks into the string query.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "byte_source.hpp"
#include "pe_image.hpp"
#include "version_info.hpp"

namespace {

void checkUtf8(const std::string &text) {
  // The reader converts to UTF-8 itself, so what it returns must be well formed.
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const size_t n = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
    if (n == 0 || i + n > text.size()) std::abort();
    for (size_t k = 1; k < n; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) std::abort();
    }
    i += n;
  }
}

void queryAll(std::span<const uint8_t> info) {
  for (int32_t index = 1; index <= 12; ++index) {
    const auto value = velalib::queryVersionString(info, velalib::kVersionStringTable,
                                                   *velalib::versionStringName(index));
    if (value) checkUtf8(*value);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  queryAll(bytes);

  const velalib::SpanSource source(bytes);
  const velalib::VersionLookup lookup = velalib::locateVersionResource(source);
  if (!lookup.location) {
    if (lookup.error.empty()) std::abort();
    return 0;
  }
  const velalib::ResourceLocation where = *lookup.location;
  if (where.size == 0 || where.size > velalib::kMaxVersionInfoSize) std::abort();
  if (where.fileOffset > size || where.size > size - where.fileOffset) std::abort();
  std::vector<uint8_t> info(where.size);
  if (!source.read(where.fileOffset, info.data(), info.size())) std::abort();
  queryAll(info);
  return 0;
}
