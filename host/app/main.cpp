// foxhost: loads extension libraries and runs commands of the host's language from -e
// arguments, a script file or an interactive prompt.
#include <unistd.h>

#include <fstream>
#include <iostream>
#include <stdexcept>

#include "command_line.hpp"
#include "foxhost/host.hpp"

int main(int argc, char **argv) {
  foxhost::app::CommandLine cl;
  try {
    cl = foxhost::app::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument &e) {
    std::cerr << "foxhost: " << e.what() << "\n" << foxhost::app::kUsage;
    return 2;
  }
  if (cl.help) {
    std::cout << foxhost::app::kUsage;
    return 0;
  }
  foxhost::Host::Options options;
  options.virtualClock = cl.virtualClock;
  options.out = &std::cout;
  foxhost::Host host(options);
  const bool terminal = isatty(STDIN_FILENO) != 0;
  host.useTerminal(terminal);
  try {
    for (const std::string &lib : cl.libraries) host.loadLibrary(lib, true);
    for (const std::string &command : cl.expressions) {
      host.executeInteractive(command);
      if (host.quitRequested()) return 0;
    }
  } catch (const std::exception &e) {
    std::cerr << "Error: " << e.what() << std::endl;
    return 1;
  }
  if (!cl.script.empty()) {
    std::ifstream in(cl.script);
    if (!in) {
      std::cerr << "Error: script file " << cl.script << " cannot be read" << std::endl;
      return 1;
    }
    try {
      host.runScript(in, cl.script);
    } catch (const foxhost::HostError &e) {
      std::cerr << e.what() << std::endl;  // names the script and the line
      return 1;
    } catch (const std::exception &e) {
      std::cerr << "Error: " << e.what() << std::endl;
      return 1;
    }
    return 0;
  }
  if (cl.expressions.empty()) host.runPrompt(std::cin, std::cerr, terminal ? &std::cout : nullptr);
  return 0;
}
