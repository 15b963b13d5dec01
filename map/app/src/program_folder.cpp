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

std::string dataFolder(const std::string& programFolder) {
  namespace fs = std::filesystem;
  if (programFolder.empty()) return {};
  std::error_code error;
  const fs::path program(programFolder);
  if (fs::is_directory(program / "mapdata", error)) return programFolder;
  const fs::path installed = program.parent_path() / "share" / "orbelle";
  if (fs::is_directory(installed / "mapdata", error)) return installed.string();
  return programFolder;
}

}  // namespace orbelle::app
