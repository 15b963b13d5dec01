#include "core/options.hpp"

#include <algorithm>
#include <array>

#include "core/call_sign.hpp"
#include "core/hamlib.hpp"
#include "core/option_values.hpp"
#include "core/text.hpp"
#include "ini/ini_document.hpp"

namespace orbelle::station {
namespace {

struct OptionInfo {
  std::string_view name;
  std::string_view argument;  // "" for a flag
  std::string_view help;
};

// The one list of options: parsing, the INI keys and --help all come from it.
constexpr std::array<OptionInfo, 23> kOptions{{
    {"config", "FILE",
     "Read options from FILE (section [station], keys named as the long options). Default: "
     "$XDG_CONFIG_HOME/orbelle-station.ini, when it exists. Options given here win."},
    {"call", "CALL", "Your call sign; the cluster log-in uses it."},
    {"latitude", "DEG", "Station latitude, degrees north (-90 to 90; south negative)."},
    {"longitude", "DEG", "Station longitude, degrees east (-180 to 180; west negative)."},
    {"max-dx-mi", "MILES", "Map radius in statute miles (100 to 12437)."},
    {"utc-offset", "HOURS",
     "Hours added to local time to give UTC (-24 to 24). Default: from the system's time zone."},
    {"rotctld", "HOST[:PORT]",
     "Turn the rotator through rotctld there (port 4533 by default). Not used when absent."},
    {"rotator-stop", "north|south",
     "Where the rotator's end stop is: north sends azimuths 0 to 359.9 (the default), south "
     "sends -180 to 179.9."},
    {"rigctld", "HOST[:PORT]",
     "Tune the rig through rigctld there (port 4532 by default). Not used when absent."},
    {"cluster", "HOST[:PORT]",
     "Read spots from the DX cluster there (port 7300 by default). Needs --call."},
    {"cluster-password", "TEXT", "Password to give when the cluster asks for one."},
    {"cluster-command", "TEXT",
     "Command to send to the cluster after logging in; may be repeated, and ';' separates "
     "several commands in one value."},
    {"wsjtx", "[ADDRESS:]PORT",
     "Show the decodes of WSJT-X (or a program that speaks its UDP protocol) sent to PORT at "
     "ADDRESS (127.0.0.1 when absent; a multicast group is joined; 0.0.0.0 listens on every "
     "address). WSJT-X's default is 127.0.0.1:2237."},
    {"bands", "LIST",
     "Show only spots on these bands, e.g. \"20m,40m,6m\" (160m to 70cm, 2200m and 630m). "
     "Default: all."},
    {"modes", "LIST", "Show only spots in these modes, e.g. \"CW,FT8\" (SSB takes USB and LSB)."},
    {"dx-continents", "LIST",
     "Show only spotted stations on these continents (AF, AN, AS, EU, NA, OC, SA)."},
    {"spotter-continents", "LIST", "Show only spots made by spotters on these continents."},
    {"max-age", "TIME",
     "Remove spots from the map once they are older than TIME: minutes, or a number with s, m "
     "or h (\"90s\", \"2h\"); at most a day. Default: 0, spots stay until newer ones push them "
     "out."},
    {"dedupe", "TIME",
     "Spots of the same call on the same band within TIME count once; the newest spotter is "
     "shown. Same units as --max-age; 0 turns it off. Default: 10 minutes."},
    {"cty", "FILE",
     "Country file that places spotted stations (default /usr/share/hamradio-files/cty.dat, "
     "from the hamradio-files package)."},
    {"verbose", "",
     "Report every spot (and why one is not shown), callback and daemon command on standard "
     "error."},
    {"help", "", "Show this text and exit."},
    {"version", "", "Show the version and exit."},
}};

const OptionInfo* findOption(std::string_view name) {
  const auto it = std::find_if(kOptions.begin(), kOptions.end(),
                               [name](const OptionInfo& o) { return o.name == name; });
  return it == kOptions.end() ? nullptr : &*it;
}

bool isCommandLineOnly(std::string_view name) {
  return name == "config" || name == "help" || name == "version";
}

std::string wrap(std::string_view text, std::size_t indent, std::size_t width) {
  std::string out;
  std::size_t column = indent;
  for (std::string_view word : words(text)) {
    if (column > indent && column + 1 + word.size() > width) {
      out += "\n" + std::string(indent, ' ');
      column = indent;
    } else if (column > indent) {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
  }
  return out;
}

// Applies one setting; "" on success, else what is wrong with its value.
std::string applyOne(const Setting& s, Options& o) {
  const std::string_view v = s.value;
  const std::string_view n = s.name;
  if (n == "call") {
    const std::string call = upperAscii(trimBlanks(v));
    if (!isCallSignWord(call)) return "is not a call sign";
    o.call = call;
  } else if (n == "latitude") {
    if (!readDegrees(v, 90.0, o.latitude)) return "must be degrees from -90 to 90";
  } else if (n == "longitude") {
    if (!readDegrees(v, 180.0, o.longitude)) return "must be degrees from -180 to 180";
  } else if (n == "max-dx-mi") {
    if (!readWhole(v, kMinMaxDxMi, kMaxMaxDxMi, o.maxDxMi)) {
      return "must be whole miles from 100 to 12437";
    }
  } else if (n == "utc-offset") {
    if (!readWhole(v, -kMaxUtcOffsetHours, kMaxUtcOffsetHours, o.utcOffset)) {
      return "must be whole hours from -24 to 24";
    }
  } else if (n == "rotctld" || n == "rigctld" || n == "cluster") {
    const int port = n == "rotctld"   ? hamlib::kDefaultRotctldPort
                     : n == "rigctld" ? hamlib::kDefaultRigctldPort
                                      : kDefaultClusterPort;
    std::optional<Endpoint> endpoint = parseEndpoint(trimBlanks(v), port);
    if (!endpoint) return "must be HOST or HOST:PORT with a port from 1 to 65535";
    (n == "rotctld" ? o.rotctld : n == "rigctld" ? o.rigctld : o.cluster) = std::move(endpoint);
  } else if (n == "rotator-stop") {
    const std::string word = upperAscii(trimBlanks(v));
    if (word == "NORTH") {
      o.rotatorRange = RotatorRange::From0To360;
    } else if (word == "SOUTH") {
      o.rotatorRange = RotatorRange::FromMinus180To180;
    } else {
      return "must be north or south";
    }
  } else if (n == "cluster-password") {
    o.clusterPassword = std::string(v);
  } else if (n == "cluster-command") {
    for (std::string& command : splitCommands(v)) o.clusterCommands.push_back(std::move(command));
  } else if (n == "wsjtx") {
    std::optional<Endpoint> endpoint = parseListenAddress(trimBlanks(v));
    if (!endpoint) return "must be PORT or ADDRESS:PORT with a numeric address";
    o.wsjtx = std::move(endpoint);
  } else if (n == "bands") {
    if (!readList(v, o.filter.bands, bandItem)) return "must list bands such as 20m,40m";
  } else if (n == "modes") {
    if (!readList(v, o.filter.modes, modeItem)) return "must list modes such as CW,FT8";
  } else if (n == "dx-continents" || n == "spotter-continents") {
    auto& list = n == "dx-continents" ? o.filter.dxContinents : o.filter.spotterContinents;
    if (!readList(v, list, continentItem)) return "must list continents: AF AN AS EU NA OC SA";
  } else if (n == "max-age" || n == "dedupe") {
    if (!readDuration(v, n == "max-age" ? o.maxAgeMs : o.dedupeMs)) {
      return "must be minutes, or a number with s, m or h, up to a day";
    }
  } else if (n == "cty") {
    if (trimBlanks(v).empty()) return "must name a file";
    o.ctyFile = std::string(trimBlanks(v));
  } else if (n == "verbose") {
    if (!readBoolean(v, o.verbose)) return "must be yes or no";
  } else {
    return "is not an option";
  }
  return {};
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine out;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument.size() < 3 || argument.compare(0, 2, "--") != 0) {
      out.error = "unexpected argument \"" + argument + "\" (options start with --)";
      return out;
    }
    const std::size_t equals = argument.find('=');
    const std::string name =
        argument.substr(2, equals == std::string::npos ? std::string::npos : equals - 2);
    const OptionInfo* option = findOption(name);
    if (!option) {
      out.error = "unknown option --" + name;
      return out;
    }
    std::string value;
    if (option->argument.empty()) {
      if (equals != std::string::npos) {
        out.error = "--" + name + " takes no value";
        return out;
      }
      value = "yes";
    } else if (equals != std::string::npos) {
      value = argument.substr(equals + 1);
    } else if (i + 1 < arguments.size()) {
      value = arguments[++i];
    } else {
      out.error = "--" + name + " needs a value (" + std::string(option->argument) + ")";
      return out;
    }
    if (name == "help") {
      out.help = true;
    } else if (name == "version") {
      out.version = true;
    } else if (name == "config") {
      out.configFile = value;
    } else {
      out.settings.push_back({name, value, "--" + name});
    }
  }
  return out;
}

std::vector<Setting> settingsFromIni(std::string_view text, std::string_view fileName,
                                     std::string& error) {
  std::vector<Setting> out;
  // Every "key=" line of the section must name an option; IniDocument then reads the values
  // with the settings store's rules (names without regard to case, the first occurrence wins).
  bool inSection = false;
  std::size_t lineNumber = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = trimBlanks(text.substr(start, end - start));
    start = end + 1;
    ++lineNumber;
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      inSection = close != std::string_view::npos &&
                  upperAscii(trimBlanks(line.substr(1, close - 1))) == upperAscii(kIniSection);
      continue;
    }
    if (!inSection) continue;
    const std::size_t equals = line.find('=');
    const std::string key = std::string(trimBlanks(line.substr(0, equals)));
    std::string lower = key;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    if (equals == std::string_view::npos || !findOption(lower) || isCommandLineOnly(lower)) {
      error = std::string(fileName) + " line " + std::to_string(lineNumber) + ": \"" + key +
              "\" is not a station option";
      return {};
    }
  }
  const IniDocument document(text);
  for (const OptionInfo& option : kOptions) {
    if (isCommandLineOnly(option.name)) continue;
    if (std::optional<std::string> value = document.value(kIniSection, option.name)) {
      out.push_back({std::string(option.name), *value,
                     std::string(fileName) + ": " + std::string(option.name)});
    }
  }
  return out;
}

