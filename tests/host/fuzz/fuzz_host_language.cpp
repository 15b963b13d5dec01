// Fuzz target for the command language: the input runs as a prompt line, as an expression and
// as a script, with a number, a text box and a form in variables x, o and f for it to use. Only
// HostError may come out; anything else, a crash or a handle left behind, is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "foxhost/host.hpp"
#include "text.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  // Loading libraries would run arbitrary shared objects of the machine.
  if (foxhost::toUpper(input).find("LIBRARY") != std::string::npos) return 0;
  foxhost::Host host;
  host.execute("x = 1");
  host.execute("o = CREATEOBJECT('textbox')");
  host.execute("f = CREATEOBJECT('form')");
  try {
    host.executeInteractive(input);
  } catch (const foxhost::HostError &) {
  }
  try {
    host.evaluate(input);
  } catch (const foxhost::HostError &) {
  }
  std::istringstream script(input);
  try {
    host.runScript(script, "fuzz.prg");
  } catch (const foxhost::HostError &) {
  }
  if (host.handleCounters().live != 0) std::abort();
  return 0;
}
