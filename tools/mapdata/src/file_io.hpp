// Whole-file reads and atomic writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mapdata {

// Throws std::runtime_error naming the file when it cannot be read.
std::vector<std::uint8_t> readFileBytes(const std::string& path);

// Writes to path + ".tmp" and renames it over path, so a failed run never leaves half a file.
// Throws std::runtime_error naming the file on failure.
void writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace mapdata
