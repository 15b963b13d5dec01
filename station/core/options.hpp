#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/heading.hpp"
#include "core/option_values.hpp"
#include "core/spot_filter.hpp"

// The station's options, from its command line and from an INI file of its own (section
// "[station]", one key per long option name without "--"). The command line wins over the file.

namespace orbelle::station {

inline constexpr std::string_view kProgramName = "orbelle-station";
inline constexpr std::string_view kIniSection = "station";
inline constexpr std::string_view kConfigFileName = "orbelle-station.ini";
inline constexpr std::string_view kDefaultCtyFile = "/usr/share/hamradio-files/cty.dat";
inline constexpr int kDefaultClusterPort = 7300;
// Repeats of a station on a band within this window count once unless --dedupe says otherwise.
inline constexpr std::int64_t kDefaultDedupeMs = 10 * 60'000;

// The map's own bounds for its radius and its UTC offset field.
inline constexpr int kMinMaxDxMi = 100;
inline constexpr int kMaxMaxDxMi = 12437;
inline constexpr int kMaxUtcOffsetHours = 24;

struct Options {
  std::optional<double> latitude;   // degrees, north positive
  std::optional<double> longitude;  // degrees, east positive
  std::optional<int> maxDxMi;
  std::optional<int> utcOffset;  // hours added to local time to give UTC
  std::optional<Endpoint> rotctld;
  RotatorRange rotatorRange = RotatorRange::From0To360;
  std::optional<Endpoint> rigctld;
  std::optional<Endpoint> cluster;
  std::string call;
  std::string clusterPassword;
  std::vector<std::string> clusterCommands;
  std::optional<Endpoint> wsjtx;
  std::string ctyFile{kDefaultCtyFile};
  SpotFilter filter;
  std::int64_t maxAgeMs = 0;  // 0: spots stay until newer ones push them out
  std::int64_t dedupeMs = kDefaultDedupeMs;
  bool verbose = false;
};

// One option and its value as given, and where it came from (for messages).
struct Setting {
  std::string name;  // long name without "--"
  std::string value;
  std::string origin;  // "--rotctld" or "station.ini: rotctld"
};

struct CommandLine {
  std::vector<Setting> settings;
  std::optional<std::string> configFile;
  bool help = false;
  bool version = false;
  std::string error;  // not empty when the command line cannot be used
};

// "--name value" or "--name=value"; flags take no value.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// The settings of the "[station]" section of an INI file's text; `fileName` names them in
// messages. Unknown keys are an error: a misspelt key would otherwise be silently ignored.
std::vector<Setting> settingsFromIni(std::string_view text, std::string_view fileName,
                                     std::string& error);

// Applies the settings in order, later ones winning (file first, then the command line). False
// with a message naming the setting when a value is not acceptable or options do not fit
// together (a cluster without a call sign). Lists (bands, modes, continents) given again replace
// the earlier list; an empty list or "all" takes every value.
bool applySettings(const std::vector<Setting>& settings, Options& options, std::string& error);

// The INI file read when --config is not given: $XDG_CONFIG_HOME/orbelle-station.ini, or
// $HOME/.config/orbelle-station.ini when XDG_CONFIG_HOME is unset or empty; "" without either.
std::string defaultConfigFile(std::string_view xdgConfigHome, std::string_view home);

// The text of --help, listing every option.
std::string helpText();

}  // namespace orbelle::station