bool applySettings(const std::vector<Setting>& settings, Options& options, std::string& error) {
  for (const Setting& setting : settings) {
    const std::string fault = applyOne(setting, options);
    if (!fault.empty()) {
      error = setting.origin + " \"" + setting.value + "\" " + fault;
      return false;
    }
  }
  if (options.cluster && options.call.empty()) {
    error = "--cluster needs --call: the cluster log-in is your call sign";
    return false;
  }
  return true;
}

std::string defaultConfigFile(std::string_view xdgConfigHome, std::string_view home) {
  if (!xdgConfigHome.empty())
    return std::string(xdgConfigHome) + "/" + std::string(kConfigFileName);
  if (!home.empty()) return std::string(home) + "/.config/" + std::string(kConfigFileName);
  return {};
}

std::string helpText() {
  constexpr std::size_t kIndent = 6;
  constexpr std::size_t kWidth = 79;
  std::string out =
      "Usage: orbelle-station [OPTION]...\n"
      "Runs the orbelle map as a station: places the map at your station, turns the\n"
      "rotator and tunes the rig (through Hamlib's rotctld and rigctld) when you click\n"
      "on the map or on a spot, shows where the antenna points, and shows the spots of\n"
      "a DX cluster and the decodes of WSJT-X on the map.\n\nOptions:\n";
  for (const OptionInfo& option : kOptions) {
    out += "  --" + std::string(option.name);
    if (!option.argument.empty()) out += " " + std::string(option.argument);
    out += "\n" + std::string(kIndent, ' ') + wrap(option.help, kIndent, kWidth) + "\n";
  }
  out +=
      "\n"
      "A left click on the map turns the rotator to that bearing, a right click to the\n"
      "long path; a click on a spot also tunes the rig to the spot's frequency and\n"
      "mode (with split when the spot's comment asks for it); the map's stop button\n"
      "stops the rotator. Problems with the daemons or the cluster are reported here\n"
      "and retried; the station keeps running. Ctrl+C ends it and releases the map.\n";
  return out;
}

}  // namespace orbelle::station
