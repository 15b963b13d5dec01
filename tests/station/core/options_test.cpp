#include "core/options.hpp"

#include <gtest/gtest.h>

#include <sstream>

namespace orbelle::station {
namespace {

// The words of `text`, each ended by "|".
std::vector<std::string> words(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string word; std::getline(in, word, '|');) out.push_back(word);
  return out;
}

Options applied(const std::vector<Setting>& settings) {
  Options options;
  std::string error;
  EXPECT_TRUE(applySettings(settings, options, error)) << error;
  return options;
}

// A value after the name; --config and --version are not settings; each kind of mistake named.
TEST(CommandLine, ValuesAfterTheNameAndMistakesNamed) {
  const CommandLine line = parseCommandLine({"--latitude", "52.5", "--config", "/tmp/x.ini"});
  ASSERT_EQ(line.settings.size(), 1u);
  EXPECT_EQ(line.settings[0].origin + "=" + line.settings[0].value, "--latitude=52.5");
  EXPECT_EQ(line.configFile, "/tmp/x.ini");
  EXPECT_TRUE(parseCommandLine({"--version"}).version);
  const std::pair<std::vector<std::string>, const char*> mistakes[] = {
      {{"--lattitude", "5"}, "--lattitude"},
      {{"--latitude"}, "needs a value"},
      {{"--verbose=yes"}, "no value"},
      {{"52.5"}, "52.5"}};
  for (const auto& [arguments, part] : mistakes) {
    EXPECT_NE(parseCommandLine(arguments).error.find(part), std::string::npos) << part;
  }
}

// Every option in one of its forms; later lists replace earlier ones; endpoints and their ports.
TEST(Options, ValuesAreTakenInTheirForms) {
  const CommandLine line = parseCommandLine(words(
      "--latitude=-33.9|--longitude=151.2|--max-dx-mi=12437|--utc-offset=-10|--rotctld=localhost|"
      "--rigctld=radio.lan:14532|--call=dl1abc|--cluster=[::1]:7373|--rotator-stop=South|"
      "--cluster-command=set/dx/filter; sh/dx 5|--cluster-command=set/page 0|--verbose|"
      "--cty=/data/cty.dat|--bands=20M, 40m 6m|--modes=cw,ft8|--dx-continents=sa|"
      "--spotter-continents=EU,NA|--max-age=90s|--dedupe=0|--wsjtx=2237|"));
  ASSERT_EQ(line.error, "");
  const Options o = applied(line.settings);
  EXPECT_EQ(std::tie(o.latitude, o.longitude, o.maxDxMi, o.utcOffset, o.maxAgeMs, o.dedupeMs),
            std::tuple(-33.9, 151.2, 12437, -10, 90'000, 0));
  EXPECT_EQ(std::tie(o.rotctld, o.rigctld, o.wsjtx),
            std::tuple(Endpoint{"localhost", 4533}, Endpoint{"radio.lan", 14532},
                       Endpoint{"127.0.0.1", 2237}));
  EXPECT_EQ(o.cluster->text() + " " + o.call, "[::1]:7373 DL1ABC");
  EXPECT_EQ(o.rotatorRange, RotatorRange::FromMinus180To180);
  EXPECT_EQ(o.clusterCommands,
            (std::vector<std::string>{"set/dx/filter", "sh/dx 5", "set/page 0"}));
  EXPECT_TRUE(o.verbose);
  EXPECT_EQ(o.ctyFile, "/data/cty.dat");
  using List = std::vector<std::string>;
  EXPECT_EQ(
      std::tie(o.filter.bands, o.filter.modes, o.filter.dxContinents, o.filter.spotterContinents),
      std::tuple(List{"20m", "40m", "6m"}, List{"CW", "FT8"}, List{"SA"}, List{"EU", "NA"}));
  EXPECT_TRUE(applied({{"bands", "20m", ""}, {"bands", "all", ""}}).filter.bands.empty());
  EXPECT_EQ(applied({{"wsjtx", "[ff02::1]:2237", ""}}).wsjtx, (Endpoint{"ff02::1", 2237}));
  EXPECT_EQ(applied({{"rotctld", "::1", ""}}).rotctld, (Endpoint{"::1", 4533}));
  EXPECT_EQ(applied({{"rigctld", "host:65535", ""}}).rigctld, (Endpoint{"host", 65535}));
  EXPECT_EQ(applied({{"call", "K1ABC", ""}, {"cluster", "dx.example.org", ""}}).cluster->port,
            kDefaultClusterPort);
}

// A refusal starts with where the value came from and the value itself.
TEST(Options, ValuesOutOfBoundsAreRefusedNamingWhereTheyCameFrom) {
  for (const std::string& argument :
       words("latitude=90.5|max-dx-mi=99|max-dx-mi=2000.5|utc-offset=25|call=not a call|"
             "rotator-stop=east|verbose=maybe|cty= |bands=21m|modes=C-W|dx-continents=EUR|"
             "max-age=25h|max-age=-1|wsjtx=0|wsjtx=localhost:2237|wsjtx=239.255.0.1|rotctld=host:|"
             "rotctld=:4533|rotctld=host:65536|rotctld=host:+5|rigctld=[::1|rigctld=[::1]x|"
             "rigctld=[::1]:|rigctld=my host:5|")) {
    const std::size_t equals = argument.find('=');
    Options options;
    std::string error;
    EXPECT_FALSE(applySettings({{argument.substr(0, equals), argument.substr(equals + 1), "here"}},
                               options, error))
        << argument;
    EXPECT_EQ(error.rfind("here \"" + argument.substr(equals + 1) + "\" ", 0), 0u) << error;
  }
  Options options;
  std::string error;
  EXPECT_FALSE(applySettings({{"cluster", "dx.example.org", ""}}, options, error));
  EXPECT_NE(error.find("--cluster needs --call"), std::string::npos) << error;
}

// The [station] section, any case, under the command line; other keys refused; the default file.
TEST(IniFile, TheStationSectionWithoutRegardToCaseAndUnderTheCommandLine) {
  std::string error;
  std::vector<Setting> settings = settingsFromIni(
      "; my station\n[other]\nlatitude=1\n[Station]\nLatitude "
      "= 48.1\nlongitude=20\n"
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

// --help lists the 23 options; every line of it fits in 79 columns.
TEST(Options, TheHelpListsEveryOptionWrapped) {
  EXPECT_TRUE(parseCommandLine({"--help"}).help);
  std::istringstream help(helpText());
  int options = 0;
  for (std::string line; std::getline(help, line);) {
    EXPECT_LE(line.size(), 79u) << line;
    options += line.rfind("  --", 0) == 0;
  }
  EXPECT_EQ(options, 23);
}

}  // namespace
}  // namespace orbelle::station
