#include "program_folder.hpp"

#include <filesystem>
#include <system_error>

namespace orbelle::app {

std::string programFolder() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", error);
  if (error) return {};
  return self.parent_path().string();
}

}  // namespace orbelle::app
