#pragma once

// Command line of orbelle-render, the headless map renderer:
//
//   orbelle-render [options] OUTPUT.bmp|OUTPUT.png
//     --lat DEG        station latitude, -90..90 (default 33.9)
//     --lon DEG        station longitude, -180..180 (default -84.179)
//     --radius MILES   map radius, whole miles 1..32767 (default 12437, the whole Earth)
//     --size PIXELS    side of the square surface, 1..8192 (default 600)
//     --rivers         draw the rivers (default: not drawn)
//     --sun [UTC]      draw the sun and the gray line for a UTC instant "YYYY-MM-DD HH:MM:SS"
//                      or "YYYY-MM-DDTHH:MM:SS" (default: now)
//     --path LAT LON   draw the path line from the station to (LAT, LON)
//     --threads N      threads projecting outline vertices, 1..16 (default 2)
//     --help

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orbelle::app {

struct UtcInstant {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

struct RenderOptions {
  double lat = 33.9;
  double lon = -84.179;
  std::int16_t radiusMiles = 12437;
  int sizePixels = 600;
  bool rivers = false;
  bool sun = false;
  std::optional<UtcInstant> sunAt;  // none: the current time
  std::optional<std::pair<double, double>> pathTo;
  unsigned threads = 2;
  std::string output;
  bool help = false;
};

enum class PictureFormat { Bmp, Png };

inline constexpr int kMaxRenderSize = 8192;
inline constexpr unsigned kMaxRenderThreads = 16;

// Parses the arguments after the program name. Throws std::invalid_argument with a message
// naming the option and the fault.
RenderOptions parseRenderOptions(const std::vector<std::string>& args);

// The picture format named by the output file's extension (case-blind); throws
// std::invalid_argument for any other extension.
PictureFormat formatOf(const std::string& path);

std::string usageText();

}  // namespace orbelle::app
