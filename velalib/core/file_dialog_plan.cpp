#include "file_dialog_plan.hpp"

#include <algorithm>
#include <cstdint>

#include "conversions.hpp"

namespace velalib {

namespace {

std::string cut(std::string_view text, size_t limit) {
  text = untilNul(text);
  return std::string(text.substr(0, limit));
}

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

std::vector<std::string> splitPatterns(std::string_view patterns) {
  std::vector<std::string> out;
  while (true) {
    const size_t semicolon = patterns.find(';');
    const std::string_view one = trimBlanks(patterns.substr(0, semicolon));
    if (!one.empty()) out.emplace_back(one == kDefaultFilter ? std::string_view("*") : one);
    if (semicolon == std::string_view::npos) break;
    patterns.remove_prefix(semicolon + 1);
  }
  return out;
}

}  // namespace

std::vector<FileFilter> parseFilterList(std::string_view filter) {
  std::string list(filter);
  if (list.find('|') == std::string::npos) list = list + '|' + list;
  list += '|';
  std::vector<FileFilter> filters;
  size_t at = 0;
  while (at < list.size()) {
    const size_t descriptionEnd = list.find('|', at);
    if (descriptionEnd == at) break;  // an empty description ends the list
    const size_t patternStart = descriptionEnd + 1;
    size_t patternEnd = list.find('|', patternStart);
    if (patternEnd == std::string::npos) patternEnd = list.size();
    FileFilter entry;
    entry.description = list.substr(at, descriptionEnd - at);
    entry.patterns =
        splitPatterns(std::string_view(list).substr(patternStart, patternEnd - patternStart));
    if (!entry.patterns.empty()) filters.push_back(std::move(entry));
    at = patternEnd + 1;
  }
  return filters;
}

FileDialogPlan planFileDialog(const FileSelArguments &arguments) {
  FileDialogPlan plan;
  plan.title = cut(arguments.title.value_or(std::string()), kTitleLimit);

  std::string filter = cut(arguments.filter.value_or(std::string()), kFilterLimit);
  if (filter.empty()) filter = kDefaultFilter;
  if (filter.find('|') == std::string::npos)
    filter.resize(std::min(filter.size(), kSingleFilterLimit));
  plan.filters = parseFilterList(filter);

  plan.folder = cut(arguments.folder.value_or(std::string()), kFolderLimit);
  plan.fileName = cut(arguments.fileName.value_or(std::string()), kFileNameLimit);

  plan.options = arguments.options.value_or(0);
  uint32_t flags = dialog_flag::kBase;
  if (plan.options & dialog_option::kFileMustExist) flags |= dialog_flag::kFileMustExist;
  if (plan.options & dialog_option::kCreatePrompt) flags |= dialog_flag::kCreatePrompt;
  if (plan.options & dialog_option::kOverwritePrompt) flags |= dialog_flag::kOverwritePrompt;
  flags |= static_cast<uint32_t>(arguments.extraFlags.value_or(0));
  plan.flags = flags;
  if (plan.options & dialog_option::kDefaultExtension) {
    plan.defaultExtension = kOptionDefaultExtension;
  }

  plan.okCaption = cut(arguments.okCaption.value_or(std::string()), kOkCaptionLimit);
  plan.owner = arguments.owner;
  return plan;
}

Point centreDialog(const Rect &owner, int32_t dialogWidth, int32_t dialogHeight,
                   const Rect &screen) {
  // 64-bit arithmetic: the rectangles come from outside and may be anything.
  auto place = [](int64_t ownerStart, int64_t ownerSize, int64_t size, int64_t screenEnd) {
    int64_t start = ownerStart + (ownerSize - size) / 2;  // division truncates toward zero
    if (start < 0) start = 0;
    if (start + size > screenEnd) start = screenEnd - size;
    if (start < INT32_MIN) start = INT32_MIN;
    if (start > INT32_MAX) start = INT32_MAX;
    return static_cast<int32_t>(start);
  };
  const int64_t screenRight = int64_t{screen.left} + screen.width;
  const int64_t screenBottom = int64_t{screen.top} + screen.height;
  return Point{place(owner.left, owner.width, dialogWidth, screenRight),
               place(owner.top, owner.height, dialogHeight, screenBottom)};
}

}  // namespace velalib
