#pragma once

// The writers the crash tests kill: a process that rewrites "orbelle.ini" or "MapCache.bmp"
// through the window's own write code, over and over, alternating between two known contents.

#include <string>
#include <string_view>

#include "model/settings_file.hpp"
#include "raster/surface.hpp"

namespace orbelle::reliability {

// The test program runs as a writer when started with this flag, a kind and a file path.
inline constexpr std::string_view kWriterFlag = "--crash-writer";
inline constexpr std::string_view kIniWriter = "ini";
inline constexpr std::string_view kCacheWriter = "cache";
// The writer writes one byte to this descriptor when its loop begins.
inline constexpr int kReadyFd = 3;

// Two sets of window settings that differ in every key.
model::StoredSettings settingsA();
model::StoredSettings settingsB();

// Two maps of the window's default size that differ in most pixels.
raster::Surface mapA();
raster::Surface mapB();

// Rewrites the file at path forever: settings B then A (kIniWriter), or map B then A
// (kCacheWriter). Returns 2 for an unknown kind.
int runWriter(std::string_view kind, const std::string& path);

}  // namespace orbelle::reliability
