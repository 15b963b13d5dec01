#include "form_settings.hpp"

namespace orbelle::shell {

SettingsReader::SettingsReader(std::string file, MessageSink say)
    : file_(std::move(file)), say_(std::move(say)) {}

Variant SettingsReader::read(const char* key, const Variant& def) const {
  return GET_INI(file_, kSettingsSection, key, def, /*keepCase=*/true, say_);
}

double SettingsReader::readDouble(const char* key, double def) const {
  const Variant v = read(key, Variant(def));
  const double* d = v.getIf<double>();
  return d ? *d : def;
}

float SettingsReader::readSingle(const char* key, float def) const {
  const Variant v = read(key, Variant(def));
  const float* f = v.getIf<float>();
  return f ? *f : def;
}

std::int16_t SettingsReader::readInteger(const char* key, std::int16_t def) const {
  const Variant v = read(key, Variant(def));
  const std::int16_t* i = v.getIf<std::int16_t>();
  return i ? *i : def;
}

bool SettingsReader::readBoolean(const char* key, bool def) const {
  const Variant v = read(key, Variant(def));
  const bool* b = v.getIf<bool>();
  return b ? *b : def;
}

std::vector<std::pair<std::string, Variant>> unloadEntries(const UnloadValues& v) {
  return {
      {"LatHere", Variant(v.LatHere)},
      {"LonHere", Variant(v.LonHere)},
      {"UTCOffset", Variant(v.UTCOffset)},
      {"MaxDx", Variant(v.MaxDx)},
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
  };
}

int writeSettings(const std::string& file, const UnloadValues& values, const MessageSink& say) {
  // One replacement for all keys: a crash leaves the old settings or the new, never a mixture.
  return putIniEntries(file, kSettingsSection, unloadEntries(values), say);
}

}  // namespace orbelle::shell
