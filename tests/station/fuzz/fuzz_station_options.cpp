// Options files and command lines of any content: each is taken or refused with a message.

#include "core/options.hpp"
#include "fuzz/fuzz_support.hpp"

using namespace orbelle::station;
using fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::vector<Setting> settings = settingsFromIni(text, "fuzz.ini", error);
  Options options;
  check(!error.empty() || applySettings(settings, options, error) || !error.empty());

  // The same bytes as a command line, arguments separated by NUL bytes.
  std::vector<std::string> arguments;
  for (std::size_t start = 0, end = 0; start <= text.size(); start = end + 1) {
    end = std::min(text.find('\0', start), text.size());
    arguments.emplace_back(text.substr(start, end - start));
  }
  const CommandLine line = parseCommandLine(arguments);
  if (!line.error.empty()) return 0;
  Options fromLine;
  std::string lineError;
  check(applySettings(line.settings, fromLine, lineError) || !lineError.empty());
  check(!fromLine.maxDxMi ||
        (*fromLine.maxDxMi >= kMinMaxDxMi && *fromLine.maxDxMi <= kMaxMaxDxMi));
  return 0;
}
