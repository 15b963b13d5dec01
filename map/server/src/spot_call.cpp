#include "server/spot_call.hpp"

#include <cstdint>

namespace orbelle::server {

spots::SpotArgs spotArgsOf(const QVariantList& a) {
  const auto text = [&a](int i) { return a.at(i).toString().toStdString(); };
  return {a.at(0).toDouble(),
          a.at(1).toDouble(),
          a.at(2).value<std::int32_t>(),
          a.at(3).toDouble(),
          text(4),
          text(5),
          text(6),
          text(7),
          text(8),
          text(9),
          a.at(10).toDouble(),
          a.at(11).toDouble(),
          a.at(12).toDouble(),
          text(13),
          a.at(14).toDouble()};
}

}  // namespace orbelle::server
