#include "model/settings_file.hpp"

#include <cmath>

#include "geometry/rounding.hpp"

namespace orbelle::model {
namespace {

class Reader {
 public:
  Reader(const std::string& file, const MessageSink& say) : file_(file), say_(say) {}

  template <typename T>
  T read(const char* key, T def) const {
    const Variant v = GET_INI(file_, kSettingsSection, key, Variant(def), /*keepCase=*/true, say_);
    const T* value = v.getIf<T>();
    return value ? *value : def;
  }

 private:
  const std::string& file_;
  const MessageSink& say_;
};

// The UTC offset's default as the 16-bit key holds it: nearest hour, ties to even.
std::int16_t wholeHours(double hours) {
  if (!(std::fabs(hours) < 32767.0)) return 0;
  return static_cast<std::int16_t>(geo::roundHalfEven(hours));
}

}  // namespace

StoredSettings readSettings(const std::string& file, const StoredSettings& d,
                            const MessageSink& say) {
  const Reader ini(file, say);
  StoredSettings s;
  s.LatHere = ini.read("LatHere", d.LatHere);
  s.LonHere = ini.read("LonHere", d.LonHere);
  s.UTCOffsetStored = !ini.read("UTCOffset", std::string()).empty();
  s.UTCOffset = s.UTCOffsetStored ? ini.read("UTCOffset", wholeHours(d.UTCOffset)) : d.UTCOffset;
  s.MaxDx = ini.read("MaxDx", d.MaxDx);
  s.ShowSun = ini.read("ShowSun", d.ShowSun);
  s.ShowRivers = ini.read("ShowRivers", d.ShowRivers);
  s.PixelWidth = ini.read("Pixelwidth", d.PixelWidth);
  s.MaxSpots = ini.read("MaxSpots", d.MaxSpots);
  s.ShowSpots = ini.read("ShowSpots", d.ShowSpots);
  s.ShowSpotBy = ini.read("ShowSpotBy", d.ShowSpotBy);
  s.ShowConnectingLines = ini.read("ShowConnectingLines", d.ShowConnectingLines);
  s.Top = ini.read("Top", d.Top);
  s.Left = ini.read("left", d.Left);
  s.AlwaysOnTop = ini.read("AlwaysOnTop", d.AlwaysOnTop);
  s.ShadeNight = ini.read("ShadeNight", d.ShadeNight);
  s.ShowCalls = ini.read("ShowCalls", d.ShowCalls);
  return s;
}

std::vector<std::pair<std::string, Variant>> settingsEntries(const StoredSettings& v) {
  std::vector<std::pair<std::string, Variant>> entries = {
      {"LatHere", Variant(v.LatHere)},
      {"LonHere", Variant(v.LonHere)},
      {"UTCOffset", Variant(v.UTCOffset)},
      {"MaxDx", Variant(static_cast<std::int16_t>(v.MaxDx))},
      {"ShowSun", Variant(v.ShowSun)},
      {"ShowRivers", Variant(v.ShowRivers)},
      {"MaxSpots", Variant(v.MaxSpots)},
      {"ShowSpots", Variant(v.ShowSpots)},
      {"ShowSpotBy", Variant(v.ShowSpotBy)},
      {"ShowConnectingLines", Variant(v.ShowConnectingLines)},
      {"Left", Variant(v.Left)},
      {"Top", Variant(v.Top)},
      {"PixelWidth", Variant(v.PixelWidth)},
      {"AlwaysOnTop", Variant(v.AlwaysOnTop)},
      {"ShadeNight", Variant(v.ShadeNight)},
      {"ShowCalls", Variant(v.ShowCalls)},
  };
  if (!v.UTCOffsetStored) {  // the system's offset: not stored
    std::erase_if(entries, [](const auto& entry) { return entry.first == "UTCOffset"; });
  }
  return entries;
}

int writeSettings(const std::string& file, const StoredSettings& values, const MessageSink& say) {
  // One replacement for all keys: a crash leaves the old settings or the new, never a mixture.
  return putIniEntries(file, kSettingsSection, settingsEntries(values), say);
}

}  // namespace orbelle::model
