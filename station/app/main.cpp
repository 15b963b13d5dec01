// orbelle-station: the map as a working station without a logging program. See --help and
// README.md.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDateTime>
#include <cstdio>
#include <string>
#include <vector>

#include "app/station.hpp"
#include "app/stderr_report.hpp"
#include "core/options.hpp"
#include "core/utc_offset.hpp"
#include "ini/atomic_file.hpp"
#include "shutdown/termination_signals.hpp"

using namespace orbelle;
using namespace orbelle::station;

namespace {

constexpr int kUsageError = 2;
constexpr int kStartFailure = 1;
// How long the end of the run waits for the map to release its object.
constexpr int kReleaseTimeoutMs = 5000;

int fail(int status, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", std::string(kProgramName).c_str(), text.c_str());
  if (status == kUsageError) std::fprintf(stderr, "Try --help.\n");
  return status;
}

// The options: the INI file first, then the command line. "" on success.
std::string readOptions(const CommandLine& line, Options& options) {
  std::vector<Setting> settings;
  const std::string file =
      line.configFile ? *line.configFile
                      : defaultConfigFile(qEnvironmentVariable("XDG_CONFIG_HOME").toStdString(),
                                          qEnvironmentVariable("HOME").toStdString());
  if (!file.empty()) {
    const FileText text = readTextFile(file);
    if (text.status == FileText::Status::Failed ||
        (text.status == FileText::Status::Absent && line.configFile)) {
      return "cannot read the options file " + file;
    }
    if (text.status == FileText::Status::Read) {
      std::string error;
      settings = settingsFromIni(text.text, file, error);
      if (!error.empty()) return error;
    }
  }
  settings.insert(settings.end(), line.settings.begin(), line.settings.end());
  std::string error;
  if (!applySettings(settings, options, error)) return error;
  return {};
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);

  const CommandLine line = parseCommandLine(arguments);
  if (!line.error.empty()) return fail(kUsageError, line.error);
  if (line.help) {
    std::fputs(helpText().c_str(), stdout);
    return 0;
  }
  if (line.version) {
    std::printf("%s %s\n", std::string(kProgramName).c_str(), ORBELLE_STATION_VERSION);
    return 0;
  }
  Options options;
  if (const std::string error = readOptions(line, options); !error.empty()) {
    return fail(kUsageError, error);
  }
  if (!options.utcOffset) {
    options.utcOffset = utcOffsetHours(QDateTime::currentDateTime().offsetFromUtc());
  }
  StderrReport report(options.verbose);

  CtyDat cty;
  if (options.cluster || options.wsjtx) {
    const FileText text = readTextFile(options.ctyFile);
    if (text.status != FileText::Status::Read) {
      return fail(kStartFailure, "cannot read the country file " + options.ctyFile +
                                     " (install the hamradio-files package or give --cty)");
    }
    CtyDat::ParseResult parsed = CtyDat::parse(text.text);
    if (parsed.table.entityCount() == 0) {
      return fail(kStartFailure, options.ctyFile + " holds no countries");
    }
    if (parsed.skippedRecords + parsed.skippedAliases > 0) {
      report.problem(options.ctyFile + ": " + std::to_string(parsed.skippedRecords) +
                     " records and " + std::to_string(parsed.skippedAliases) +
                     " prefixes skipped, first at " + parsed.firstProblem);
    }
    cty = std::move(parsed.table);
  }

  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    return fail(kStartFailure, "no session bus: " + bus.lastError().message().toStdString());
  }
  Station station(options, std::move(cty), bus, report, Station::Timing{});
  std::string error;
  if (!station.start(&error)) return fail(kStartFailure, error);

  onTerminationSignals(&app, [&station] {
    station.stop(kReleaseTimeoutMs);
    QCoreApplication::quit();
  });
  const int status = QCoreApplication::exec();
  if (const std::string summary = station.summary(); !summary.empty()) {
    std::fprintf(stderr, "%s: %s\n", std::string(kProgramName).c_str(), summary.c_str());
  }
  return status;
}
