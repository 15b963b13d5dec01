#include "app/stderr_report.hpp"

#include <ctime>

#include "core/options.hpp"

namespace orbelle::station {

void StderrReport::write(std::string_view text) {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char stamp[16];
  std::strftime(stamp, sizeof stamp, "%H:%M:%SZ", &utc);
  std::fprintf(out_, "%.*s %s %.*s\n", static_cast<int>(kProgramName.size()), kProgramName.data(),
               stamp, static_cast<int>(text.size()), text.data());
  std::fflush(out_);
}

}  // namespace orbelle::station
