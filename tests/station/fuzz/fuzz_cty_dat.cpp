// Country files of any content: reading never fails hard, and every place found is a place.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/cty_dat.hpp"

using namespace orbelle::station;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const CtyDat::ParseResult parsed = CtyDat::parse(text);
  // Calls to look up: fixed ones, and the first words of the input itself.
  std::string calls[] = {"DL1ABC",
                         "EA8/DL1ABC/P",
                         "W1ABC/4",
                         "KH6XX",
                         std::string(text.substr(0, 12)),
                         std::string(text.substr(size / 2, 8))};
  for (const std::string& call : calls) {
    if (const auto hit = parsed.table.locate(call)) {
      if (!hit->entity || hit->latitude < -90.0 || hit->latitude > 90.0 ||
          hit->longitude < -180.0 || hit->longitude > 180.0) {
        std::abort();
      }
    }
  }
  return 0;
}
