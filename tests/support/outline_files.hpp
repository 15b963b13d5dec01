#pragma once

// Small outline files for a map under test: each holds `polylines` closed one-degree squares near
// (10 N, 20 E), so that a pass lets events run once per polyline.

#include <QString>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "render/outline_records.hpp"

namespace orbelle::test {

// Writes the six outline files into `folder`, leaving out the one named `skip` (whose missing
// file the pass then reports).
inline void writeOutlineFiles(const QString& folder, int polylines, const std::string& skip = {}) {
  std::vector<render::OutlineRecord> records;
  for (int i = 0; i < polylines; ++i) {
    const auto lat = static_cast<std::int16_t>(600 + 6 * (i % 100));  // minutes of arc
    const auto lon = static_cast<std::int16_t>(1200 + 120 * (i / 100));
    const auto lat2 = static_cast<std::int16_t>(lat + 60);
    const auto lon2 = static_cast<std::int16_t>(lon + 60);
    records.insert(
        records.end(),
        {{1001, lat, lon}, {1, lat2, lon}, {1, lat2, lon2}, {1, lat, lon2}, {1, lat, lon}});
  }
  records.push_back({0, 0, 0});
  const std::vector<std::byte> bytes = render::encodeOutlineRecords(records);
  for (const char* name :
       {"state.pnt", "country.pnt", "coast.velapnt", "island.pnt", "lake.pnt", "river.pnt"}) {
    if (skip == name) continue;
    std::ofstream out((folder + QLatin1Char('/') + QLatin1String(name)).toStdString(),
                      std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
}

}  // namespace orbelle::test
