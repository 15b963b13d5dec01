// Country files of any content: reading never fails hard, and every place found is a place.

#include <cmath>
#include <cstdlib>
#include <string>

#include "core/cty_dat.hpp"

using namespace orbelle::station;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const CtyDat::ParseResult parsed = CtyDat::parse(text);
  // Calls to look up: fixed ones, and words of the input itself.
  for (const std::string& call :
       {std::string("DL1ABC"), std::string("EA8/DL1ABC/P"), std::string("W1ABC/4"),
        std::string("KH6XX"), std::string(text.substr(0, 12)),
        std::string(text.substr(size / 2, 8))}) {
    const auto hit = parsed.table.locate(call);
    if (hit &&
        (!hit->entity || std::abs(hit->latitude) > 90.0 || std::abs(hit->longitude) > 180.0)) {
      std::abort();
    }
  }
  return 0;
}
