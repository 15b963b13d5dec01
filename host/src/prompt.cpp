// The interactive prompt of foxhost.
#include <csignal>

#include "foxhost/host.hpp"
#include "host_impl.hpp"
#include "script.hpp"
#include "signals.hpp"

namespace foxhost {

void Host::runPrompt(std::istream &in, std::ostream &errors, std::ostream *prompt) {
  ScriptReader reader(in);
  ScriptCommand command;
  for (;;) {
    if (prompt) *prompt << "> " << std::flush;
    if (!reader.next(command)) break;
    try {
      executeInteractive(command.text);
    } catch (const std::exception &e) {  // HostError, or the host itself out of memory
      errors << "Error: " << e.what() << std::endl;
    }
    // What was printed has gone to the output stream already; keep no copy of a long session.
    if (impl_->options.out) impl_->output.clear();
    if (impl_->quitRequested) break;
    // Ctrl-C stopped what the command was doing; the prompt goes on. Other signals end it.
    if (signals::pending() == SIGINT) signals::clear();
    if (signals::pending()) break;
  }
  if (prompt) *prompt << std::endl;
}

}  // namespace foxhost
