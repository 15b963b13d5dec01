// foxhost: loads extension libraries and runs commands of the host's language from -e
// arguments, a script file or an interactive prompt.
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "command_line.hpp"
#include "foxhost/host.hpp"

namespace {

// Runs what the command line asks for; returns the exit status.
int run(const foxhost::app::CommandLine &cl, foxhost::Host &host) {
  try {
    for (const std::string &lib : cl.libraries) host.loadLibrary(lib, true);
    for (const std::string &command : cl.expressions) {
      host.executeInteractive(command);
      if (host.quitRequested() || foxhost::Host::pendingSignal()) return 0;
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
  if (cl.expressions.empty()) {
    host.runPrompt(std::cin, std::cerr, isatty(STDIN_FILENO) ? &std::cout : nullptr);
  }
  return 0;
}

}  // namespace

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
  // Ctrl-C, SIGTERM and SIGHUP stop the library call in progress instead of killing the
  // process in the middle of it: a transmitter is never left keyed, and the libraries are
  // unloaded (their files written) before the process ends as the signal asked.
  foxhost::Host::catchSignals();
  foxhost::Host::Options options;
  options.virtualClock = cl.virtualClock;
  options.out = &std::cout;
  auto host = std::make_unique<foxhost::Host>(options);
  // Keys come from a terminal, or from standard input when it carries no commands.
  const bool commandsFromStdin = cl.expressions.empty() && cl.script.empty();
  host->useKeySource(isatty(STDIN_FILENO) ? foxhost::KeySource::Terminal
                     : commandsFromStdin  ? foxhost::KeySource::None
                                          : foxhost::KeySource::Stream);
  const int status = run(cl, *host);
  host.reset();
  if (const int sig = foxhost::Host::pendingSignal()) {
    std::cout.flush();
    std::signal(sig, SIG_DFL);
    std::raise(sig);
  }
  return status;
}
