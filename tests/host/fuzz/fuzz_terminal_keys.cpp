// Fuzz target for the terminal key decoder: every byte is consumed once the input is final, and
// every key it gives is a byte or one of the host's key codes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>

#include "terminal.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::string bytes(reinterpret_cast<const char *>(data), size);
  std::deque<int32_t> keys;
  foxhost::decodeTerminalKeys(bytes, keys, false);
  foxhost::decodeTerminalKeys(bytes, keys, true);
  if (!bytes.empty()) std::abort();
  for (const int32_t k : keys) {
    if (k <= 0 || k > 255) std::abort();
  }
  return 0;
}
