// Reading strings from a version resource: the tree of blocks that starts with
// "VS_VERSION_INFO" and holds StringFileInfo\<language and code page>\<name> strings.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velalib {

// The one string table read: U.S. English, Windows Latin-1 code page.
inline constexpr std::string_view kVersionStringTable = "040904E4";

// The names selected by index 1..12, in this order.
inline constexpr std::array<std::string_view, 12> kVersionStringNames = {
    "ProductName",  "ProductVersion", "OriginalFilename", "FileDescription",
    "FileVersion",  "CompanyName",    "LegalCopyright",   "LegalTrademarks",
    "InternalName", "PrivateBuild",   "SpecialBuild",     "Comments"};

// The name for a 1-based index; nothing outside 1..12.
std::optional<std::string_view> versionStringName(int32_t index);

// The value at \StringFileInfo\<table>\<name>, converted from UTF-16 to UTF-8 and ending at its
// first NUL. Keys compare without regard to ASCII case, as the system's query does. Nothing when
// the path is absent or the blocks are inconsistent.
std::optional<std::string> queryVersionString(std::span<const uint8_t> info, std::string_view table,
                                              std::string_view name);

}  // namespace velalib
