#pragma once

// What main() of the reliability tests needs from the tests, and what the tests share.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace orbelle::reliability {

// Started with this flag, a file kind and a path, the test program is the writer the crash tests
// kill: it rewrites that file forever. Returns 2 for an unknown kind.
inline constexpr std::string_view kWriterFlag = "--crash-writer";
int runWriter(std::string_view kind, const std::string& path);

inline std::string fileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace orbelle::reliability
