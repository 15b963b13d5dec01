// What the file dialog shows and how it behaves, worked out from the eight optional arguments
// of file_sel, without any window system. The dialog code only carries the plan out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velalib {

// Dialog flags (the system's open/save flag values, kept because callers pass them in the
// sixth argument).
namespace dialog_flag {
inline constexpr uint32_t kOverwritePrompt = 0x2;
inline constexpr uint32_t kHideReadOnly = 0x4;
inline constexpr uint32_t kNoChangeDir = 0x8;
inline constexpr uint32_t kEnableHook = 0x20;
inline constexpr uint32_t kEnableTemplate = 0x40;
inline constexpr uint32_t kPathMustExist = 0x800;
inline constexpr uint32_t kFileMustExist = 0x1000;
inline constexpr uint32_t kCreatePrompt = 0x2000;
inline constexpr uint32_t kExplorer = 0x80000;
// Explorer style, hook, custom template, hidden read-only box, path must exist, current
// folder left alone.
inline constexpr uint32_t kBase =
    kExplorer | kEnableHook | kEnableTemplate | kHideReadOnly | kPathMustExist | kNoChangeDir;
static_assert(kBase == 0x8086C);
}  // namespace dialog_flag

// Option flags of the fifth argument.
namespace dialog_option {
inline constexpr int32_t kFileMustExist = 0x1;
inline constexpr int32_t kCreatePrompt = 0x2;
inline constexpr int32_t kOverwritePrompt = 0x4;
inline constexpr int32_t kDefaultExtension = 0x8;
inline constexpr int32_t kHideFileName = 0x80;
inline constexpr int32_t kHideFileType = 0x100;
inline constexpr int32_t kHideFolder = 0x200;
}  // namespace dialog_option

// The default extension that option flag 8 sets.
inline constexpr std::string_view kOptionDefaultExtension = "x";
inline constexpr std::string_view kDefaultFilter = "*.*";

// Buffer sizes of the arguments; longer arguments are cut to them.
inline constexpr size_t kTitleLimit = 79;
inline constexpr size_t kFilterLimit = 255;
inline constexpr size_t kSingleFilterLimit = 126;  // a filter without "|" is doubled
inline constexpr size_t kFolderLimit = 263;
inline constexpr size_t kFileNameLimit = 260;  // the file buffer holds 261 with its NUL
inline constexpr size_t kOkCaptionLimit = 19;

struct FileSelArguments {
  std::optional<std::string> title;
  std::optional<std::string> filter;
  std::optional<std::string> folder;
  std::optional<std::string> fileName;
  std::optional<int32_t> options;
  std::optional<int32_t> extraFlags;
  std::optional<std::string> okCaption;
  std::optional<int32_t> owner;  // a system window handle
};

// One entry of the file-type list: what the operator reads and the patterns it stands for.
struct FileFilter {
  std::string description;
  std::vector<std::string> patterns;
};

struct FileDialogPlan {
  std::string title;
  std::vector<FileFilter> filters;
  std::string folder;
  std::string fileName;
  int32_t options = 0;
  uint32_t flags = dialog_flag::kBase;
  std::string defaultExtension;
  std::string okCaption;  // empty: the dialog's own caption
  std::optional<int32_t> owner;

  bool saveDialog() const { return (flags & dialog_flag::kOverwritePrompt) != 0; }
  bool fileMustExist() const { return (flags & dialog_flag::kFileMustExist) != 0; }
  bool createPrompt() const { return (flags & dialog_flag::kCreatePrompt) != 0; }
  bool pathMustExist() const { return (flags & dialog_flag::kPathMustExist) != 0; }
  bool hideFileName() const { return (options & dialog_option::kHideFileName) != 0; }
  bool hideFileType() const { return (options & dialog_option::kHideFileType) != 0; }
  bool hideFolder() const { return (options & dialog_option::kHideFolder) != 0; }
};

FileDialogPlan planFileDialog(const FileSelArguments &arguments);

// The file-type list of a filter text: a text without "|" stands for itself as description and
// pattern; otherwise "|" separates descriptions and patterns in turn. The list ends at the first
// empty description; an entry without a pattern is left out. Patterns are separated by ";", and
// "*.*" becomes "*" (every name, with or without a dot).
std::vector<FileFilter> parseFilterList(std::string_view filter);

// ---- placement ------------------------------------------------------------------------------

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
};

struct Point {
  int32_t x = 0;
  int32_t y = 0;
};

// Centres a dialog of the given size over `owner`; a negative coordinate becomes 0, and a dialog
// that would pass the screen's right or bottom edge is moved to end at it. Halving truncates
// toward zero. All in pixels.
Point centreDialog(const Rect &owner, int32_t dialogWidth, int32_t dialogHeight,
                   const Rect &screen);

}  // namespace velalib
