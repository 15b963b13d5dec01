// The command line of the foxhost program.
#pragma once

#include <string>
#include <vector>

namespace foxhost::app {

struct CommandLine {
  std::vector<std::string> libraries;    // --library PATH, loaded in order
  bool virtualClock = false;             // --virtual-clock
  std::vector<std::string> expressions;  // -e EXPR, run in order
  std::string script;                    // SCRIPT
  bool help = false;                     // -h, --help
};

// Throws std::invalid_argument with a message naming the fault.
CommandLine parseCommandLine(const std::vector<std::string> &args);

extern const char *const kUsage;

}  // namespace foxhost::app
