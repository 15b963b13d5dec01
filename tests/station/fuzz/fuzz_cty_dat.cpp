// Country files of any content: reading never fails hard, and every place found is a place.

#include <cmath>
#include <string>

#include "core/cty_dat.hpp"
#include "fuzz/fuzz_support.hpp"

using namespace orbelle::station;
using namespace std::string_view_literals;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const CtyDat::ParseResult parsed = CtyDat::parse(text);
  // Calls to look up: fixed ones, and words of the input itself.
  for (const std::string_view call : {"DL1ABC"sv, "EA8/DL1ABC/P"sv, "W1ABC/4"sv, "KH6XX"sv,
                                      text.substr(0, 12), text.substr(size / 2, 8)}) {
    const auto hit = parsed.table.locate(call);
    fuzz::check(!hit || (hit->entity && std::abs(hit->latitude) <= 90.0 &&
                         std::abs(hit->longitude) <= 180.0));
  }
  return 0;
}
