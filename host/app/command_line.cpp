#include "command_line.hpp"

#include <stdexcept>

namespace foxhost::app {

const char *const kUsage =
    "usage: foxhost [--library PATH]... [--virtual-clock] [-e COMMAND]... [SCRIPT]\n"
    "  --library PATH   load an extension library (SET LIBRARY TO PATH ADDITIVE)\n"
    "  --virtual-clock  libraries run on a virtual clock that advances as it is read\n"
    "  -e COMMAND       run a command; an expression on its own prints its value\n"
    "  SCRIPT           run a script file; stops at its first error\n"
    "Without -e or SCRIPT, commands are read from standard input at a prompt.\n";

CommandLine parseCommandLine(const std::vector<std::string> &args) {
  CommandLine cl;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &a = args[i];
    const auto value = [&](const char *option) -> const std::string & {
      if (i + 1 >= args.size()) throw std::invalid_argument(std::string(option) + " needs a value");
      return args[++i];
    };
    if (a == "--library" || a == "-l") {
      cl.libraries.push_back(value("--library"));
    } else if (a.rfind("--library=", 0) == 0) {
      cl.libraries.push_back(a.substr(10));
    } else if (a == "--virtual-clock") {
      cl.virtualClock = true;
    } else if (a == "-e") {
      cl.expressions.push_back(value("-e"));
    } else if (a == "-h" || a == "--help") {
      cl.help = true;
    } else if (a.size() > 1 && a[0] == '-') {
      throw std::invalid_argument("unknown option " + a);
    } else if (!cl.script.empty()) {
      throw std::invalid_argument("only one script can be run, got " + cl.script + " and " + a);
    } else {
      cl.script = a;
    }
  }
  return cl;
}

}  // namespace foxhost::app
