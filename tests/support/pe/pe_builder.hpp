// Builds small Windows PE files with a version resource, for the tests of the version reader.
// The layout is fixed and reported back, so tests can corrupt chosen fields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velalib::testing {

// One string table of StringFileInfo: its language/code-page key and its strings (UTF-8 here).
struct VersionTable {
  std::string key = "040904E4";
  std::vector<std::pair<std::string, std::string>> strings;
};

struct VersionInfoOptions {
  std::vector<VersionTable> tables;
  bool varFileInfoFirst = false;  // the Translation block before the strings
  bool lengthInBytes = false;     // string value lengths counted in bytes, as some tools do
};

struct PeOptions {
  bool pe32Plus = false;
  VersionInfoOptions version;
  bool withVersion = true;     // a version resource at all
  uint32_t versionNameId = 1;  // the name id of the version resource
};

// Where things are in the built file (file offsets).
struct PeLayout {
  std::vector<uint8_t> bytes;
  size_t peHeader = 0;  // "PE\0\0"
  size_t optionalHeader = 0;
  size_t sectionTable = 0;
  size_t resourceSection = 0;   // the resource directory's first byte
  size_t versionDataEntry = 0;  // the 16-byte data entry of the version resource
  size_t versionData = 0;       // VS_VERSIONINFO
  size_t versionSize = 0;
};

std::vector<uint8_t> buildVersionInfo(const VersionInfoOptions &options);
PeLayout buildPe(const PeOptions &options);
// Writes `bytes` to the file `path` (replacing it); false when it cannot.
bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes);
// Writes a little-endian 16-bit value at `at`, for corrupting a built file.
void put16(std::vector<uint8_t> &bytes, size_t at, uint16_t value);

}  // namespace velalib::testing
