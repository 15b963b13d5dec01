#include "server/spot_call.hpp"

#include <cstdint>

#include "shell/form1.hpp"

namespace orbelle::server {

void addSpot(shell::Form1& form, const QVariantList& a) {
  form.AddSpot(a.at(0).toDouble(), a.at(1).toDouble(), a.at(2).value<std::int32_t>(),
               a.at(3).toDouble(), a.at(4).toString(), a.at(5).toString(), a.at(6).toString(),
               a.at(7).toString(), a.at(8).toString(), a.at(9).toString(), a.at(10).toDouble(),
               a.at(11).toDouble(), a.at(12).toDouble(), a.at(13).toString(), a.at(14).toDouble());
}

}  // namespace orbelle::server
