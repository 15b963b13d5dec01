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

std::string refusal(const std::vector<Setting>& settings) {
  Options options;
  std::string error;
  EXPECT_FALSE(applySettings(settings, options, error));
  return error;
}

TEST(CommandLine, ValuesAfterTheNameOrAnEqualsSign) {
  const CommandLine line = parseCommandLine(
      {"--latitude", "52.5", "--longitude=-1.5", "--verbose", "--config", "/tmp/x.ini"});
  ASSERT_EQ(line.error, "");
  ASSERT_EQ(line.settings.size(), 3u);
  EXPECT_EQ(line.settings[0].name, "latitude");
  EXPECT_EQ(line.settings[0].value, "52.5");
  EXPECT_EQ(line.settings[1].value, "-1.5");
  EXPECT_EQ(line.settings[2].name, "verbose");
  EXPECT_EQ(line.configFile, "/tmp/x.ini");
  EXPECT_FALSE(line.help);
  EXPECT_TRUE(parseCommandLine({"--help"}).help);
  EXPECT_TRUE(parseCommandLine({"--version"}).version);
}

TEST(CommandLine, MistakesAreNamed) {
  EXPECT_NE(parseCommandLine({"--lattitude", "5"}).error.find("--lattitude"), std::string::npos);
  EXPECT_NE(parseCommandLine({"--latitude"}).error.find("needs a value"), std::string::npos);
  EXPECT_NE(parseCommandLine({"--verbose=yes"}).error.find("no value"), std::string::npos);
  EXPECT_NE(parseCommandLine({"52.5"}).error.find("52.5"), std::string::npos);
  EXPECT_NE(parseCommandLine({"-v"}).error, "");
}

TEST(Options, PositionRadiusAndOffsetWithinTheirBounds) {
  const Options o = applied({{"latitude", "-33.9", "a"},
                             {"longitude", "151.2", "b"},
                             {"max-dx-mi", "12437", "c"},
                             {"utc-offset", "-10", "d"}});
  EXPECT_EQ(o.latitude, -33.9);
  EXPECT_EQ(o.longitude, 151.2);
  EXPECT_EQ(o.maxDxMi, 12437);
  EXPECT_EQ(o.utcOffset, -10);
  EXPECT_NE(refusal({{"latitude", "90.5", "--latitude"}}).find("--latitude \"90.5\""),
            std::string::npos);
  refusal({{"longitude", "east", "x"}});
  refusal({{"max-dx-mi", "99", "x"}});
  refusal({{"max-dx-mi", "2000.5", "x"}});
  refusal({{"utc-offset", "25", "x"}});
}

TEST(Options, DaemonsAndClusterEndpoints) {
  Options o = applied({{"rotctld", "localhost", "a"},
                       {"rigctld", "radio.lan:14532", "b"},
                       {"call", "dl1abc", "c"},
                       {"cluster", "[::1]:7373", "d"}});
  EXPECT_EQ(o.rotctld, (Endpoint{"localhost", 4533}));
  EXPECT_EQ(o.rigctld, (Endpoint{"radio.lan", 14532}));
  EXPECT_EQ(o.cluster, (Endpoint{"::1", 7373}));
  EXPECT_EQ(o.cluster->text(), "[::1]:7373");
  EXPECT_EQ(o.call, "DL1ABC");
  EXPECT_EQ(applied({{"call", "K1ABC", ""}, {"cluster", "dx.example.org", ""}}).cluster->port,
            kDefaultClusterPort);
  EXPECT_NE(refusal({{"cluster", "dx.example.org", "--cluster"}}).find("--call"),
            std::string::npos);
  refusal({{"call", "not a call", "x"}});
}

TEST(Options, EndpointText) {
  EXPECT_EQ(parseEndpoint("::1", 4533), (Endpoint{"::1", 4533}));
  EXPECT_EQ(parseEndpoint("127.0.0.1:1", 4533), (Endpoint{"127.0.0.1", 1}));
  EXPECT_EQ(parseEndpoint("host:65535", 1), (Endpoint{"host", 65535}));
  for (const char* bad : {"", "host:", ":4533", "host:0", "host:65536", "host:+5", "host:-5",
                          "host:x", "[::1", "[::1]x", "[::1]:", "[]:5", "my host:5"}) {
    EXPECT_EQ(parseEndpoint(bad, 4533), std::nullopt) << bad;
  }
  EXPECT_EQ((Endpoint{"localhost", 4532}).text(), "localhost:4532");
}

