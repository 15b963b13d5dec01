#include "render_options.hpp"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "ini/date_time.hpp"

namespace orbelle::app {

namespace {

[[noreturn]] void fail(const std::string& message) { throw std::invalid_argument(message); }

double parseNumber(const std::string& option, const std::string& text) {
  double value = 0.0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || !std::isfinite(value)) {
    fail(option + ": \"" + text + "\" is not a number");
  }
  return value;
}

double parseInRange(const std::string& option, const std::string& text, double lo, double hi) {
  const double value = parseNumber(option, text);
  if (value < lo || value > hi) {
    char range[64];
    std::snprintf(range, sizeof range, "%g..%g", lo, hi);
    fail(option + ": " + text + " is outside " + range);
  }
  return value;
}

long parseWhole(const std::string& option, const std::string& text, long lo, long hi) {
  long value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last)
    fail(option + ": \"" + text + "\" is not a whole number");
  if (value < lo || value > hi) {
    fail(option + ": " + text + " is outside " + std::to_string(lo) + ".." + std::to_string(hi));
  }
  return value;
}

bool looksLikeInstant(const std::string& text) {
  return text.size() >= 10 && std::isdigit(static_cast<unsigned char>(text[0])) && text[4] == '-';
}

// A day past the end of its month carries into the next one in the calendar's date serial.
bool dayIsInItsMonth(const UtcInstant& t) {
  return toCivil(DateSerial(t.year, t.month, t.day)).day == t.day;
}

UtcInstant parseInstant(const std::string& text) {
  UtcInstant t;
  char separator = 0;
  char rest = 0;
  const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%c", &t.year, &t.month,
                                 &t.day, &separator, &t.hour, &t.minute, &t.second, &rest);
  const bool ok = fields == 7 && (separator == ' ' || separator == 'T') && t.year >= 1 &&
                  t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 &&
                  t.hour >= 0 && t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 &&
                  t.second <= 59 && dayIsInItsMonth(t);
  if (!ok) fail("--sun: \"" + text + "\" is not a UTC instant YYYY-MM-DD HH:MM:SS");
  return t;
}

}  // namespace

PictureFormat formatOf(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of('/');
  std::string extension;
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) {
    extension = path.substr(dot + 1);
  }
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == "bmp") return PictureFormat::Bmp;
  if (extension == "png") return PictureFormat::Png;
  fail(path + ": the output must end in .bmp or .png");
}

RenderOptions parseRenderOptions(const std::vector<std::string>& args) {
  RenderOptions options;
  auto value = [&](std::size_t& i) -> const std::string& {
    if (i + 1 >= args.size()) fail(args[i] + ": a value is missing");
    return args[++i];
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
    } else if (arg == "--lat") {
      options.lat = parseInRange(arg, value(i), -90.0, 90.0);
    } else if (arg == "--lon") {
      options.lon = parseInRange(arg, value(i), -180.0, 180.0);
    } else if (arg == "--radius") {
      options.radiusMiles = static_cast<std::int16_t>(parseWhole(arg, value(i), 1, 32767));
    } else if (arg == "--size") {
      options.sizePixels = static_cast<int>(parseWhole(arg, value(i), 1, kMaxRenderSize));
    } else if (arg == "--rivers") {
      options.rivers = true;
    } else if (arg == "--sun") {
      options.sun = true;
      if (i + 1 < args.size() && looksLikeInstant(args[i + 1])) {
        options.sunAt = parseInstant(args[++i]);
      }
    } else if (arg == "--path") {
      const double lat = parseInRange(arg, value(i), -90.0, 90.0);
      const double lon = parseInRange(arg, value(i), -180.0, 180.0);
      options.pathTo = std::pair{lat, lon};
    } else if (arg == "--threads") {
      options.threads = static_cast<unsigned>(parseWhole(arg, value(i), 1, kMaxRenderThreads));
    } else if (arg.size() > 1 && arg[0] == '-' &&
               !std::isdigit(static_cast<unsigned char>(arg[1]))) {
      fail(arg + ": unknown option");
    } else if (options.output.empty()) {
      options.output = arg;
    } else {
      fail(arg + ": only one output file may be given");
    }
  }
  if (!options.help) {
    if (options.output.empty()) fail("no output file given");
    formatOf(options.output);
  }
  return options;
}

std::string usageText() {
  return "usage: orbelle-render [options] OUTPUT.bmp|OUTPUT.png\n"
         "  --lat DEG        station latitude, -90..90 (default 33.9)\n"
         "  --lon DEG        station longitude, -180..180 (default -84.179)\n"
         "  --radius MILES   map radius in whole miles, 1..32767 (default 12437, whole Earth)\n"
         "  --size PIXELS    side of the square map, 1..8192 (default 600)\n"
         "  --rivers         draw the rivers\n"
         "  --sun [UTC]      draw the sun and gray line for \"YYYY-MM-DD HH:MM:SS\" UTC (default "
         "now)\n"
         "  --path LAT LON   draw the path line from the station to LAT, LON\n"
         "  --threads N      threads projecting outline vertices, 1..16 (default 2)\n"
         "The outline files are read from the folder mapdata beside the program, or else from\n"
         "share/orbelle/mapdata of the prefix it is installed in.\n";
}

}  // namespace orbelle::app
