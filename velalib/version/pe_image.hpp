// Finding the version resource in a Windows PE file (PE32 or PE32+): headers, section table,
// and the resource directory down to type 16 (version), name 1, first language. Every offset
// and length taken from the file is checked before it is used.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "byte_source.hpp"

namespace velalib {

struct ResourceLocation {
  uint64_t fileOffset = 0;  // where the resource's bytes begin in the file
  uint32_t size = 0;        // how many of them can be read there (at most kMaxVersionInfoSize)
};

// A version resource describes itself in a 16-bit length, so more than this is never needed.
inline constexpr uint32_t kMaxVersionInfoSize = 0xFFFF;

struct VersionLookup {
  std::optional<ResourceLocation> location;
  std::string error;  // why there is none: names the structure and the fault
};

VersionLookup locateVersionResource(const ByteSource &file);

}  // namespace velalib
