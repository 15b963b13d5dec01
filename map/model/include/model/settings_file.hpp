#pragma once

// The map's settings in ".\orbelle.ini", section "Settings": every key it reads at load, with
// its type and default, and the list it writes at unload, in order. Reads and writes go through
// the typed INI store (GET_INI / PUT_INI); no Qt. A new setting is one field here and one line
// in each of readSettings and settingsEntries.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "ini/ini_store.hpp"
#include "ini/variant.hpp"

namespace orbelle::model {

inline constexpr const char* kSettingsFile = "./orbelle.ini";
inline constexpr const char* kSettingsSection = "Settings";

// The stored settings. As defaults, the values a key that is absent gives; Left and Top default
// to the window's current position.
struct StoredSettings {
  double LatHere = 33.9;
  double LonHere = -84.179;
  // Read as a 16-bit integer (a fraction comes back rounded), written as a double. Without a
  // stored value (no key, or an empty one) the default is taken as it is, fraction and all:
  // the load passes the system's offset there.
  double UTCOffset = 5.0;
  // The file holds a UTC offset. When false the key is not written either, so that the next
  // start takes the system's offset again (after a change to or from daylight saving time).
  bool UTCOffsetStored = true;
  double MaxDx = 12437.565315561978;  // 3959 × π miles; written as the 16-bit radius
  bool ShowSun = true;
  bool ShowRivers = false;
  std::int16_t PixelWidth = 600;  // read as "Pixelwidth", written as "PixelWidth"
  std::int16_t MaxSpots = 25;
  bool ShowSpots = true;
  bool ShowSpotBy = true;
  bool ShowConnectingLines = true;
  float Left = 0.0f;  // window left, twips; read as "left", written as "Left"
  float Top = 0.0f;   // window top, twips
  bool AlwaysOnTop = false;
  bool ShowCalls = true;   // the spot's call beside each spot marker
  bool ShadeNight = true;  // darken the night side of the map under the sun and gray line
};

// Every key read in the order of the load (every read keeps the text's case). An absent file or
// key gives the default; the store's messages go to `say`.
StoredSettings readSettings(const std::string& file, const StoredSettings& defaults,
                            const MessageSink& say);

// The keys and typed values in the order they are written.
std::vector<std::pair<std::string, Variant>> settingsEntries(const StoredSettings& values);

// Writes every entry in one replacement of the file; an entry that would break the file's layout
// is skipped and the rest are still written. Returns the number of entries not written (all of
// them when the file could not be read or replaced).
int writeSettings(const std::string& file, const StoredSettings& values, const MessageSink& say);

}  // namespace orbelle::model
