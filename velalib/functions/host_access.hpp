// Small host operations shared by the functions of the library.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "file_dialog_plan.hpp"
#include "foxlib.hpp"

namespace velalib {

// Grows the handle behind text argument `i` by `extra` bytes, as is done before a text is
// NUL-terminated in place. When the host cannot grow it, the call ends: with a user error when
// `failureMessage` is given, else with host error 182 (out of memory). An empty text without a
// handle needs no growth.
void growArgument(const fox::Params &params, int i, uint32_t extra,
                  std::string_view failureMessage = {});

// The rectangle of a system window in pixels; handle 0 gives the screen. Nothing when the host
// knows no such window.
std::optional<Rect> windowRect(int32_t systemWindow);

// A character result built in a work handle: `size` bytes are reserved first (host error 182
// when the host has none), the text is copied there and handed to the host from it.
void returnTextThroughWorkHandle(std::string_view text, uint64_t size);

}  // namespace velalib
