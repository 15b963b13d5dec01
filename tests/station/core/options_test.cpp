#include "core/options.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace orbelle::station {
namespace {

Options applied(const std::vector<Setting>& settings) {
  Options options;
  std::string error;
  EXPECT_TRUE(applySettings(settings, options, error)) << error;
  return options;
}

TEST(CommandLine, ValuesAfterTheNameOrAnEqualsSignAndMistakesNamed) {
  const CommandLine line = parseCommandLine(
      {"--latitude", "52.5", "--longitude=-1.5", "--verbose", "--config", "/tmp/x.ini"});
  ASSERT_EQ(line.error, "");
  ASSERT_EQ(line.settings.size(), 3u);
  EXPECT_EQ(line.settings[0].name + "=" + line.settings[0].value, "latitude=52.5");
  EXPECT_EQ(line.settings[1].value, "-1.5");
  EXPECT_EQ(line.settings[2].name, "verbose");
  EXPECT_EQ(line.configFile, "/tmp/x.ini");
  EXPECT_FALSE(line.help);
  EXPECT_TRUE(parseCommandLine({"--help"}).help);
  EXPECT_TRUE(parseCommandLine({"--version"}).version);
  const std::pair<std::vector<std::string>, const char*> mistakes[] = {
      {{"--lattitude", "5"}, "--lattitude"},
      {{"--latitude"}, "needs a value"},
      {{"--verbose=yes"}, "no value"},
      {{"52.5"}, "52.5"},
      {{"-v"}, "-v"}};
  for (const auto& [arguments, part] : mistakes) {
    EXPECT_NE(parseCommandLine(arguments).error.find(part), std::string::npos) << part;
  }
}

TEST(Options, ValuesAreTakenInTheirForms) {
  const Options o = applied({{"latitude", "-33.9", ""},
                             {"longitude", "151.2", ""},
                             {"max-dx-mi", "12437", ""},
                             {"utc-offset", "-10", ""},
                             {"rotctld", "localhost", ""},
                             {"rigctld", "radio.lan:14532", ""},
                             {"call", "dl1abc", ""},
                             {"cluster", "[::1]:7373", ""},
                             {"rotator-stop", "South", ""},
                             {"cluster-command", "set/dx/filter; sh/dx 5", ""},
                             {"cluster-command", "set/page 0", ""},
                             {"verbose", "yes", ""},
                             {"cty", "/data/cty.dat", ""},
                             {"bands", "20M, 40m 6m", ""},
                             {"modes", "cw,ft8", ""},
                             {"dx-continents", "sa", ""},
                             {"spotter-continents", "EU,NA", ""},
                             {"max-age", "90s", ""},
                             {"dedupe", "0", ""},
                             {"wsjtx", "2237", ""}});
  EXPECT_EQ(std::tie(o.latitude, o.longitude, o.maxDxMi, o.utcOffset),
            std::tuple(-33.9, 151.2, 12437, -10));
  EXPECT_EQ(o.rotctld, (Endpoint{"localhost", 4533}));
  EXPECT_EQ(o.rigctld, (Endpoint{"radio.lan", 14532}));
  EXPECT_EQ(o.cluster->text(), "[::1]:7373");
  EXPECT_EQ(o.call, "DL1ABC");
  EXPECT_EQ(o.rotatorRange, RotatorRange::FromMinus180To180);
  EXPECT_EQ(o.clusterCommands,
            (std::vector<std::string>{"set/dx/filter", "sh/dx 5", "set/page 0"}));
  EXPECT_TRUE(o.verbose);
  EXPECT_EQ(o.ctyFile, "/data/cty.dat");
  EXPECT_EQ(o.filter.bands, (std::vector<std::string>{"20m", "40m", "6m"}));
  EXPECT_EQ(o.filter.modes, (std::vector<std::string>{"CW", "FT8"}));
  EXPECT_EQ(o.filter.dxContinents, std::vector<std::string>{"SA"});
  EXPECT_EQ(o.filter.spotterContinents, (std::vector<std::string>{"EU", "NA"}));
  EXPECT_EQ(std::tie(o.maxAgeMs, o.dedupeMs), std::tuple(90'000, 0));
  EXPECT_EQ(o.wsjtx, (Endpoint{"127.0.0.1", 2237}));
  // A later list replaces the earlier one; "all" takes everything; ages are minutes by default.
  EXPECT_TRUE(applied({{"bands", "20m", ""}, {"bands", "all", ""}}).filter.bands.empty());
  EXPECT_EQ(applied({{"max-age", "30", ""}}).maxAgeMs, 30 * 60'000);
  EXPECT_EQ(applied({{"max-age", "1.5h", ""}}).maxAgeMs, 90 * 60'000);
  EXPECT_EQ(applied({{"wsjtx", "[ff02::1]:2237", ""}}).wsjtx, (Endpoint{"ff02::1", 2237}));
  EXPECT_EQ(applied({{"call", "K1ABC", ""}, {"cluster", "dx.example.org", ""}}).cluster->port,
            kDefaultClusterPort);
}

TEST(Options, ValuesOutOfBoundsAreRefusedNamingWhereTheyCameFrom) {
  const std::pair<const char*, const char*> refused[] = {{"latitude", "90.5"},
                                                         {"longitude", "east"},
                                                         {"max-dx-mi", "99"},
                                                         {"max-dx-mi", "2000.5"},
                                                         {"utc-offset", "25"},
                                                         {"call", "not a call"},
                                                         {"rotator-stop", "east"},
                                                         {"verbose", "maybe"},
                                                         {"cty", " "},
                                                         {"bands", "21m"},
                                                         {"modes", "C-W"},
                                                         {"dx-continents", "EUR"},
                                                         {"max-age", "25h"},
                                                         {"max-age", "-1"},
                                                         {"dedupe", "5x"},
                                                         {"wsjtx", "0"},
                                                         {"wsjtx", "localhost:2237"},
                                                         {"wsjtx", "239.255.0.1"}};
  for (const auto& [name, value] : refused) {
    Options options;
    std::string error;
    EXPECT_FALSE(applySettings({{name, value, "from here"}}, options, error)) << name;
    EXPECT_EQ(error.rfind(std::string("from here \"") + value + "\" ", 0), 0u) << error;
  }
  Options options;
  std::string error;
  EXPECT_FALSE(applySettings({{"cluster", "dx.example.org", ""}}, options, error));
  EXPECT_NE(error.find("--cluster needs --call"), std::string::npos) << error;
}

TEST(Options, EndpointText) {
  EXPECT_EQ(parseEndpoint("::1", 4533), (Endpoint{"::1", 4533}));
  EXPECT_EQ(parseEndpoint("host:65535", 1), (Endpoint{"host", 65535}));
  for (const char* bad : {"", "host:", ":4533", "host:0", "host:65536", "host:+5", "host:-5",
                          "host:x", "[::1", "[::1]x", "[::1]:", "[]:5", "my host:5"}) {
    EXPECT_EQ(parseEndpoint(bad, 4533), std::nullopt) << bad;
  }
}

TEST(IniFile, TheStationSectionWithoutRegardToCaseAndUnderTheCommandLine) {
  std::string error;
  std::vector<Setting> settings = settingsFromIni(
      "; my station\n[other]\nlatitude=1\n[Station]\nLatitude = 48.1\nlongitude=20\n"
      "rotctld=rot:4533\r\nverbose=no\n",
      "station.ini", error);
  ASSERT_EQ(error, "");
  EXPECT_EQ(settings.front().origin, "station.ini: latitude");
  const CommandLine line = parseCommandLine({"--latitude", "-10"});
  settings.insert(settings.end(), line.settings.begin(), line.settings.end());
  const Options o = applied(settings);
  EXPECT_EQ(std::tie(o.latitude, o.longitude), std::tuple(-10.0, 20.0));
  EXPECT_EQ(o.rotctld, (Endpoint{"rot", 4533}));
  EXPECT_FALSE(o.verbose);
  // Unknown keys, keys that are not options of the file, and lines without a key are refused.
  EXPECT_TRUE(settingsFromIni("[station]\n\nrigctl=localhost\n", "s.ini", error).empty());
  EXPECT_EQ(error, "s.ini line 3: \"rigctl\" is not a station option");
  for (const char* text : {"[station]\nconfig=/etc/other.ini\n", "[station]\njust text\n"}) {
    error.clear();
    settingsFromIni(text, "s.ini", error);
    EXPECT_NE(error, "") << text;
  }
  EXPECT_EQ(defaultConfigFile("/x/cfg", "/home/op"), "/x/cfg/orbelle-station.ini");
  EXPECT_EQ(defaultConfigFile("", "/home/op"), "/home/op/.config/orbelle-station.ini");
  EXPECT_EQ(defaultConfigFile("", ""), "");
}

TEST(Options, HelpDocumentsEveryOptionAndEveryOptionItDocumentsParses) {
  const std::string help = helpText();
  std::istringstream names(
      "config call latitude longitude max-dx-mi utc-offset rotctld rotator-stop rigctld cluster "
      "cluster-password cluster-command wsjtx bands modes dx-continents spotter-continents "
      "max-age dedupe cty verbose help version");
  for (std::string name; names >> name;) {
    const std::string head = "\n  --" + name;
    EXPECT_TRUE(help.find(head + " ") != std::string::npos ||
                help.find(head + "\n") != std::string::npos)
        << name;
  }
  std::size_t at = 0;
  int documented = 0;
  while ((at = help.find("\n  --", at)) != std::string::npos) {
    at += 5;
    const std::size_t end = help.find_first_of(" \n", at);
    const std::string name = help.substr(at, end - at);
    const bool flag = help[end] == '\n';
    std::vector<std::string> arguments{"--" + name};
    if (!flag) arguments.push_back(name == "call" ? "K1ABC" : "1");
    EXPECT_EQ(parseCommandLine(arguments).error, "") << name;
    ++documented;
  }
  EXPECT_EQ(documented, 23);
}

}  // namespace
}  // namespace orbelle::station
