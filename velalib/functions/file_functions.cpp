// file_sel (the file open/save dialog) and VER_GETFILEVERSIONINFO (file version strings).
#include <cstring>
#include <optional>
#include <span>
#include <string>

#include "conversions.hpp"
#include "file_dialog_plan.hpp"
#include "file_sel_dialog.hpp"
#include "file_source.hpp"
#include "foxlib.hpp"
#include "functions.hpp"
#include "host_access.hpp"
#include "pe_image.hpp"
#include "version_info.hpp"
#include "widget_application.hpp"

namespace velalib::entry {

namespace {

std::optional<std::string> optionalText(const fox::Params &params, int i) {
  if (!params.has(i)) return std::nullopt;
  return params.text(i);
}

std::optional<int32_t> optionalInteger(const fox::Params &params, int i) {
  if (!params.has(i)) return std::nullopt;
  return params.integer(i);
}

// The version string `name` of the file at `path`; empty when there is none to read.
std::string versionString(const std::string &path, std::string_view name) {
  const FileSource file(path);
  if (!file.isOpen()) return {};
  const VersionLookup lookup = locateVersionResource(file);
  if (!lookup.location) return {};
  // The resource is read into a work handle of its size (host error 182 when there is none).
  fox::WorkHandle info(lookup.location->size);
  char *bytes = info.data();
  std::memset(bytes, 0, lookup.location->size);
  if (!file.read(lookup.location->fileOffset, bytes, lookup.location->size)) return {};
  const auto value =
      queryVersionString(std::span(reinterpret_cast<const uint8_t *>(bytes), lookup.location->size),
                         kVersionStringTable, name);
  return value.value_or(std::string());
}

}  // namespace

void file_sel(FoxParamBlock *block) {
  const fox::Params params(block);
  FileSelArguments arguments;
  arguments.title = optionalText(params, 0);
  arguments.filter = optionalText(params, 1);
  arguments.folder = optionalText(params, 2);
  arguments.fileName = optionalText(params, 3);
  arguments.options = optionalInteger(params, 4);
  arguments.extraFlags = optionalInteger(params, 5);
  arguments.okCaption = optionalText(params, 6);
  arguments.owner = optionalInteger(params, 7);
  const FileDialogPlan plan = planFileDialog(arguments);

  const std::string unavailable = ensureWidgetApplication();
  if (!unavailable.empty()) fox::raiseUserError(unavailable);

  const int32_t owner = plan.owner ? *plan.owner : fox::systemWindow(fox::mainWindow());
  DialogPlacement placement;
  if (owner != 0) placement.owner = windowRect(owner);
  placement.screen = windowRect(0);
  fox::returnText(runFileSelDialog(plan, placement));
}

void VER_GETFILEVERSIONINFO(FoxParamBlock *block) {
  const fox::Params params(block);
  growArgument(params, 0, 1);  // room for the NUL of the file name; host error 182 when none
  const std::string path(untilNul(params.text(0)));
  const auto name = versionStringName(params.integer(1));
  fox::returnText(name ? versionString(path, *name) : std::string());
}

}  // namespace velalib::entry
