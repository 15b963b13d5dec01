#include "host_access.hpp"

#include <algorithm>
#include <cstring>

namespace velalib {

void growArgument(const fox::Params &params, int i, uint32_t extra,
                  std::string_view failureMessage) {
  const FoxValue &value = params.raw(i);
  if (value.ev_type != 'C' || value.ev_handle == 0) return;
  const uint64_t wanted = uint64_t{value.ev_length} + extra;
  FoxServiceArgs args{};
  args.code = FOX_HANDLE_RESIZE;
  args.handle = value.ev_handle;
  args.a = wanted > INT32_MAX ? -1 : static_cast<int32_t>(wanted);
  if (args.a >= 0) fox::callHost(args);
  if (args.a < 0 || args.result == 0) {
    if (failureMessage.empty()) fox::raiseError(FOX_ERR_NO_MEMORY);
    fox::raiseUserError(failureMessage);
  }
}

std::optional<Rect> windowRect(int32_t systemWindow) {
  FoxServiceArgs args{};
  args.code = FOX_WINDOW_RECT;
  args.a = systemWindow;
  try {
    fox::callHost(args);
  } catch (const fox::HostError &) {
    return std::nullopt;  // placement is a courtesy; a host without it still gets its dialog
  }
  if (args.result == 0) return std::nullopt;
  return Rect{args.a, args.b, args.c, args.d};
}

void returnTextThroughWorkHandle(std::string_view text, uint64_t size) {
  if (size > UINT32_MAX) fox::raiseError(FOX_ERR_NO_MEMORY);
  fox::WorkHandle work(static_cast<uint32_t>(std::max<uint64_t>(size, text.size())));
  char *buffer = work.data();
  if (!text.empty()) std::memcpy(buffer, text.data(), text.size());
  fox::returnText(std::string_view(buffer, text.size()));
}

}  // namespace velalib