TEST(Options, RotatorStopClusterCommandsAndFlags) {
  const Options o = applied({{"rotator-stop", "South", ""},
                             {"cluster-command", "set/dx/filter; sh/dx 5", ""},
                             {"cluster-command", "set/page 0", ""},
                             {"verbose", "yes", ""},
                             {"cty", "/data/cty.dat", ""}});
  EXPECT_EQ(o.rotatorRange, RotatorRange::FromMinus180To180);
  EXPECT_EQ(o.clusterCommands,
            (std::vector<std::string>{"set/dx/filter", "sh/dx 5", "set/page 0"}));
  EXPECT_TRUE(o.verbose);
  EXPECT_EQ(o.ctyFile, "/data/cty.dat");
  refusal({{"rotator-stop", "east", ""}});
  refusal({{"verbose", "maybe", ""}});
  refusal({{"cty", " ", ""}});
}

TEST(Options, SpotFiltersTimesAndTheWsjtxAddress) {
  const Options o = applied({{"bands", "20M, 40m 6m", ""},
                             {"modes", "cw,ft8", ""},
                             {"dx-continents", "sa", ""},
                             {"spotter-continents", "EU,NA", ""},
                             {"max-age", "90s", ""},
                             {"dedupe", "0", ""},
                             {"wsjtx", "2237", ""}});
  EXPECT_EQ(o.filter.bands, (std::vector<std::string>{"20m", "40m", "6m"}));
  EXPECT_EQ(o.filter.modes, (std::vector<std::string>{"CW", "FT8"}));
  EXPECT_EQ(o.filter.dxContinents, std::vector<std::string>{"SA"});
  EXPECT_EQ(o.filter.spotterContinents, (std::vector<std::string>{"EU", "NA"}));
  EXPECT_EQ(o.maxAgeMs, 90'000);
  EXPECT_EQ(o.dedupeMs, 0);
  EXPECT_EQ(o.wsjtx, (Endpoint{"127.0.0.1", 2237}));
  // A later list replaces the earlier one; "all" takes everything.
  EXPECT_TRUE(applied({{"bands", "20m", ""}, {"bands", "all", ""}}).filter.bands.empty());
  EXPECT_EQ(applied({{"max-age", "30", ""}}).maxAgeMs, 30 * 60'000);
  EXPECT_EQ(applied({{"max-age", "1.5h", ""}}).maxAgeMs, 90 * 60'000);
  EXPECT_EQ(applied({{"wsjtx", "239.255.0.1:2237", ""}}).wsjtx, (Endpoint{"239.255.0.1", 2237}));
  EXPECT_EQ(applied({{"wsjtx", "[ff02::1]:2237", ""}}).wsjtx, (Endpoint{"ff02::1", 2237}));
  for (const Setting& bad : std::vector<Setting>{{"bands", "21m", ""},
                                                 {"modes", "C-W", ""},
                                                 {"dx-continents", "EUR", ""},
                                                 {"max-age", "25h", ""},
                                                 {"max-age", "-1", ""},
                                                 {"dedupe", "5x", ""},
                                                 {"wsjtx", "0", ""},
                                                 {"wsjtx", "localhost:2237", ""},
                                                 {"wsjtx", "239.255.0.1", ""}}) {
    refusal({bad});
  }
}

TEST(IniFile, StationSectionReadWithoutRegardToCase) {
  std::string error;
  const std::vector<Setting> settings = settingsFromIni(
      "; my station\n[other]\nlatitude=1\n[Station]\nLatitude = 48.1\nrotctld=rot:4533\r\n"
      "verbose=no\n",
      "station.ini", error);
  ASSERT_EQ(error, "");
  const Options o = applied(settings);
  EXPECT_EQ(o.latitude, 48.1);
  EXPECT_EQ(o.rotctld, (Endpoint{"rot", 4533}));
  EXPECT_FALSE(o.verbose);
  EXPECT_EQ(settings.front().origin, "station.ini: latitude");
}

TEST(IniFile, UnknownKeysAreRefusedWithTheirLine) {
  std::string error;
  EXPECT_TRUE(settingsFromIni("[station]\n\nrigctl=localhost\n", "s.ini", error).empty());
  EXPECT_EQ(error, "s.ini line 3: \"rigctl\" is not a station option");
  error.clear();
  settingsFromIni("[station]\nconfig=/etc/other.ini\n", "s.ini", error);
  EXPECT_NE(error, "");
  error.clear();
  settingsFromIni("[station]\njust text\n", "s.ini", error);
  EXPECT_NE(error, "");
}

TEST(IniFile, TheCommandLineWinsOverTheFile) {
  std::string error;
  std::vector<Setting> settings =
      settingsFromIni("[station]\nlatitude=10\nlongitude=20\n", "s.ini", error);
  const CommandLine line = parseCommandLine({"--latitude", "-10"});
  settings.insert(settings.end(), line.settings.begin(), line.settings.end());
  const Options o = applied(settings);
  EXPECT_EQ(o.latitude, -10.0);
  EXPECT_EQ(o.longitude, 20.0);
}

TEST(Options, DefaultConfigFile) {
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
